// Makes the 25 pictures of the Quick Images dialog: 12 enhanced metafiles, 10 JPEG pictures and
// 3 animated GIF pictures, at the sizes the dialog expects. Run through
// scripts/make-quick-images.sh, which writes them into assets/quickimages/.

#include "pictures/emfwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

using brimble::pictures::EmfWriter;

namespace {

QString outDir;

void save(const QString& name, const QByteArray& bytes) {
    QFile f(QDir(outDir).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

QSize pixels(double wMm, double hMm) {
    return QSize(int(std::lround(wMm / 25.4 * 96)), int(std::lround(hMm / 25.4 * 96)));
}

QSize frame(double wMm, double hMm) {
    return QSize(int(std::lround(wMm * 100)), int(std::lround(hMm * 100)));
}

// ---- enhanced metafiles -------------------------------------------------------------------

constexpr int kSolid = 0, kNullPen = 5;

void pen(EmfWriter& e, int h, QRgb c, int width) {
    e.createPen(h, kSolid, width, c);
    e.select(h);
}

void brush(EmfWriter& e, int h, QRgb c) {
    e.createBrush(h, 0, c);
    e.select(h);
}

// A round face; `mood` 0 happy, 1 sad, 2 winking, 3 surprised, 4 with sunglasses.
QByteArray face(int mood) {
    const QSize s = pixels(29, 30);
    EmfWriter e(s, frame(29, 30));
    const int w = s.width(), h = s.height();
    pen(e, 1, qRgb(120, 80, 0), 3);
    brush(e, 2, mood == 1 ? qRgb(150, 200, 255) : qRgb(255, 214, 40));
    e.ellipse(QRect(4, 4, w - 8, h - 8));
    brush(e, 3, qRgb(40, 30, 20));
    const int ey = h * 2 / 5, ex1 = w / 3, ex2 = w * 2 / 3, er = w / 14;
    if (mood == 4) {
        e.roundRect(QRect(ex1 - 2 * er, ey - er, 4 * er, 2 * er + 2), QSize(er, er));
        e.roundRect(QRect(ex2 - 2 * er, ey - er, 4 * er, 2 * er + 2), QSize(er, er));
        e.moveTo(QPoint(ex1 + 2 * er, ey));
        e.lineTo(QPoint(ex2 - 2 * er, ey));
    } else {
        e.ellipse(QRect(ex1 - er, ey - er, 2 * er, 2 * er));
        if (mood == 2) {
            e.moveTo(QPoint(ex2 - er, ey));
            e.lineTo(QPoint(ex2 + er, ey));
        } else {
            e.ellipse(QRect(ex2 - er, ey - er, 2 * er, 2 * er));
        }
    }
    const QRect mouth(w / 4, h / 3, w / 2, h * 2 / 5);
    if (mood == 3) {
        e.ellipse(QRect(w / 2 - w / 10, h * 3 / 5, w / 5, h / 5));
    } else if (mood == 1) {
        // Arcs run counter-clockwise: from right to left over the top is a frown.
        e.arcLike(45, QRect(w / 4, h * 13 / 20, w / 2, h * 2 / 5), QPoint(w * 3 / 4, h * 3 / 4),
                  QPoint(w / 4, h * 3 / 4));
    } else {
        e.arcLike(45, mouth, QPoint(w / 4, h * 11 / 20), QPoint(w * 3 / 4, h * 11 / 20));
    }
    return e.finish();
}

QVector<QPoint> star(QPointF c, double outer, double inner, int tips) {
    QVector<QPoint> pts;
    for (int i = 0; i < tips * 2; ++i) {
        const double a = -M_PI / 2 + i * M_PI / tips;
        const double r = i % 2 ? inner : outer;
        pts << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a)).toPoint();
    }
    return pts;
}

QByteArray heart() {
    const QSize s = pixels(45.3, 56.2);
    EmfWriter e(s, frame(45.3, 56.2));
    const int w = s.width(), h = s.height();
    pen(e, 1, qRgb(140, 0, 30), 3);
    brush(e, 2, qRgb(230, 30, 60));
    e.ellipse(QRect(4, h / 6, w / 2, w / 2));
    e.ellipse(QRect(w / 2 - 4, h / 6, w / 2, w / 2));
    e.createPen(3, kNullPen, 0, 0);
    e.select(3);
    e.polygon({QPoint(6, h / 6 + w / 3), QPoint(w - 6, h / 6 + w / 3), QPoint(w / 2, h - 6)});
    return e.finish();
}

QByteArray starPicture() {
    const QSize s = pixels(31.6, 50.0);
    EmfWriter e(s, frame(31.6, 50.0));
    const int w = s.width(), h = s.height();
    pen(e, 1, qRgb(160, 110, 0), 2);
    brush(e, 2, qRgb(255, 200, 0));
    e.polygon(star(QPointF(w / 2.0, h / 3.0), w / 2.0 - 3, w / 5.0, 5));
    pen(e, 3, qRgb(90, 60, 20), 4);
    e.moveTo(QPoint(w / 2, h / 3 + w / 5));
    e.lineTo(QPoint(w / 2, h - 4));
    return e.finish();
}

// The tall ones: 0 thermometer, 1 bottle, 2 candle, 3 fir tree.
QByteArray tall(int which) {
    const QSize s = pixels(30.0, 76.2);
    EmfWriter e(s, frame(30.0, 76.2));
    const int w = s.width(), h = s.height();
    pen(e, 1, qRgb(40, 40, 40), 2);
    switch (which) {
    case 0:
        brush(e, 2, qRgb(245, 245, 245));
        e.roundRect(QRect(w / 2 - 8, 6, 16, h - 40), QSize(14, 14));
        brush(e, 3, qRgb(220, 20, 20));
        e.ellipse(QRect(w / 2 - 16, h - 44, 32, 32));
        e.rectangle(QRect(w / 2 - 4, h / 3, 8, h * 2 / 3 - 40));
        for (int y = 20; y < h - 50; y += 15) {
            e.moveTo(QPoint(w / 2 + 9, y));
            e.lineTo(QPoint(w / 2 + 16, y));
        }
        break;
    case 1:
        brush(e, 2, qRgb(40, 150, 70));
        e.polygon({QPoint(w / 2 - 7, 8), QPoint(w / 2 + 7, 8), QPoint(w / 2 + 7, h / 4),
                   QPoint(w - 10, h / 3), QPoint(w - 10, h - 8), QPoint(10, h - 8),
                   QPoint(10, h / 3), QPoint(w / 2 - 7, h / 4)});
        brush(e, 3, qRgb(250, 240, 200));
        e.rectangle(QRect(16, h / 2, w - 32, h / 5));
        break;
    case 2:
        brush(e, 2, qRgb(240, 230, 210));
        e.rectangle(QRect(w / 3, h / 3, w / 3, h * 2 / 3 - 8));
        brush(e, 3, qRgb(255, 150, 0));
        e.ellipse(QRect(w / 2 - 9, h / 3 - 40, 18, 34));
        brush(e, 4, qRgb(255, 240, 120));
        e.ellipse(QRect(w / 2 - 4, h / 3 - 26, 8, 18));
        break;
    case 3:
        brush(e, 2, qRgb(20, 120, 40));
        for (int i = 0; i < 3; ++i) {
            const int top = 8 + i * h / 5, base = top + h / 3;
            const int half = w / 4 + i * w / 9;
            e.polygon({QPoint(w / 2, top), QPoint(w / 2 + half, base), QPoint(w / 2 - half, base)});
        }
        brush(e, 3, qRgb(110, 70, 30));
        e.rectangle(QRect(w / 2 - 7, h - h / 6, 14, h / 6 - 6));
        break;
    default:
        brush(e, 2, qRgb(50, 50, 50));
        e.roundRect(QRect(w / 2 - 24, 10, 48, h / 2 + 30), QSize(12, 12));
        e.rectangle(QRect(w / 2 - 4, h / 2 + 40, 8, h / 2 - 48));
        const QRgb lights[] = {qRgb(230, 30, 30), qRgb(240, 200, 0), qRgb(30, 200, 60)};
        for (int i = 0; i < 3; ++i) {
            brush(e, 3 + i, lights[i]);
            e.ellipse(QRect(w / 2 - 16, 20 + i * (h / 6), 32, 32));
        }
        break;
    }
    return e.finish();
}

QByteArray house() {
    const QSize s = pixels(61.9, 77.2);
    EmfWriter e(s, frame(61.9, 77.2));
    const int w = s.width(), h = s.height();
    pen(e, 1, qRgb(60, 40, 30), 3);
    brush(e, 2, qRgb(200, 60, 40));
    e.polygon({QPoint(w / 2, 10), QPoint(w - 8, h / 2 - 20), QPoint(8, h / 2 - 20)});
    brush(e, 3, qRgb(240, 220, 170));
    e.rectangle(QRect(24, h / 2 - 20, w - 48, h / 2 + 10));
    brush(e, 4, qRgb(120, 70, 30));
    e.rectangle(QRect(w / 2 - 18, h - 80, 36, 70));
    brush(e, 5, qRgb(150, 210, 255));
    e.rectangle(QRect(40, h / 2 + 4, 40, 40));
    e.rectangle(QRect(w - 80, h / 2 + 4, 40, 40));
    e.setBkMode(1);
    e.setTextColor(qRgb(60, 40, 30));
    e.createFont(6, -14, 700, false, false, QStringLiteral("Sans"));
    e.select(6);
    e.text(QPoint(w / 2 - 20, h / 2 - 14), QStringLiteral("HOME"));
    return e.finish();
}

// ---- JPEG pictures ------------------------------------------------------------------------

QImage painted(QSize size, int which) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = size.width(), h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    const QColor tops[] = {QColor(120, 180, 255), QColor(255, 200, 120), QColor(200, 240, 200),
                           QColor(250, 220, 240), QColor(40, 40, 100)};
    sky.setColorAt(0, tops[which % 5]);
    sky.setColorAt(1, Qt::white);
    p.fillRect(img.rect(), sky);
    p.setPen(Qt::NoPen);
    switch (which) {
    case 0: // sun over a hill
        p.setBrush(QColor(255, 210, 0));
        p.drawEllipse(QPointF(w * 0.7, h * 0.3), w * 0.18, h * 0.18);
        p.setBrush(QColor(60, 160, 60));
        p.drawEllipse(QRectF(-w * 0.2, h * 0.6, w * 1.4, h));
        break;
    case 1: // flower
        p.setBrush(QColor(230, 80, 150));
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3;
            p.drawEllipse(QPointF(w / 2.0 + std::cos(a) * w / 5, h / 2.0 + std::sin(a) * h / 5),
                          w / 7.0, h / 7.0);
        }
        p.setBrush(QColor(250, 220, 0));
        p.drawEllipse(QPointF(w / 2.0, h / 2.0), w / 7.0, h / 7.0);
        break;
    case 2: // apple
        p.setBrush(QColor(210, 30, 30));
        p.drawEllipse(QRectF(w * 0.15, h * 0.25, w * 0.7, h * 0.65));
        p.setBrush(QColor(40, 140, 40));
        p.drawEllipse(QRectF(w * 0.5, h * 0.08, w * 0.22, h * 0.14));
        break;
    case 3: // gift box
        p.setBrush(QColor(60, 120, 220));
        p.drawRect(QRectF(w * 0.15, h * 0.35, w * 0.7, h * 0.55));
        p.setBrush(QColor(250, 210, 0));
        p.drawRect(QRectF(w * 0.45, h * 0.35, w * 0.1, h * 0.55));
        p.drawRect(QRectF(w * 0.1, h * 0.28, w * 0.8, h * 0.12));
        break;
    case 4: // moon and stars
        p.setBrush(QColor(250, 250, 200));
        p.drawEllipse(QPointF(w * 0.4, h * 0.45), w * 0.25, h * 0.25);
        p.setBrush(QColor(40, 40, 100));
        p.drawEllipse(QPointF(w * 0.52, h * 0.38), w * 0.22, h * 0.22);
        break;
    case 5: // coffee cup
        p.setBrush(QColor(250, 250, 250));
        p.drawRoundedRect(QRectF(w * 0.2, h * 0.35, w * 0.5, h * 0.5), 4, 4);
        p.setBrush(QColor(110, 60, 20));
        p.drawEllipse(QRectF(w * 0.22, h * 0.3, w * 0.46, h * 0.12));
        p.setPen(QPen(QColor(250, 250, 250), std::max(2, w / 16)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(w * 0.62, h * 0.45, w * 0.2, h * 0.22));
        break;
    case 6: // clock
        p.setBrush(Qt::white);
        p.setPen(QPen(Qt::black, std::max(1, w / 24)));
        p.drawEllipse(QRectF(w * 0.1, h * 0.1, w * 0.8, h * 0.8));
        p.drawLine(QPointF(w / 2.0, h / 2.0), QPointF(w / 2.0, h * 0.22));
        p.drawLine(QPointF(w / 2.0, h / 2.0), QPointF(w * 0.7, h / 2.0));
        break;
    case 7: // bell
        p.setBrush(QColor(240, 190, 30));
        p.drawPie(QRectF(w * 0.15, h * 0.15, w * 0.7, h * 1.1), 0, 180 * 16);
        p.drawRect(QRectF(w * 0.1, h * 0.68, w * 0.8, h * 0.1));
        p.drawEllipse(QPointF(w / 2.0, h * 0.85), w * 0.08, h * 0.08);
        break;
    case 8: // "NOTE" banner
        p.setBrush(QColor(255, 250, 150));
        p.drawRect(QRectF(w * 0.05, h * 0.15, w * 0.9, h * 0.7));
        p.setPen(QColor(120, 60, 0));
        p.setFont(QFont(QStringLiteral("Sans"), -1, QFont::Bold));
        p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("NOTE"));
        break;
    default: // "TODO" strip
        p.setBrush(QColor(255, 120, 90));
        p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), 6, 6);
        p.setPen(Qt::white);
        QFont f(QStringLiteral("Sans"));
        f.setPixelSize(h * 2 / 3);
        f.setBold(true);
        p.setFont(f);
        p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("TO DO!"));
        break;
    }
    p.end();
    return img;
}

