// Windows metafiles are converted into enhanced metafiles, so that one renderer draws both and
// a memo stores them as enhanced metafiles. Coordinates are mapped to pixels here, from the
// placeable header or the window the metafile sets, so the result needs no mapping mode.

#include "pictures/emfwriter.h"
#include "pictures/metafile.h"
#include "pictures/picture.h"

#include <QPointF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

namespace brimble::pictures {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr int kMaxSide = 2000; // pixels, for a metafile that gives no physical size
constexpr size_t kMaxObjects = 0xFFFE;
constexpr double kFar = 1e7; // pixels: beyond any drawing

class Reader {
public:
    Reader(const QByteArray& b, qsizetype at, qsizetype end) : b_(b), at_(at), end_(end) {}
    bool has(qsizetype n) const { return at_ + n <= end_; }
    quint16 u16() {
        if (!has(2)) {
            at_ = end_;
            return 0;
        }
        const auto* p = reinterpret_cast<const uchar*>(b_.constData() + at_);
        at_ += 2;
        return quint16(p[0] | p[1] << 8);
    }
    qint16 s16() { return qint16(u16()); }
    quint32 u32() {
        const quint32 lo = u16();
        return lo | quint32(u16()) << 16;
    }
    QByteArray bytes(qsizetype n) {
        n = std::clamp<qsizetype>(n, 0, end_ - at_);
        const QByteArray r = b_.mid(at_, n);
        at_ += n;
        return r;
    }
    qsizetype pos() const { return at_; }

private:
    const QByteArray& b_;
    qsizetype at_, end_;
};

QRgb fromColorRef(quint32 c) { return qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)); }

struct Record {
    quint16 function = 0;
    qsizetype params = 0, end = 0;
};

class Converter {
public:
    explicit Converter(const QByteArray& wmf) : wmf_(wmf) {}

    QByteArray run() {
        qsizetype at = 0;
        QRectF box;
        double inch = 0;
        if (wmf_.size() >= 22) {
            Reader r(wmf_, 0, 22);
            if (r.u32() == kPlaceableKey) {
                r.u16();
                const double l = r.s16(), t = r.s16(), rt = r.s16(), b = r.s16();
                inch = r.u16();
                box = QRectF(QPointF(l, t), QPointF(rt, b)).normalized();
                at = 22;
            }
        }
        Reader h(wmf_, at, wmf_.size());
        const quint16 type = h.u16(), headerWords = h.u16();
        if (!h.has(14) || (type != 1 && type != 2) || headerWords != 9)
            throw PictureError(QStringLiteral("Invalid metafile: no Windows metafile header"));
        at += 18;
        scan(at);
        if (box.isEmpty())
            box = window_.isEmpty() ? extent_ : window_;
        if (box.isEmpty())
            throw PictureError(QStringLiteral("Invalid metafile: it draws nothing"));
        QSizeF px = inch > 0 ? box.size() * 96.0 / inch : box.size();
        if (inch <= 0 && std::max(px.width(), px.height()) > kMaxSide)
            px.scale(kMaxSide, kMaxSide, Qt::KeepAspectRatio);
        size_ = QSize(std::max(1, clamped(px.width())), std::max(1, clamped(px.height())));
        QSize frame;
        if (inch > 0)
            frame = QSize(clamped(box.width() * 2540 / inch), clamped(box.height() * 2540 / inch));
        placed_ = box;
        EmfWriter out(size_, frame);
        out_ = &out;
        window_ = box;
        setWindow(box);
        play(at);
        return out.finish();
    }

private:
    // Reads the records once for the window and the extent of the drawing.
    void scan(qsizetype at) {
        forEach(at, [this](const Record& rec) {
            Reader r(wmf_, rec.params, rec.end);
            switch (rec.function) {
            case 0x020B: { // SETWINDOWORG
                const int y = r.s16(), x = r.s16();
                window_.moveTopLeft(QPointF(x, y));
                break;
            }
            case 0x020C: { // SETWINDOWEXT
                const int y = r.s16(), x = r.s16();
                window_.setSize(QSizeF(x, y));
                break;
            }
            default:
                // Without a window or a placeable header, the drawing's size is guessed from
                // the largest numbers its records hold.
                for (int i = 0; i + 1 < (rec.end - rec.params) / 2; i += 2) {
                    const int a = r.s16(), b = r.s16();
                    extent_ |= QRectF(0, 0, std::abs(b) + 1, std::abs(a) + 1);
                }
            }
        });
        window_ = window_.normalized();
    }

