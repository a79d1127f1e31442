#pragma once

// A memo as users make them once pictures can be inserted: a line of text and a screenshot
// of about 390 KB as PNG, in the RTF the editor writes (\pict\pngblip with hexadecimal data).
#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QString>

namespace brimble::bench {

inline QString pictureMemo(quint32 seed = 1) {
    // Noise does not compress: 360 x 360 RGB comes to about 390 KB of PNG.
    QImage image(360, 360, QImage::Format_RGB888);
    QRandomGenerator rng(seed);
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width() * 3; ++x)
            line[x] = uchar(rng.generate());
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 The screenshot of "
                          "the error:\\par {\\pict\\pngblip\\picw360\\pich360\\picwgoal5400"
                          "\\pichgoal5400 ") +
           QString::fromLatin1(png.toHex()) + QStringLiteral("}\\par }");
}

} // namespace brimble::bench
