#include "rtftest.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QtEndian>

namespace brimble::rtf::test {

QString describe(const QTextDocument& doc) {
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        out += QStringLiteral("<para align=%1 li=%2 ri=%3 fi=%4 sb=%5 sa=%6 lh=%7/%8>")
                   .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(bf.leftMargin())
                   .arg(bf.rightMargin())
                   .arg(bf.textIndent())
                   .arg(bf.topMargin())
                   .arg(bf.bottomMargin())
                   .arg(bf.lineHeightType())
                   .arg(bf.lineHeightType() == QTextBlockFormat::SingleHeight ? 0 : bf.lineHeight());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) {
                const QTextImageFormat i = f.toImageFormat();
                out += QStringLiteral("[picture %1x%2 x%3]").arg(i.width()).arg(i.height()).arg(it.fragment().length());
                continue;
            }
            QString fam = family(f);
            if (fam.isEmpty())
                fam = doc.defaultFont().family();
            const qreal pt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : doc.defaultFont().pointSizeF();
            const auto v = f.verticalAlignment();
            out += QStringLiteral("[%1%2%3%4%11 %5 %6pt cs%7 fg%8 bg%9 a=%10]")
                       .arg(f.fontWeight() >= QFont::DemiBold ? "B" : "")
                       .arg(f.fontItalic() ? "I" : "")
                       .arg(f.fontUnderline() ? "U" : "")
                       .arg(f.fontStrikeOut() ? "S" : "")
                       .arg(fam)
                       .arg(pt)
                       .arg(f.intProperty(kCharsetProperty))
                       .arg(f.foreground().style() == Qt::NoBrush ? QStringLiteral("-") : f.foreground().color().name())
                       .arg(f.background().style() == Qt::NoBrush ? QStringLiteral("-") : f.background().color().name())
                       .arg(f.isAnchor() ? f.anchorHref() : QString())
                       .arg(v == QTextCharFormat::AlignSuperScript ? "^" : v == QTextCharFormat::AlignSubScript ? "_" : "");
            out += it.fragment().text();
        }
        out += u'\n';
    }
    return out;
}

QString dataDir() {
    const QString root = QString::fromLocal8Bit(qgetenv("BRIMBLE_TEST_DATA"));
    return QDir(root + QStringLiteral("/rtf/data")).exists() ? root + QStringLiteral("/rtf/data")
                                                             : root + QStringLiteral("/data");
}

QByteArray testData(const QString& relative) {
    QFile f(dataDir() + u'/' + relative);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray hex(const QByteArray& bytes) { return bytes.toHex(); }

QByteArray pngBytes(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QImage sampleImage(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 37 + seed * 11) & 255, (y * 53 + seed * 7) & 255, (x * y + seed) & 255));
    return image;
}

QByteArray sampleEmf(int w, int h) {
    QByteArray b(88 + 20, '\0');
    auto put = [&](int at, quint32 v) { qToLittleEndian(v, b.data() + at); };
    put(0, 1);      // EMR_HEADER
    put(4, 88);     // its size
    put(16, 10);    // bounds right
    put(20, 10);    // bounds bottom
    put(32, quint32(w)); // frame right, 0.01 mm
    put(36, quint32(h)); // frame bottom
    put(40, 0x464D4520); // " EMF"
    put(44, 0x10000);
    put(48, quint32(b.size()));
    put(52, 2);     // records
    put(88, 14);    // EMR_EOF
    put(92, 20);
    put(100, 16);
    put(104, 20);
    return b;
}

} // namespace brimble::rtf::test
