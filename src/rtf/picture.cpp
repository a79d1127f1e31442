#include "rtf/picture.h"

#include "pictures/metafile.h"
#include "pictures/picture.h"
#include "rtf/rtf.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cmath>

namespace brimble::rtf {

namespace {

constexpr std::array<int8_t, 256> makeHexTable() {
    std::array<int8_t, 256> t{};
    for (auto& v : t)
        v = -1;
    for (int c = '0'; c <= '9'; ++c)
        t[c] = int8_t(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        t[c] = t[c - 'a' + 'A'] = int8_t(c - 'a' + 10);
    return t;
}
constexpr auto kHex = makeHexTable();

constexpr int kMaxSide = 32767; // pixels, for the size a picture shows at
constexpr int kMaxPngSide = 1'000'000;

quint32 le32(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

bool isEmf(const QByteArray& b) { return b.size() >= 88 && le32(b, 0) == 1 && le32(b, 40) == 0x464D4520u; }
bool isPng(const QByteArray& b) { return b.startsWith("\x89PNG\r\n\x1a\n"); }
bool isJpeg(const QByteArray& b) { return b.startsWith("\xFF\xD8"); }

// The frame of an enhanced metafile in 0.01 mm, from its header.
QSize emfFrame(const QByteArray& b) {
    if (!isEmf(b))
        return {};
    const qint64 w = qint64(qint32(le32(b, 32))) - qint32(le32(b, 24));
    const qint64 h = qint64(qint32(le32(b, 36))) - qint32(le32(b, 28));
    if (w <= 0 || h <= 0 || w > 10'000'000 || h > 10'000'000)
        return {};
    return QSize(int(w), int(h));
}

int clampSide(double px) { return int(std::clamp(std::lround(px), 1L, long(kMaxSide))); }

// A bitmap as a .bmp file, which Qt reads: the file header goes in front of the DIB.
QImage fromDib(const QByteArray& dib) {
    if (dib.size() < 40)
        return {};
    const quint32 headerSize = le32(dib, 0);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return {};
    quint32 palette = 0;
    if (headerSize >= 40) {
        const quint32 bits = le32(dib, 14) & 0xFFFF;
        const quint32 used = le32(dib, 32);
        const quint32 compression = le32(dib, 16);
        palette = (used ? std::min<quint32>(used, 256) : bits <= 8 ? 1u << bits : 0) * 4;
        if (headerSize == 40 && compression == 3)
            palette += 12; // the three bit-field masks
    }
    const quint32 offset = 14 + headerSize + palette;
    QByteArray file;
    file.reserve(dib.size() + 14);
    const quint32 size = quint32(dib.size()) + 14;
    const char head[14] = {'B', 'M', char(size), char(size >> 8), char(size >> 16), char(size >> 24),
                           0, 0, 0, 0, char(offset), char(offset >> 8), char(offset >> 16), char(offset >> 24)};
    file.append(head, 14);
    file.append(dib);
    QImage image;
    image.loadFromData(file, "BMP");
    return image;
}

// A device-dependent bitmap: rows top down, `widthBytes` apart.
QImage fromWbitmap(const PictureData& d) {
    const int w = d.picw, h = d.pich, bpp = d.bitsPerPixel;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384 || (bpp != 1 && bpp != 24 && bpp != 32))
        return {};
    const qint64 minStride = (qint64(w) * bpp + 7) / 8;
    const qint64 stride = d.widthBytes >= minStride ? d.widthBytes : (minStride + 1) / 2 * 2;
    if (stride * h > d.bytes.size())
        return {};
    QImage image(w, h, bpp == 1 ? QImage::Format_Mono : QImage::Format_RGB32);
    if (bpp == 1)
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uchar*>(d.bytes.constData() + stride * y);
        if (bpp == 1) {
            std::copy(row, row + minStride, image.scanLine(y));
            continue;
        }
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int step = bpp / 8;
        for (int x = 0; x < w; ++x)
            out[x] = qRgb(row[x * step + 2], row[x * step + 1], row[x * step]);
    }
    return image;
}

// Pictures that cannot be drawn show as an empty frame of their size and keep their bytes.
QImage emptyFrame(QSize size, FrameBudget& budget) {
    QSize s(std::min(size.width(), 2048), std::min(size.height(), 2048));
    if (qint64(s.width()) * s.height() > budget.pixelsLeft)
        s = QSize(std::min(s.width(), 32), std::min(s.height(), 32));
    budget.pixelsLeft -= qint64(s.width()) * s.height();
    QImage frame(s, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(frame.rect().adjusted(0, 0, -1, -1));
    return frame;
}

// A metafile drawn at twice the size it shows at, so that it stays sharp on paper; at the
// size it shows at when the budget is short; null when it cannot be drawn.
QImage drawnMetafile(const PictureData& d, QSize shown, FrameBudget& budget) {
    QByteArray emf = d.bytes;
    if (d.kind == PictureData::Kind::Wmf) {
        try {
            emf = pictures::wmfToEmf(d.bytes);
        } catch (const pictures::PictureError&) {
            return {};
        }
    }
    QSize size = shown * 2;
    if (qint64(size.width()) * size.height() > budget.pixelsLeft)
        size = shown;
    if (qint64(size.width()) * size.height() > budget.pixelsLeft)
        return {};
    QImage image = pictures::renderEmf(emf, size);
    if (!image.isNull())
        budget.pixelsLeft -= qint64(image.width()) * image.height();
    return image;
}

void appendHexBytes(QByteArray& out, const QByteArray& bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    constexpr qsizetype kLine = 64; // bytes per line
    const qsizetype n = bytes.size();
    const qsizetype at = out.size();
    out.resize(at + n * 2 + (n / kLine + 1) * 2);
    char* d = out.data() + at;
    const auto* s = reinterpret_cast<const uchar*>(bytes.constData());
    for (qsizetype i = 0; i < n; ++i) {
        if (i % kLine == 0) {
            *d++ = '\r';
            *d++ = '\n';
        }
        *d++ = digits[s[i] >> 4];
        *d++ = digits[s[i] & 15];
    }
    out.resize(d - out.constData());
}

QByteArray encodePng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(80); // light compression: memos are written often
    writer.write(image);
    return png;
}

void appendWord(QByteArray& out, const char* word, qint64 value) {
    out.append(word);
    out.append(QByteArray::number(value));
}

} // namespace

void appendHex(PictureData& d, std::string_view text) {
    const qsizetype at = d.bytes.size();
    d.bytes.resize(at + qsizetype(text.size() / 2) + 1);
    char* out = d.bytes.data() + at;
    int pending = d.hexNibble;
    for (unsigned char c : text) {
        const int v = kHex[c];
        if (v < 0)
            continue;
        if (pending < 0) {
            pending = v;
        } else {
            *out++ = char(pending << 4 | v);
            pending = -1;
        }
    }
    d.hexNibble = pending;
    d.bytes.resize(out - d.bytes.constData());
}

Picture makePicture(PictureData& d, FrameBudget& budget) {
    using Kind = PictureData::Kind;
    Picture pic;
    QByteArray keep; // original bytes written back
    bool metafile = false;
    switch (d.kind) {
    case Kind::Png:
    case Kind::Jpeg: {
        keep = d.bytes;
        // A few bytes of PNG or JPEG can stand for a huge image: the header tells its size
        // before anything is decoded.
        QBuffer buffer;
        buffer.setData(d.bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, d.kind == Kind::Png ? "PNG" : "JPEG");
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() * 4 > budget.imageBytesLeft)
            break;
        pic.image = reader.read();
        budget.imageBytesLeft -= pic.image.sizeInBytes();
        break;
    }
    case Kind::Dib: pic.image = fromDib(d.bytes); break;
    case Kind::Wbitmap: pic.image = fromWbitmap(d); break;
    case Kind::Emf:
    case Kind::Wmf:
        metafile = !d.bytes.isEmpty();
        break;
    case Kind::None: break;
    }
    // PNG, which the writer uses for bitmaps, holds no side above a million pixels.
    if (!pic.image.isNull() && (pic.image.width() > kMaxPngSide || pic.image.height() > kMaxPngSide))
        pic.image = QImage();
    // PNG or JPEG data that Qt cannot decode (cut short, an unusual variant) is kept like a
    // metafile: a frame on screen, the bytes written back as they came.
    bool undecoded = false;
    if (pic.image.isNull() && (isPng(keep) || isJpeg(keep)))
        undecoded = true;
    if (pic.image.isNull() && !metafile && !undecoded)
        return {};

