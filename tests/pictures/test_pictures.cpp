#include "controls/richedit/richmime.h"
#include "pictures/jpeg.h"
#include "pictures/metafile.h"
#include "pictures/picture.h"
#include "rtf/rtf.h"
#include "support/printers.h"

#include <QBuffer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>
#include <set>

using namespace brimble;
using namespace brimble::pictures;

namespace {

QByteArray quickImage(const char* name) {
    QFile f(QStringLiteral(QUICK_IMAGES_DIR "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    image.save(&b, format);
    return out;
}

QImage testImage() {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            img.setPixel(x, y, qRgb(200, 0, 0));
    return img;
}

int colours(const QImage& image) {
    std::set<QRgb> seen;
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2)
            seen.insert(img.pixel(x, y));
    return int(seen.size());
}

QString loadError(const QString& path) {
    try {
        Picture::loadFromFile(path);
    } catch (const PictureError& e) {
        return e.text();
    }
    return QStringLiteral("<loaded>");
}

} // namespace

TEST(PictureKinds, FoundByExtensionWhateverItsCaseAndRefusedOtherwise) {
    QTemporaryDir dir;
    const QByteArray jpeg = encoded(testImage(), "JPEG");
    for (const char* name : {"PHOTO.JPG", "photo.Jpeg", "photo.jpg"}) {
        const Picture p = Picture::loadFromFile(writeFile(dir, QLatin1String(name), jpeg));
        EXPECT_EQ(p.kind(), Kind::Jpeg) << name;
        EXPECT_EQ(p.image().size(), QSize(40, 30)) << name;
    }
    // The extension decides, not the content: PNG bytes named .png are refused.
    EXPECT_EQ(loadError(writeFile(dir, "a.png", encoded(testImage(), "PNG"))),
              "Unknown picture file extension (.png)");
    EXPECT_EQ(loadError(writeFile(dir, "noextension", jpeg)), "Unknown picture file extension (.)");
    const Picture bmp = Picture::loadFromFile(writeFile(dir, "a.BMP", encoded(testImage(), "BMP")));
    EXPECT_EQ(bmp.clipboardForm().bitmap.pixel(5, 5), qRgb(200, 0, 0));

    // An icon loads but has no clipboard form.
    const Picture ico = Picture::loadFromFile(writeFile(dir, "a.ico", encoded(testImage(), "ICO")));
    try {
        ico.clipboardForm();
        FAIL() << "an icon reached the clipboard";
    } catch (const PictureError& e) {
        EXPECT_EQ(e.text(), "Clipboard does not support Icons");
    }
}

TEST(PictureKinds, DamagedFilesFailWithTheDecodersOwnText) {
    QTemporaryDir dir;
    const QByteArray jpeg = encoded(testImage(), "JPEG");
    EXPECT_EQ(loadError(writeFile(dir, "cut.jpg", jpeg.left(jpeg.size() / 2))),
              "Premature end of JPEG file");
    EXPECT_TRUE(loadError(writeFile(dir, "text.jpg", "hello, world")).startsWith("Not a JPEG file"));
    EXPECT_TRUE(loadError(writeFile(dir, "bad.gif", "GIF89a")).startsWith("GIF image: "));
    EXPECT_TRUE(loadError(writeFile(dir, "bad.emf", "not a metafile")).startsWith("Invalid metafile"));
    // A metafile cut short, or with a record claiming more than there is, never reaches the
    // converter.
    const QByteArray emf = quickImage("image1.emf");
    EXPECT_TRUE(loadError(writeFile(dir, "cut.emf", emf.left(emf.size() - 40))).startsWith("Invalid metafile"));
    QByteArray huge = emf;
    huge[108 + 4] = char(0xF0); // the first record after the header
    huge[108 + 7] = char(0x7F);
    EXPECT_TRUE(loadError(writeFile(dir, "huge.emf", huge)).startsWith("Invalid metafile"));
    EXPECT_TRUE(loadError(writeFile(dir, "bad.wmf", QByteArray(40, 'x'))).startsWith("Invalid metafile"));
}

TEST(PictureKinds, JpegDecodesToTheSamePixelsAsAnotherDecoder) {
    QImage photo(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            photo.setPixel(x, y, qRgb(x * 4, y * 5, (x + y) * 2));
    const QByteArray bytes = encoded(photo, "JPEG");
    const QImage ours = decodeJpeg(bytes);
    QImage theirs;
    theirs.loadFromData(bytes, "JPEG");
    ASSERT_EQ(ours.size(), theirs.size());
    int worst = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 3);
    EXPECT_EQ(jpegSize(bytes), QSize(64, 48));
}

// The ball of the 6-frame GIF is at the top in its first frame and low in later ones.
TEST(PictureKinds, AnAnimatedGifGivesItsFirstFrameOnly) {
    const Picture p = Picture::load(Kind::Gif, quickImage("image24.gif"));
    const ClipboardForm form = p.clipboardForm();
    ASSERT_EQ(form.bitmap.size(), QSize(101, 80));
    EXPECT_FALSE(form.isMetafile());
    EXPECT_EQ(form.bitmap.pixel(49, 19), qRgb(230, 30, 30));
    EXPECT_EQ(form.bitmap.pixel(49, 63), qRgb(255, 255, 255));
}

// A metafile reaches the clipboard as itself, and a memo draws it (not an empty frame), writes
// its bytes back unchanged and draws it again when read.
TEST(Metafiles, EnhancedMetafileDrawsAndSurvivesTheMemoRoundTrip) {
    const QByteArray emf = quickImage("image22.emf");
    const Picture p = Picture::load(Kind::Emf, emf);
    const ClipboardForm form = p.clipboardForm();
    ASSERT_TRUE(form.isMetafile());
    EXPECT_EQ(form.emf, emf);
    std::unique_ptr<QMimeData> mime(form.toMimeData());

    QTextDocument doc;
    QTextCursor c(&doc);
    richmime::insert(c, *mime);
    const QByteArray written = rtf::write(doc);
    EXPECT_TRUE(written.contains("\\emfblip"));

    QTextDocument back;
    ASSERT_TRUE(rtf::read(QByteArrayView(written), back));
    QTextImageFormat f;
    for (auto it = back.begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            f = it.fragment().charFormat().toImageFormat();
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(f.property(rtf::kMetafileBytesProperty).toByteArray(), emf);
    const QImage shown = qvariant_cast<QImage>(back.resource(QTextDocument::ImageResource, QUrl(f.name())));
    EXPECT_GT(colours(shown), 4); // drawn: roof, walls, door, windows, text
    EXPECT_EQ(QSize(int(f.width()), int(f.height())), emfPixelSize(emf));
}

namespace {

void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8 & 0xFF));
}

