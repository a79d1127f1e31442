#include "rtftest.h"

#include "rtf/picture.h"

#include <QBuffer>
#include <QTextCursor>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

namespace {

QByteArray jpegBytes(const QImage& image) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return jpeg;
}

QTextDocument& load(QTextDocument& doc, const QByteArray& rtf) {
    EXPECT_TRUE(read(QByteArrayView(rtf), doc));
    return doc;
}

// A 24-bit DIB (BITMAPINFOHEADER and bottom-up rows) of a 2 x 2 picture.
QByteArray dib2x2() {
    QByteArray d(40, '\0');
    qToLittleEndian<quint32>(40, d.data());
    qToLittleEndian<qint32>(2, d.data() + 4);
    qToLittleEndian<qint32>(2, d.data() + 8);
    qToLittleEndian<quint16>(1, d.data() + 12);
    qToLittleEndian<quint16>(24, d.data() + 14);
    // Bottom row: blue, green; top row: red, white (BGR, rows padded to 4 bytes).
    d.append(QByteArray("\xff\x00\x00\x00\xff\x00\x00\x00", 8));
    d.append(QByteArray("\x00\x00\xff\xff\xff\xff\x00\x00", 8));
    return d;
}

} // namespace

TEST(RtfPictures, PngInHexAndInBinaryBecomesAnImageOfTheDocument) {
    const QImage image = sampleImage(7, 5, 1);
    const QByteArray png = pngBytes(image);
    QTextDocument doc;
    load(doc, "{\\rtf1 a{\\pict\\pngblip\\picw7\\pich5\\picwgoal210\\pichgoal150\r\n" + hex(png) +
                  "}b{\\pict\\pngblip\\picscalex200\\picscaley50\\bin" + QByteArray::number(png.size()) +
                  " " + png + "}c}");
    const auto pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_TRUE(samePixels(pics[0].image, image));
    EXPECT_TRUE(samePixels(pics[1].image, image));
    EXPECT_DOUBLE_EQ(pics[0].format.width(), 14) << "the goal size in twips, at 96 dpi";
    EXPECT_DOUBLE_EQ(pics[0].format.height(), 10);
    EXPECT_DOUBLE_EQ(pics[1].format.width(), 14) << "scaled from the picture's own size";
    EXPECT_DOUBLE_EQ(pics[1].format.height(), 3);
    EXPECT_EQ(doc.begin().text(), QString("a") + QChar::ObjectReplacementCharacter + "b" +
                                      QChar::ObjectReplacementCharacter + "c");
    EXPECT_EQ(plainText(doc), "abc") << "pictures are not text";
}

TEST(RtfPictures, JpegKeepsItsBytesThroughWriting) {
    const QByteArray jpeg = jpegBytes(sampleImage(16, 16, 3));
    QTextDocument doc;
    load(doc, "{\\rtf1{\\pict\\jpegblip\\picw16\\pich16 " + hex(jpeg) + "}}");
    ASSERT_EQ(picturesOf(doc).size(), 1u);
    EXPECT_FALSE(picturesOf(doc)[0].image.isNull());
    const QByteArray written = write(doc);
    EXPECT_TRUE(written.contains("\\jpegblip"));
    EXPECT_TRUE(unwrapped(written).contains(hex(jpeg))) << "the original bytes, not a new encoding";
}

TEST(RtfPictures, AReplacedImageIsWrittenAsItNowIs) {
    const QByteArray jpeg = jpegBytes(sampleImage(16, 16, 3));
    QTextDocument doc;
    load(doc, "{\\rtf1{\\pict\\jpegblip " + hex(jpeg) + "}}");
    const QString name = picturesOf(doc)[0].format.name();
    const QImage other = sampleImage(16, 16, 9);
    doc.addResource(QTextDocument::ImageResource, QUrl(name), other);
    const QByteArray written = write(doc);
    EXPECT_FALSE(unwrapped(written).contains(hex(jpeg))) << "stale bytes would bring back the old picture";
    QTextDocument back;
    load(back, written);
    ASSERT_EQ(picturesOf(back).size(), 1u);
    EXPECT_TRUE(samePixels(picturesOf(back)[0].image, other));
}