    // The size it shows at: the goal size, else the native size, then the scale.
    double w = 0, h = 0;
    if (d.goalw > 0 && d.goalh > 0) {
        w = d.goalw / 15.0;
        h = d.goalh / 15.0;
    } else if (!metafile && !undecoded) {
        w = pic.image.width();
        h = pic.image.height();
    } else if (undecoded) { // its own size in pixels, if the group gave it
        w = d.picw > 0 ? d.picw : 96;
        h = d.pich > 0 ? d.pich : 96;
    } else {
        QSize native(d.picw, d.pich);
        if (d.kind == Kind::Emf && (native.width() <= 0 || native.height() <= 0))
            native = emfFrame(d.bytes);
        w = native.width() > 0 ? native.width() * 96.0 / 2540.0 : 96;
        h = native.height() > 0 ? native.height() * 96.0 / 2540.0 : 96;
    }
    const int sx = d.scalex > 0 && d.scalex <= 10000 ? d.scalex : 100;
    const int sy = d.scaley > 0 && d.scaley <= 10000 ? d.scaley : 100;
    const QSize shown(clampSide(w * sx / 100.0), clampSide(h * sy / 100.0));
    pic.format.setWidth(shown.width());
    pic.format.setHeight(shown.height());
    if (undecoded)
        pic.image = emptyFrame(shown, budget);
    if (metafile) {
        pic.image = drawnMetafile(d, shown, budget);
        if (pic.image.isNull())
            pic.image = emptyFrame(shown, budget);
        pic.format.setProperty(kMetafileBytesProperty, d.bytes);
        if (d.picw > 0 && d.pich > 0)
            pic.format.setProperty(kMetafileExtentProperty, QSize(d.picw, d.pich));
    } else if (!keep.isEmpty()) {
        pic.format.setProperty(kPictureBytesProperty, keep);
        pic.format.setProperty(kPictureKeyProperty, pic.image.cacheKey());
    }
    return pic;
}

