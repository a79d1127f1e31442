#include "pictures/emfwriter.h"

#include <algorithm>
#include <cstring>

namespace brimble::pictures {

namespace {

void append32(QByteArray& out, qint32 v) {
    const quint32 u = quint32(v);
    const char b[4] = {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
    out.append(b, 4);
}

void set32(QByteArray& out, qsizetype at, qint32 v) {
    const quint32 u = quint32(v);
    char* p = out.data() + at;
    p[0] = char(u);
    p[1] = char(u >> 8);
    p[2] = char(u >> 16);
    p[3] = char(u >> 24);
}

} // namespace

EmfWriter::EmfWriter(QSize size, QSize frame) : size_(size.expandedTo(QSize(1, 1))), frame_(frame) {
    if (frame_.isEmpty())
        frame_ = QSize(int((qint64(size_.width()) * 2540 + 48) / 96),
                       int((qint64(size_.height()) * 2540 + 48) / 96));
}

void EmfWriter::begin(quint32 type) {
    recordStart_ = body_.size();
    append32(body_, qint32(type));
    append32(body_, 0); // size, set by end()
}

void EmfWriter::put(qint32 v) { append32(body_, v); }

void EmfWriter::end() {
    while ((body_.size() - recordStart_) % 4)
        body_.append('\0');
    set32(body_, recordStart_ + 4, qint32(body_.size() - recordStart_));
    ++records_;
}

void EmfWriter::record(quint32 type, std::initializer_list<qint32> values) {
    begin(type);
    for (qint32 v : values)
        put(v);
    end();
}

void EmfWriter::createPen(int h, int style, int width, QRgb c) {
    maxHandle_ = std::max(maxHandle_, h);
    record(38, {h, style, width, 0, colorRef(c)});
}

void EmfWriter::createBrush(int h, int style, QRgb c, int hatch) {
    maxHandle_ = std::max(maxHandle_, h);
    record(39, {h, style, colorRef(c), hatch});
}

void EmfWriter::createFont(int h, int height, int weight, bool italic, bool underline,
                           const QString& face, int escapement) {
    maxHandle_ = std::max(maxHandle_, h);
    begin(82); // EMR_EXTCREATEFONTINDIRECTW with a plain LOGFONTW
    put(h);
    put(height);
    put(0);
    put(escapement);
    put(escapement);
    put(weight);
    const char flags[8] = {char(italic), char(underline), 0, 1 /* default charset */, 0, 0, 0, 0};
    body_.append(flags, 8);
    char name[64] = {};
    const QString f = face.left(31);
    std::memcpy(name, f.utf16(), size_t(f.size()) * 2);
    body_.append(name, 64);
    end();
}

void EmfWriter::select(int h) { record(37, {h}); }
void EmfWriter::deleteObject(int h) { record(40, {h}); }
void EmfWriter::setBkMode(int mode) { record(18, {mode}); }
void EmfWriter::setBkColor(QRgb c) { record(25, {colorRef(c)}); }
void EmfWriter::setTextColor(QRgb c) { record(24, {colorRef(c)}); }
void EmfWriter::setTextAlign(int align) { record(22, {align}); }
void EmfWriter::setPolyFillMode(int mode) { record(19, {mode}); }
void EmfWriter::setRop2(int rop) { record(20, {rop}); }
void EmfWriter::saveDC() { record(33, {}); }
void EmfWriter::restoreDC(int relative) { record(34, {relative}); }
void EmfWriter::moveTo(QPoint p) { record(27, {p.x(), p.y()}); }
void EmfWriter::lineTo(QPoint p) { record(54, {p.x(), p.y()}); }

void EmfWriter::rectangle(const QRect& r) {
    record(43, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
}

void EmfWriter::ellipse(const QRect& r) {
    record(42, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
}

void EmfWriter::roundRect(const QRect& r, QSize c) {
    record(44, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), c.width(),
                c.height()});
}

void EmfWriter::arcLike(int type, const QRect& r, QPoint s, QPoint e) {
    record(quint32(type), {r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), s.x(),
                           s.y(), e.x(), e.y()});
}

QRect EmfWriter::boundsOf(const QVector<QPoint>& pts) {
    if (pts.isEmpty())
        return {};
    int l = pts[0].x(), t = pts[0].y(), r = l, b = t;
    for (const QPoint& p : pts) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        t = std::min(t, p.y());
        b = std::max(b, p.y());
    }
    return QRect(QPoint(l, t), QPoint(r, b));
}