void record(QByteArray& b, int function, std::initializer_list<int> params) {
    const int words = 3 + int(params.size());
    put16(b, words & 0xFFFF);
    put16(b, words >> 16);
    put16(b, function);
    for (int p : params)
        put16(b, p);
}

// A placeable Windows metafile of 2 x 1 inches at 1440 units an inch: a blue rectangle on
// the left half, nothing on the right.
QByteArray smallWmf() {
    QByteArray b;
    put16(b, 0xCDD7);
    put16(b, 0x9AC6);
    put16(b, 0);
    for (int v : {0, 0, 2880, 1440, 1440, 0, 0, 0})
        put16(b, v);
    put16(b, 1), put16(b, 9), put16(b, 0x300);
    put16(b, 0), put16(b, 0), put16(b, 2), put16(b, 0), put16(b, 0), put16(b, 0);
    record(b, 0x020B, {0, 0});           // window origin
    record(b, 0x020C, {1440, 2880});     // window extent (y, x)
    record(b, 0x02FC, {0, 0x0000, 0x00FF, 0}); // solid brush, COLORREF 0x00FF0000: blue
    record(b, 0x012D, {0});
    record(b, 0x041B, {1440, 1440, 0, 0}); // rectangle (bottom, right, top, left)
    record(b, 0x0000, {});
    return b;
}

} // namespace

TEST(Metafiles, AWindowsMetafileBecomesAnEnhancedMetafileThatDraws) {
    QTemporaryDir dir;
    const Picture p = Picture::loadFromFile(writeFile(dir, "drawing.WMF", smallWmf()));
    EXPECT_EQ(p.kind(), Kind::Wmf);
    EXPECT_EQ(p.image().size(), QSize(192, 96));
    EXPECT_EQ(emfFrame(p.metafile()), QSize(5080, 2540));
    const QImage img = p.image().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qBlue(img.pixel(48, 48)), 255);
    EXPECT_EQ(qRed(img.pixel(48, 48)), 0);
    EXPECT_EQ(qAlpha(img.pixel(150, 48)), 0);
    EXPECT_TRUE(p.clipboardForm().isMetafile());
}

// A photo stays about the size of its file in the memo: the JPEG offered beside the bitmap is
// what the document writes.
TEST(Pasting, AJpegPictureIsStoredAsItsOwnFile) {
    QImage photo(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            photo.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x + 5 * y) % 256));
    const QByteArray jpeg = encoded(photo, "JPEG");
    const Picture p = Picture::load(Kind::Jpeg, jpeg);
    std::unique_ptr<QMimeData> mime(p.clipboardForm().toMimeData());
    QTextDocument doc;
    QTextCursor c(&doc);
    richmime::insert(c, *mime);
    const QByteArray written = rtf::write(doc);
    EXPECT_TRUE(written.contains("\\jpegblip"));
    EXPECT_LE(written.size(), jpeg.size() * 2 + jpeg.size() / 16 + 400);

    // A bitmap that does not match the JPEG offered with it is not replaced by it.
    auto* other = new QMimeData;
    other->setImageData(testImage());
    other->setData(QString::fromLatin1(kJpegMime), jpeg);
    QTextDocument doc2;
    QTextCursor c2(&doc2);
    richmime::insert(c2, *other);
    delete other;
    EXPECT_FALSE(rtf::write(doc2).contains("\\jpegblip"));
}
