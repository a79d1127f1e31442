// Renders an SVG picture to a square PNG of the given side, for the installed icon theme.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: brimble-iconpng IN.svg SIDE OUT.png\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    const int side = QString::fromLatin1(argv[2]).toInt();
    if (!svg.isValid() || side <= 0 || side > 1024) {
        std::fprintf(stderr, "brimble-iconpng: cannot render %s at %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(0, 0, side, side));
    p.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "brimble-iconpng: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