QByteArray jpeg(const QImage& img) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "JPEG", 90);
    return out;
}

// ---- GIF pictures -------------------------------------------------------------------------

const QRgb kPalette[16] = {
    qRgb(255, 255, 255), qRgb(0, 0, 0),      qRgb(230, 30, 30),   qRgb(30, 170, 60),
    qRgb(40, 90, 220),   qRgb(255, 210, 0),  qRgb(255, 140, 0),   qRgb(150, 60, 200),
    qRgb(120, 200, 255), qRgb(128, 128, 128), qRgb(200, 200, 200), qRgb(120, 70, 30),
    qRgb(255, 170, 200), qRgb(0, 120, 120),  qRgb(60, 60, 60),    qRgb(250, 250, 200),
};

int nearest(QRgb c) {
    int best = 0, bestD = INT_MAX;
    for (int i = 0; i < 16; ++i) {
        const int dr = qRed(c) - qRed(kPalette[i]), dg = qGreen(c) - qGreen(kPalette[i]),
                  db = qBlue(c) - qBlue(kPalette[i]);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestD)
            best = i, bestD = d;
    }
    return best;
}

// LZW as GIF wants it: variable code width from 5 bits (4-bit pixels), clear at 4096 codes.
QByteArray lzw(const std::vector<uchar>& pixels) {
    constexpr int kMinBits = 4, kClear = 1 << kMinBits, kEnd = kClear + 1;
    QByteArray out;
    quint32 acc = 0;
    int accBits = 0, width = kMinBits + 1, next = kEnd + 1;
    auto putCode = [&](int code) {
        acc |= quint32(code) << accBits;
        accBits += width;
        while (accBits >= 8) {
            out.append(char(acc & 0xFF));
            acc >>= 8;
            accBits -= 8;
        }
    };
    std::map<std::pair<int, int>, int> table;
    putCode(kClear);
    int prefix = -1;
    for (uchar px : pixels) {
        if (prefix < 0) {
            prefix = px;
            continue;
        }
        const auto it = table.find({prefix, px});
        if (it != table.end()) {
            prefix = it->second;
            continue;
        }
        putCode(prefix);
        if (next < 4096) {
            table[{prefix, px}] = next++;
            if (next > (1 << width) && width < 12)
                ++width;
        } else {
            putCode(kClear);
            table.clear();
            next = kEnd + 1;
            width = kMinBits + 1;
        }
        prefix = px;
    }
    if (prefix >= 0)
        putCode(prefix);
    putCode(kEnd);
    if (accBits > 0)
        out.append(char(acc & 0xFF));
    QByteArray blocks;
    blocks.append(char(kMinBits));
    for (qsizetype i = 0; i < out.size(); i += 255) {
        const QByteArray part = out.mid(i, 255);
        blocks.append(char(part.size()));
        blocks.append(part);
    }
    blocks.append('\0');
    return blocks;
}