TEST(RtfPictures, BitmapsBecomeImagesAndAreWrittenAsPng) {
    QTextDocument doc;
    load(doc, "{\\rtf1{\\pict\\dibitmap0\\picw2\\pich2 " + hex(dib2x2()) + "}"
              "{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw3\\pich2 4000a000}}");
    const auto pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 2u);
    const QImage& d = pics[0].image;
    ASSERT_EQ(d.size(), QSize(2, 2));
    EXPECT_EQ(QColor(d.pixel(0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(d.pixel(1, 0)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(d.pixel(0, 1)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(d.pixel(1, 1)), QColor(0, 255, 0));
    const QImage& w = pics[1].image;
    ASSERT_EQ(w.size(), QSize(3, 2));
    EXPECT_EQ(QColor(w.pixel(1, 0)), QColor(Qt::white)); // 0x40: 01000000
    EXPECT_EQ(QColor(w.pixel(0, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(w.pixel(0, 1)), QColor(Qt::white)); // 0xa0: 10100000
    EXPECT_EQ(QColor(w.pixel(2, 1)), QColor(Qt::white));
    const QByteArray written = write(doc);
    EXPECT_EQ(written.count("\\pngblip"), 2);
    QTextDocument back;
    load(back, written);
    ASSERT_EQ(picturesOf(back).size(), 2u);
    EXPECT_TRUE(samePixels(picturesOf(back)[0].image, d));
    EXPECT_TRUE(samePixels(picturesOf(back)[1].image, w));
}

TEST(RtfPictures, MetafilesKeepTheirBytesAndShowAFrameOfTheirSize) {
    const QByteArray emf = sampleEmf(2540, 1270); // 1 x 0.5 inch
    const QByteArray wmf = QByteArray::fromHex("010009000003220000000000"
                                               "030000000000");
    QTextDocument doc;
    load(doc, "{\\rtf1{\\pict\\emfblip " + hex(emf) + "}"
              "{\\pict\\wmetafile8\\picw5080\\pich2540\\picwgoal1440\\pichgoal720 " + hex(wmf) + "}}");
    const auto pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_EQ(pics[0].format.property(kMetafileBytesProperty).toByteArray(), emf);
    EXPECT_DOUBLE_EQ(pics[0].format.width(), 96) << "from the metafile's own frame";
    EXPECT_DOUBLE_EQ(pics[0].format.height(), 48);
    EXPECT_EQ(pics[1].format.property(kMetafileBytesProperty).toByteArray(), wmf);
    EXPECT_DOUBLE_EQ(pics[1].format.width(), 96) << "the goal size wins";
    EXPECT_EQ(pics[1].image.size(), QSize(96, 48));

    const QByteArray written = write(doc);
    EXPECT_TRUE(written.contains("\\emfblip"));
    EXPECT_TRUE(written.contains("\\wmetafile8\\picw5080\\pich2540"));
    EXPECT_TRUE(unwrapped(written).contains(hex(emf)));
    EXPECT_TRUE(unwrapped(written).contains(hex(wmf)));
}

TEST(RtfPictures, AMetafileAddedByTheEditorIsWrittenFromItsBytes) {
    // The editor marks pasted metafiles with the bytes property only.
    QTextDocument doc;
    QImage frame(40, 20, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    QTextImageFormat f;
    f.setName("pasted");
    f.setWidth(40);
    f.setHeight(20);
    const QByteArray emf = sampleEmf(1058, 529);
    f.setProperty(kMetafileBytesProperty, emf);
    doc.addResource(QTextDocument::ImageResource, QUrl("pasted"), frame);
    QTextCursor(&doc).insertImage(f);
    QTextDocument back;
    load(back, write(doc));
    ASSERT_EQ(picturesOf(back).size(), 1u);
    EXPECT_EQ(picturesOf(back)[0].format.property(kMetafileBytesProperty).toByteArray(), emf);
    EXPECT_DOUBLE_EQ(picturesOf(back)[0].format.width(), 40);
}

TEST(RtfPictures, OnlyTheFirstAlternativeAndTheResultOfAnObjectShow) {
    const QImage image = sampleImage(4, 4, 5);
    QTextDocument doc;
    load(doc, "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip " + hex(pngBytes(image)) +
                  "}}{\\nonshppict{\\pict\\wmetafile8\\picw100\\pich100 0100}}b"
                  "{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw100\\objh100{\\*\\objdata 0105000002000000}"
                  "{\\result{\\pict\\wmetafile8\\picw100\\pich100\\picwgoal300\\pichgoal300 01000900}}}c"
                  "{\\object\\objemb{\\objdata 41424344}{\\result x}}}");
    const auto pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_TRUE(samePixels(pics[0].image, image));
    EXPECT_TRUE(pics[1].format.hasProperty(kMetafileBytesProperty));
    EXPECT_EQ(plainText(doc), "abcx") << "object data is never text";
}

TEST(RtfPictures, JpegDataThatCannotBeDecodedIsKeptAsItCame) {
    const QByteArray cut = jpegBytes(sampleImage(16, 16, 4)).left(40);
    QTextDocument doc;
    load(doc, "{\\rtf1 a{\\pict\\jpegblip\\picw16\\pich16\\picwgoal480\\pichgoal240 " + hex(cut) + "}b}");
    const auto pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 1u) << "a picture the user cannot see is still the user's";
    EXPECT_DOUBLE_EQ(pics[0].format.width(), 32);
    EXPECT_EQ(pics[0].image.size(), QSize(32, 16)) << "an empty frame of its size";
    const QByteArray written = write(doc);
    EXPECT_TRUE(written.contains("\\jpegblip"));
    EXPECT_TRUE(unwrapped(written).contains(hex(cut)));
}

TEST(RtfPictures, DataThatIsNoPictureIsLeftOut) {
    QTextDocument doc;
    load(doc, "{\\rtf1 a{\\pict\\pngblip 0102030405}{\\pict\\macpict 0102}{\\pict 00}"
              "{\\pict\\dibitmap0 28000000}{\\pict\\wbitmap0\\picw99999\\pich99999 00}b}");
    EXPECT_TRUE(picturesOf(doc).empty());
    EXPECT_EQ(plainText(doc), "ab");
}

TEST(RtfPictures, ImagesPastTheDecodingBudgetKeepTheirBytesAndShowAFrame) {
    // A tiny PNG or JPEG can stand for a huge image; past the budget the data is not decoded.
    const QImage image = sampleImage(16, 16, 6);
    PictureData png;
    png.kind = PictureData::Kind::Png;
    png.bytes = pngBytes(image);
    png.picw = png.pich = 16;
    PictureData jpeg = png;
    jpeg.kind = PictureData::Kind::Jpeg;
    jpeg.bytes = jpegBytes(image);
    FrameBudget budget;
    budget.imageBytesLeft = 16 * 16 * 4 + 100; // room for one
    PictureData first = png;
    const Picture decoded = makePicture(first, budget);
    EXPECT_TRUE(samePixels(decoded.image, image));
    for (PictureData data : {png, jpeg}) {
        const QByteArray bytes = data.bytes;
        const Picture kept = makePicture(data, budget);
        ASSERT_FALSE(kept.image.isNull()) << "the picture stays in the document";
        EXPECT_FALSE(samePixels(kept.image, image)) << "but is not decoded";
        EXPECT_EQ(kept.image.size(), QSize(16, 16)) << "an empty frame of its size";
        EXPECT_EQ(kept.format.property(kPictureBytesProperty).toByteArray(), bytes);
        // Written back as it came.
        QTextDocument doc;
        QTextImageFormat f = kept.format;
        f.setName("kept");
        doc.addResource(QTextDocument::ImageResource, QUrl("kept"), kept.image);
        QTextCursor(&doc).insertImage(f);
        EXPECT_TRUE(unwrapped(write(doc)).contains(hex(bytes)));
    }
}