    template <typename F> void forEach(qsizetype at, F&& f) {
        while (at + 6 <= wmf_.size()) {
            Reader r(wmf_, at, wmf_.size());
            const quint32 words = r.u32();
            Record rec;
            rec.function = r.u16();
            if (rec.function == 0 || words < 3 || qint64(words) * 2 > wmf_.size() - at)
                return;
            rec.params = at + 6;
            rec.end = at + qsizetype(words) * 2;
            f(rec);
            at = rec.end;
        }
    }

    void setWindow(const QRectF& w) {
        const QRectF win = w.isEmpty() ? placed_ : w;
        map_ = QTransform::fromTranslate(-win.left(), -win.top()) *
               QTransform::fromScale(size_.width() / win.width(), size_.height() / win.height());
    }
    // A tiny window can scale coordinates past what an integer holds.
    static int clamped(double v) { return int(std::lround(std::clamp(v, -kFar, kFar))); }
    QPoint pt(int x, int y) const {
        const QPointF p = map_.map(QPointF(x, y));
        return QPoint(clamped(p.x()), clamped(p.y()));
    }
    int len(int v) const { return clamped(std::abs(v * map_.m11())); }
    QRect rect(int l, int t, int r, int b) const {
        return QRect(pt(l, t), pt(r, b) - QPoint(1, 1)).normalized();
    }
    QVector<QPoint> points(Reader& r, int n) const {
        QVector<QPoint> pts;
        for (int i = 0; i < n && r.has(4); ++i) {
            const int x = r.s16(), y = r.s16();
            pts << pt(x, y);
        }
        return pts;
    }
    // WMF objects take the lowest free slot; the enhanced metafile's handles are slot + 1.
    // An enhanced metafile counts its handles in 16 bits: objects past that are not made.
    int newSlot() {
        const auto it = std::find(slots_.begin(), slots_.end(), false);
        if (it != slots_.end()) {
            *it = true;
            return int(it - slots_.begin()) + 1;
        }
        if (slots_.size() >= kMaxObjects)
            return 0;
        slots_.push_back(true);
        return int(slots_.size());
    }

    void play(qsizetype at) {
        forEach(at, [this](const Record& rec) { playOne(rec); });
    }

