#include "pictures/metafile.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <emf2svg.h>

namespace brimble::pictures {

namespace {

qint32 le32(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData() + at);
    return qint32(quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24);
}

constexpr int kMaxSide = 8192; // pixels a metafile is ever drawn at

// Metafiles come from any document a user pastes: the converter is given only those whose
// records each lie inside the data and that end with an end-of-file record.
bool recordsWellFormed(const QByteArray& b) {
    qsizetype at = 0;
    while (at + 8 <= b.size()) {
        const qint64 type = le32(b, int(at)), size = quint32(le32(b, int(at + 4)));
        if (size < 8 || size % 4 != 0 || size > b.size() - at)
            return false;
        if (type == 14) // EMR_EOF
            return true;
        at += size;
    }
    return false;
}

} // namespace

QSize emfFrame(const QByteArray& b) {
    // ENHMETAHEADER: type 1, record size, bounds, frame in 0.01 mm, signature " EMF".
    if (b.size() < 88 || le32(b, 0) != 1 || quint32(le32(b, 40)) != 0x464D4520u)
        return {};
    const qint64 w = qint64(le32(b, 32)) - le32(b, 24);
    const qint64 h = qint64(le32(b, 36)) - le32(b, 28);
    if (w <= 0 || h <= 0 || w > 10'000'000 || h > 10'000'000)
        return {};
    return QSize(int(w), int(h));
}

QSize emfPixelSize(const QByteArray& emf) {
    const QSize f = emfFrame(emf);
    if (f.isEmpty())
        return {};
    auto px = [](int hundredthsMm) {
        return int(std::clamp<qint64>((qint64(hundredthsMm) * 96 + 1270) / 2540, 1, kMaxSide));
    };
    return QSize(px(f.width()), px(f.height()));
}

QImage renderEmf(const QByteArray& emf, QSize size) {
    if (emfFrame(emf).isEmpty() || size.isEmpty() || emf.size() > INT_MAX / 2 ||
        !recordsWellFormed(emf))
        return {};
    // Drawing text needs the fonts of a GUI application; tools without one keep the frame.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    size = size.boundedTo(QSize(kMaxSide, kMaxSide));
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("");
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t length = 0;
    // The converter takes its input as writable but does not write it.
    QByteArray copy = emf;
    const int ok = emf2svg(copy.data(), size_t(copy.size()), &out, &length, &options);
    const QByteArray svg = out ? QByteArray(out, qsizetype(length)) : QByteArray();
    std::free(out);
    if (!ok || svg.isEmpty())
        return {};
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace brimble::pictures