void writePicture(QByteArray& out, const QTextImageFormat& format, const QVariant& resource) {
    QImage image;
    if (resource.canConvert<QImage>())
        image = qvariant_cast<QImage>(resource);
    const QByteArray encoded = resource.typeId() == QMetaType::QByteArray ? resource.toByteArray() : QByteArray();
    if (image.isNull() && !encoded.isEmpty())
        image.loadFromData(encoded);

    const QByteArray metafile = format.property(kMetafileBytesProperty).toByteArray();
    QByteArray bytes;
    const char* kind = "\\pngblip";
    QSize native;
    if (!metafile.isEmpty()) {
        bytes = metafile;
        const bool emf = isEmf(metafile);
        kind = emf ? "\\emfblip" : "\\wmetafile8";
        native = format.property(kMetafileExtentProperty).toSize();
        if (native.isEmpty() && emf)
            native = emfFrame(metafile);
    } else {
        if (image.isNull())
            return;
        const QByteArray kept = format.property(kPictureBytesProperty).toByteArray();
        if (!kept.isEmpty() && format.property(kPictureKeyProperty).toLongLong() == image.cacheKey())
            bytes = kept;
        else if (isPng(encoded) || isJpeg(encoded))
            bytes = encoded;
        else
            bytes = encodePng(image);
        if (bytes.isEmpty())
            return; // no format can hold it: better no picture than an empty one
        if (isJpeg(bytes))
            kind = "\\jpegblip";
        native = image.size();
    }
    // The size it shows at, in pixels at 96 dpi; a missing side follows the picture's shape.
    double w = format.width(), h = format.height();
    const QSize base = image.isNull() ? QSize(96, 96) : image.size();
    if (w <= 0 && h <= 0) {
        w = base.width();
        h = base.height();
    } else if (w <= 0) {
        w = h * base.width() / std::max(1, base.height());
    } else if (h <= 0) {
        h = w * base.height() / std::max(1, base.width());
    }
    const qint64 goalw = std::max<qint64>(1, std::llround(w * 15)), goalh = std::max<qint64>(1, std::llround(h * 15));
    if (native.isEmpty()) // a metafile without its extent: the shown size in 0.01 mm
        native = QSize(int(goalw * 2540 / 1440), int(goalh * 2540 / 1440));

    out.append("{\\pict");
    out.append(kind);
    appendWord(out, "\\picw", native.width());
    appendWord(out, "\\pich", native.height());
    appendWord(out, "\\picwgoal", goalw);
    appendWord(out, "\\pichgoal", goalh);
    appendHexBytes(out, bytes);
    out.append("\r\n}");
}

} // namespace brimble::rtf