void le16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8 & 0xFF));
}

QByteArray gif(const std::vector<QImage>& frames, int delayCs) {
    const QSize s = frames.front().size();
    QByteArray b("GIF89a");
    le16(b, s.width());
    le16(b, s.height());
    b.append(char(0xF3)); // global table of 16 colours
    b.append('\0');
    b.append('\0');
    for (QRgb c : kPalette) {
        b.append(char(qRed(c)));
        b.append(char(qGreen(c)));
        b.append(char(qBlue(c)));
    }
    b.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19); // loop for ever
    for (const QImage& f : frames) {
        b.append("\x21\xF9\x04\x04", 4); // graphic control: keep the frame
        le16(b, delayCs);
        b.append("\x00\x00", 2);
        b.append(char(0x2C));
        le16(b, 0);
        le16(b, 0);
        le16(b, s.width());
        le16(b, s.height());
        b.append('\0');
        std::vector<uchar> px;
        px.reserve(size_t(s.width() * s.height()));
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                px.push_back(uchar(nearest(f.pixel(x, y))));
        b.append(lzw(px));
    }
    b.append(char(0x3B));
    return b;
}

QImage canvas(QSize s) {
    QImage img(s, QImage::Format_RGB32);
    img.fill(kPalette[0]);
    return img;
}