void EmfWriter::points(const QVector<QPoint>& pts) {
    for (const QPoint& p : pts) {
        put(p.x());
        put(p.y());
    }
}

void EmfWriter::polygon(const QVector<QPoint>& pts) {
    const QRect b = boundsOf(pts);
    begin(3); // EMR_POLYGON
    put(b.left()), put(b.top()), put(b.right()), put(b.bottom());
    put(qint32(pts.size()));
    points(pts);
    end();
}

void EmfWriter::polyline(const QVector<QPoint>& pts) {
    const QRect b = boundsOf(pts);
    begin(4); // EMR_POLYLINE
    put(b.left()), put(b.top()), put(b.right()), put(b.bottom());
    put(qint32(pts.size()));
    points(pts);
    end();
}

void EmfWriter::polyPolygon(const QVector<QVector<QPoint>>& polys) {
    QVector<QPoint> all;
    for (const auto& p : polys)
        all += p;
    const QRect b = boundsOf(all);
    begin(8); // EMR_POLYPOLYGON
    put(b.left()), put(b.top()), put(b.right()), put(b.bottom());
    put(qint32(polys.size()));
    put(qint32(all.size()));
    for (const auto& p : polys)
        put(qint32(p.size()));
    points(all);
    end();
}

void EmfWriter::text(QPoint at, const QString& text) {
    begin(84); // EMR_EXTTEXTOUTW
    put(0), put(0), put(-1), put(-1); // bounds: not given
    put(1);                           // GM_COMPATIBLE
    const float scale = 0;
    qint32 s;
    std::memcpy(&s, &scale, 4);
    put(s), put(s);
    put(at.x()), put(at.y());
    put(qint32(text.size()));
    const qint32 offString = 76;
    const qint32 offDx = offString + qint32((text.size() * 2 + 3) / 4 * 4);
    put(offString);
    put(0);                           // options
    put(0), put(0), put(-1), put(-1); // no clipping rectangle
    put(offDx);
    body_.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    while ((body_.size() - recordStart_) % 4)
        body_.append('\0');
    for (int i = 0; i < text.size(); ++i)
        put(0); // no spacing given: the player uses the font's own advances
    end();
}

QByteArray EmfWriter::finish() {
    QByteArray out;
    constexpr qint32 kHeaderSize = 108;
    QByteArray eof;
    append32(eof, 14);
    append32(eof, 20);
    append32(eof, 0);
    append32(eof, 16);
    append32(eof, 20);
    const qint32 total = kHeaderSize + qint32(body_.size() + eof.size());
    append32(out, 1);
    append32(out, kHeaderSize);
    for (qint32 v : {0, 0, size_.width() - 1, size_.height() - 1}) // bounds, pixels
        append32(out, v);
    for (qint32 v : {0, 0, frame_.width(), frame_.height()}) // frame, 0.01 mm
        append32(out, v);
    append32(out, 0x464D4520);
    append32(out, 0x10000);
    append32(out, total);
    append32(out, qint32(records_ + 2));
    append32(out, maxHandle_ + 1); // handles (u16) and reserved (u16)
    append32(out, 0);              // no description
    append32(out, 0);
    append32(out, 0);              // no palette
    append32(out, 1920), append32(out, 1080); // reference device, pixels
    append32(out, 508), append32(out, 286);   // and millimetres: 96 dpi
    append32(out, 0), append32(out, 0), append32(out, 0); // no pixel format, no OpenGL
    append32(out, 508000), append32(out, 285750);         // micrometres
    out += body_;
    out += eof;
    return out;
}

} // namespace brimble::pictures