    void playOne(const Record& rec) {
        Reader r(wmf_, rec.params, rec.end);
        EmfWriter& o = *out_;
        switch (rec.function) {
        case 0x020B: { // SETWINDOWORG
            const int y = r.s16(), x = r.s16();
            window_.moveTopLeft(QPointF(x, y));
            setWindow(window_);
            break;
        }
        case 0x020C: { // SETWINDOWEXT
            const int y = r.s16(), x = r.s16();
            window_.setSize(QSizeF(x, y));
            setWindow(window_);
            break;
        }
        case 0x0201: o.setBkColor(fromColorRef(r.u32())); break;
        case 0x0209: o.setTextColor(fromColorRef(r.u32())); break;
        case 0x0102: o.setBkMode(r.u16()); break;
        case 0x0106: o.setPolyFillMode(r.u16()); break;
        case 0x0104: o.setRop2(r.u16()); break;
        case 0x012E: o.setTextAlign(r.u16()); break;
        case 0x001E: o.saveDC(); break;
        case 0x0127: o.restoreDC(r.s16()); break;
        case 0x0214: { // MOVETO
            const int y = r.s16(), x = r.s16();
            o.moveTo(pt(x, y));
            break;
        }
        case 0x0213: { // LINETO
            const int y = r.s16(), x = r.s16();
            o.lineTo(pt(x, y));
            break;
        }
        case 0x041B:   // RECTANGLE
        case 0x0418: { // ELLIPSE
            const int b = r.s16(), rt = r.s16(), t = r.s16(), l = r.s16();
            if (rec.function == 0x041B)
                o.rectangle(rect(l, t, rt, b));
            else
                o.ellipse(rect(l, t, rt, b));
            break;
        }
        case 0x061C: { // ROUNDRECT
            const int ch = r.s16(), cw = r.s16(), b = r.s16(), rt = r.s16(), t = r.s16(), l = r.s16();
            o.roundRect(rect(l, t, rt, b), QSize(len(cw), len(ch)));
            break;
        }
        case 0x0817:   // ARC
        case 0x0830:   // CHORD
        case 0x081A: { // PIE
            const int ye = r.s16(), xe = r.s16(), ys = r.s16(), xs = r.s16();
            const int b = r.s16(), rt = r.s16(), t = r.s16(), l = r.s16();
            const int type = rec.function == 0x0817 ? 45 : rec.function == 0x0830 ? 46 : 47;
            o.arcLike(type, rect(l, t, rt, b), pt(xs, ys), pt(xe, ye));
            break;
        }
        case 0x0324:   // POLYGON
        case 0x0325: { // POLYLINE
            const QVector<QPoint> pts = points(r, r.s16());
            if (pts.size() >= 2)
                rec.function == 0x0324 ? o.polygon(pts) : o.polyline(pts);
            break;
        }
        case 0x0538: { // POLYPOLYGON
            const int n = r.u16();
            std::vector<int> counts;
            for (int i = 0; i < n && r.has(2); ++i)
                counts.push_back(r.u16());
            QVector<QVector<QPoint>> polys;
            for (int c : counts)
                polys << points(r, c);
            if (!polys.isEmpty())
                o.polyPolygon(polys);
            break;
        }
        case 0x02FA: { // CREATEPENINDIRECT
            const int style = r.u16(), width = r.s16();
            r.s16();
            if (const int h = newSlot())
                o.createPen(h, style, len(width), fromColorRef(r.u32()));
            break;
        }
        case 0x02FC: { // CREATEBRUSHINDIRECT
            const int style = r.u16();
            const quint32 color = r.u32();
            if (const int h = newSlot())
                o.createBrush(h, style, fromColorRef(color), r.u16());
            break;
        }
        case 0x02FB: { // CREATEFONTINDIRECT
            const int height = r.s16();
            r.s16();
            const int escapement = r.s16();
            r.s16();
            const int weight = r.s16();
            const QByteArray flags = r.bytes(8);
            QByteArray face = r.bytes(32);
            face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
            if (const int h = newSlot())
                o.createFont(h, height < 0 ? -len(height) : len(height), weight,
                             flags.size() > 0 && flags[0], flags.size() > 1 && flags[1],
                             QString::fromLatin1(face), escapement);
            break;
        }
        case 0x00F7:   // CREATEPALETTE
        case 0x01F9:   // CREATEPATTERNBRUSH
        case 0x0142:   // DIBCREATEPATTERNBRUSH
        case 0x06FF: { // CREATEREGION
            // Not drawn, but they take a slot; a plain brush stands in so handles stay in step.
            if (const int h = newSlot())
                o.createBrush(h, 1 /* hollow */, 0);
            break;
        }
        case 0x012D: { // SELECTOBJECT
            const int slot = r.u16();
            if (slot < int(slots_.size()) && slots_[size_t(slot)])
                o.select(slot + 1);
            break;
        }
        case 0x01F0: { // DELETEOBJECT
            const int slot = r.u16();
            if (slot < int(slots_.size()) && slots_[size_t(slot)]) {
                slots_[size_t(slot)] = false;
                o.deleteObject(slot + 1);
            }
            break;
        }
        case 0x0521: { // TEXTOUT
            const int n = r.s16();
            const QByteArray s = r.bytes((n + 1) / 2 * 2).left(n);
            const int y = r.s16(), x = r.s16();
            o.text(pt(x, y), QString::fromLatin1(s));
            break;
        }
        case 0x0A32: { // EXTTEXTOUT
            const int y = r.s16(), x = r.s16(), n = r.s16(), options = r.u16();
            if (options & 0x0006) // ETO_OPAQUE, ETO_CLIPPED: a rectangle follows
                r.bytes(8);
            o.text(pt(x, y), QString::fromLatin1(r.bytes(n).left(n)));
            break;
        }
        default: break; // mapping modes and viewports are replaced by the mapping above
        }
    }

    const QByteArray& wmf_;
    QRectF window_, extent_, placed_;
    QSize size_;
    QTransform map_;
    std::vector<bool> slots_;
    EmfWriter* out_ = nullptr;
};

} // namespace

QByteArray wmfToEmf(const QByteArray& wmf) { return Converter(wmf).run(); }

} // namespace brimble::pictures
