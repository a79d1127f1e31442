#include "rtftest.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

namespace {

const QStringList kTexts = {
    QStringLiteral("plain words "), QString::fromUtf8("café naïve œuvre € "),
    QString::fromUtf8("Привет, мир "), QString::fromUtf8("Ελληνικά "), QString::fromUtf8("日本語のテキスト "),
    QString::fromUtf8("😀 emoji 🎉 "), QStringLiteral("braces {} and \\ backslash "),
    QString::fromUtf8("tab\there nbsp\u00a0soft\u00adhyphen\u2011 "), QString::fromUtf8("line\u2028break "),
    QString::fromUtf8("quotes “”‘’ — – • "), QString::fromUtf8("ąčęėįšųūž "), QString::fromUtf8("עברית ")};

struct Face {
    const char* name;
    int charset;
};
const Face kFaces[] = {{"Arial", 0}, {"Times New Roman", 0}, {"Arial CYR", 204}, {"MS Gothic", 128},
                       {"Courier New", 238}, {"Symbol", 2}};

QTextCharFormat randomFormat(QRandomGenerator& rng) {
    QTextCharFormat f;
    const Face& face = kFaces[rng.bounded(int(std::size(kFaces)))];
    f.setFontFamilies(QStringList{face.name});
    if (face.charset)
        f.setProperty(kCharsetProperty, face.charset);
    f.setFontPointSize(rng.bounded(2, 145) / 2.0);
    if (rng.bounded(2))
        f.setFontWeight(QFont::Bold);
    f.setFontItalic(rng.bounded(3) == 0);
    f.setFontUnderline(rng.bounded(3) == 0);
    f.setFontStrikeOut(rng.bounded(5) == 0);
    if (rng.bounded(2))
        f.setForeground(QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
    if (rng.bounded(4) == 0)
        f.setBackground(QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
    if (rng.bounded(8) == 0)
        f.setVerticalAlignment(rng.bounded(2) ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
    if (rng.bounded(8) == 0) {
        f.setAnchor(true);
        f.setAnchorHref(QStringLiteral("http://example.org/page%1?q=\"x\"").arg(rng.bounded(3)));
    }
    return f;
}

void addPicture(QTextDocument& doc, QTextCursor& c, QRandomGenerator& rng, int serial) {
    QTextImageFormat f;
    f.setName(QStringLiteral("made:%1").arg(serial));
    const int kind = rng.bounded(3);
    const int w = rng.bounded(1, 40), h = rng.bounded(1, 30);
    if (kind == 0) { // a bitmap
        doc.addResource(QTextDocument::ImageResource, QUrl(f.name()), sampleImage(w, h, serial));
    } else if (kind == 1) { // a picture read from JPEG data keeps its bytes
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        sampleImage(w, h, serial).save(&buffer, "JPEG");
        QImage image;
        image.loadFromData(jpeg);
        doc.addResource(QTextDocument::ImageResource, QUrl(f.name()), image);
        f.setProperty(kPictureBytesProperty, jpeg);
        f.setProperty(kPictureKeyProperty, image.cacheKey());
    } else { // a metafile
        QImage frame(w, h, QImage::Format_ARGB32);
        frame.fill(Qt::transparent);
        doc.addResource(QTextDocument::ImageResource, QUrl(f.name()), frame);
        f.setProperty(kMetafileBytesProperty, sampleEmf(w * 2540 / 96, h * 2540 / 96));
    }
    f.setWidth(rng.bounded(1, 300));
    f.setHeight(rng.bounded(1, 300));
    c.insertImage(f);
}

void randomDocument(QTextDocument& doc, quint32 seed) {
    QRandomGenerator rng(seed);
    QTextCursor c(&doc);
    const int paragraphs = rng.bounded(1, 8);
    int serial = 0;
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            c.insertBlock();
        QTextBlockFormat b;
        static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
        b.setAlignment(kAlign[rng.bounded(4)]);
        if (rng.bounded(3) == 0)
            b.setLeftMargin(rng.bounded(0, 100));
        if (rng.bounded(4) == 0) {
            b.setRightMargin(rng.bounded(0, 50));
            b.setTextIndent(rng.bounded(-30, 30));
        }
        if (rng.bounded(4) == 0) {
            b.setTopMargin(rng.bounded(0, 20));
            b.setBottomMargin(rng.bounded(0, 20));
        }
        switch (rng.bounded(6)) { // proportional heights in steps that twips hold exactly
        case 0: b.setLineHeight(rng.bounded(21, 60) * 5, QTextBlockFormat::ProportionalHeight); break;
        case 1: b.setLineHeight(rng.bounded(10, 40), QTextBlockFormat::MinimumHeight); break;
        case 2: b.setLineHeight(rng.bounded(10, 40), QTextBlockFormat::FixedHeight); break;
        default: break;
        }
        c.setBlockFormat(b);
        const int runs = rng.bounded(0, 6);
        for (int r = 0; r < runs; ++r) {
            if (rng.bounded(6) == 0)
                addPicture(doc, c, rng, ++serial);
            else
                c.insertText(kTexts[rng.bounded(int(kTexts.size()))], randomFormat(rng));
        }
    }
}

QString compareDocuments(const QTextDocument& a, const QTextDocument& b) {
    if (describe(a) != describe(b))
        return "formats differ:\n" + describe(a) + "\n----\n" + describe(b);
    const auto pa = picturesOf(a), pb = picturesOf(b);
    if (pa.size() != pb.size())
        return "picture count differs";
    for (size_t i = 0; i < pa.size(); ++i) {
        const QVariant metafile = pa[i].format.property(kMetafileBytesProperty);
        if (metafile != pb[i].format.property(kMetafileBytesProperty))
            return QStringLiteral("picture %1 metafile bytes differ").arg(i);
        // A metafile shows as a frame until metafiles are drawn: its bytes are what counts.
        if (!metafile.isValid() && !samePixels(pa[i].image, pb[i].image))
            return QStringLiteral("picture %1 pixels differ").arg(i);
    }
    return {};
}

} // namespace

TEST(RtfRoundTrip, GeneratedDocumentsReadBackTheSameAndWriteTheSameBytes) {
    for (quint32 seed = 1; seed <= 150; ++seed) {
        QTextDocument doc;
        randomDocument(doc, seed);
        const QByteArray once = write(doc);
        for (char ch : once)
            ASSERT_TRUE(uchar(ch) < 0x80) << "RTF is written as 7-bit text, seed " << seed;
        QTextDocument back;
        ASSERT_TRUE(read(QByteArrayView(once), back));
        const QString diff = compareDocuments(doc, back);
        ASSERT_TRUE(diff.isEmpty()) << "seed " << seed << ": " << diff.toStdString() << "\n" << once.constData();
        EXPECT_EQ(plainText(back), plainText(doc));
        EXPECT_EQ(write(back), once) << "seed " << seed;
    }
}

TEST(RtfRoundTrip, EmptyParagraphsAndAnEmptyDocumentSurvive) {
    for (const char* text : {"", "\n", "a\n", "\na", "a\n\n\nb\n\n"}) {
        QTextDocument doc;
        doc.setPlainText(QString::fromLatin1(text));
        QTextDocument back;
        ASSERT_TRUE(read(write(doc), back));
        EXPECT_EQ(back.toPlainText(), doc.toPlainText()) << "'" << text << "'";
    }
}

TEST(RtfWriter, HeaderTablesAndEscapes) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat red;
    red.setFontFamilies(QStringList{"Verdana"});
    red.setFontPointSize(11);
    red.setForeground(QColor(255, 0, 0));
    red.setBackground(QColor(0, 0, 255));
    c.insertText("x", red);
    QTextCharFormat plain;
    plain.setFontPointSize(11);
    c.insertText(QString::fromUtf8("é€Ж😀{\\}"), plain);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centred);
    c.insertText("c", plain);
    const QByteArray out = write(doc);
    EXPECT_TRUE(out.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 ")) << out.constData();
    EXPECT_TRUE(out.contains("\\fnil\\fcharset0 Verdana;}")) << out.constData();
    EXPECT_TRUE(out.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}")) << out.constData();
    EXPECT_TRUE(out.contains("\\viewkind4\\uc1")) << out.constData();
    EXPECT_TRUE(out.contains("\\cf1\\highlight2 x")) << out.constData();
    EXPECT_TRUE(out.contains("\\cf0\\highlight0\\'e9\\'80\\u1046?\\u-10179?\\u-8704?\\{\\\\\\}")) << out.constData();
    EXPECT_TRUE(out.contains("\\par\r\n\\pard\\qc")) << out.constData();
    EXPECT_TRUE(out.endsWith("\\par\r\n}")) << out.constData();
}

TEST(RtfWriter, FromPlainTextAsTheConverterDoes) {
    QTextDocument doc;
    doc.setPlainText(QString::fromUtf8("first line\nsecond\tline é"));
    QTextDocument back;
    ASSERT_TRUE(read(write(doc), back));
    EXPECT_EQ(plainText(back), QString::fromUtf8("first line\r\nsecond\tline é"));
}

TEST(RtfLongParagraphs, AreHeldInPiecesAndWrittenBackAsOneParagraph) {
    // An unbroken word of 20,000 characters (surrogate pairs among them) in a paragraph with
    // its own format, a paragraph of 10,000 characters of words, and short ones around them.
    QString word;
    while (word.size() < 20000)
        word += QString::fromUtf8("x😀");
    QString words;
    while (words.size() < 10000)
        words += QStringLiteral("some words ");
    const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 first\\par "
                            "\\pard\\qc\\fi300\\sb100\\sa200 ";
    QByteArray body;
    for (const QChar c : word)
        body += c.unicode() < 128 ? QByteArray(1, char(c.unicode()))
                                  : "\\u" + QByteArray::number(qint16(c.unicode())) + "?";
    const QByteArray all = head + body + "\\par\\pard " + words.toLatin1() + "\\par last\\par}";

    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView(all), doc));
    const QString expected = "first\r\n" + word + "\r\n" + words + "\r\nlast";
    EXPECT_EQ(plainText(doc), expected);
    EXPECT_EQ(doc.blockCount(), 2 + 5 + 3);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        EXPECT_LE(b.length() - 1, kPieceLength);
        EXPECT_FALSE(b.text().endsWith(QChar(0xD83D))) << "a surrogate pair was cut";
    }
    // The paragraph's format is read back whole from what is written.
    QTextDocument back;
    ASSERT_TRUE(read(write(doc), back));
    EXPECT_EQ(plainText(back), expected);
    const QTextBlockFormat f = back.begin().next().blockFormat();
    EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(f.textIndent(), 20.0);
    EXPECT_DOUBLE_EQ(f.topMargin(), 100 / 15.0);
    QTextBlock lastPiece = back.begin().next();
    while (continuesParagraph(lastPiece.next()))
        lastPiece = lastPiece.next();
    EXPECT_DOUBLE_EQ(lastPiece.blockFormat().bottomMargin(), 200 / 15.0);
    EXPECT_EQ(write(back), write(doc));

    // Plain text is held the same way.
    QTextDocument plain;
    setPlainText(plain, "a\r\n" + word + "\nb");
    EXPECT_EQ(plainText(plain), "a\r\n" + word + "\r\nb");
    EXPECT_GT(plain.blockCount(), 3);
}