std::vector<QImage> blinkingDot(QRgb on) {
    std::vector<QImage> frames;
    for (int i = 0; i < 2; ++i) {
        QImage img = canvas(QSize(17, 17));
        QPainter p(&img);
        p.setPen(QColor(kPalette[1]));
        p.setBrush(QColor(i == 0 ? on : kPalette[10]));
        p.drawEllipse(QRect(2, 2, 12, 12));
        frames.push_back(img);
    }
    return frames;
}

std::vector<QImage> bouncingBall() {
    std::vector<QImage> frames;
    const int heights[] = {10, 28, 44, 54, 44, 28};
    for (int y : heights) {
        QImage img = canvas(QSize(101, 80));
        QPainter p(&img);
        p.fillRect(QRect(0, 72, 101, 8), QColor(kPalette[3]));
        p.setPen(QColor(kPalette[1]));
        p.setBrush(QColor(kPalette[2]));
        p.drawEllipse(QRect(40, y, 18, 18));
        frames.push_back(img);
    }
    return frames;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the painted text
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIRECTORY\n", argv[0]);
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    for (int i = 0; i < 5; ++i)
        save(QStringLiteral("image%1.emf").arg(i + 1), face(i));
    save(QStringLiteral("image16.emf"), heart());
    save(QStringLiteral("image17.emf"), starPicture());
    for (int i = 0; i < 4; ++i)
        save(QStringLiteral("image%1.emf").arg(18 + i), tall(i));
    save(QStringLiteral("image22.emf"), house());
    const QSize jpegSizes[] = {{48, 48}, {96, 96}, {32, 32}, {75, 75}, {32, 32},
                               {48, 48}, {48, 48}, {32, 32}, {112, 80}, {81, 26}};
    for (int i = 0; i < 10; ++i)
        save(QStringLiteral("image%1.jpg").arg(6 + i), jpeg(painted(jpegSizes[i], i)));
    save(QStringLiteral("image23.gif"), gif(blinkingDot(kPalette[2]), 50));
    save(QStringLiteral("image24.gif"), gif(bouncingBall(), 12));
    save(QStringLiteral("image25.gif"), gif(blinkingDot(kPalette[3]), 50));
    return 0;
}
