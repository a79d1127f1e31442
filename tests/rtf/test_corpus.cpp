#include "rtftest.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

namespace {

QStringList passFiles() {
    const QDir dir(dataDir() + "/pass");
    return dir.entryList({"*.rtf"}, QDir::Files);
}

QString expectedText(const QString& rtfName) {
    QString name = rtfName;
    name.replace(".rtf", ".txt");
    QString text = QString::fromUtf8(testData("pass/" + name));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// LibreOffice's text export ends every paragraph with a line feed, indents list items and
// puts each table cell on a line of its own; this reader gives a bullet and a tab, and a
// table row as one line of tab-separated cells. Both are brought to lines of single-spaced
// text before they are compared.
QStringList normalisedLines(const QString& text, bool ours) {
    QStringList out;
    const QStringList lines = text.split(ours ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!ours && i == lines.size() - 1 && line.isEmpty())
            break;
        if (ours && line.contains(u'\t') && !line.startsWith(QChar(0x2022))) {
            for (const QString& cell : line.split(u'\t'))
                out << cell.simplified();
        } else {
            out << line.simplified();
        }
    }
    return out;
}

QTextDocument* loadPass(QTextDocument& doc, const QString& name) {
    EXPECT_TRUE(read(QByteArrayView(testData("pass/" + name)), doc)) << name.toStdString();
    return &doc;
}

} // namespace

TEST(RtfCorpus, EveryPassFileReadsToItsExpectedText) {
    const QStringList files = passFiles();
    ASSERT_GE(files.size(), 10);
    for (const QString& name : files) {
        QTextDocument doc;
        loadPass(doc, name);
        const QString expected = expectedText(name);
        ASSERT_FALSE(expected.isEmpty()) << name.toStdString();
        if (name.startsWith("lo-"))
            EXPECT_EQ(normalisedLines(plainText(doc), true), normalisedLines(expected, false)) << name.toStdString();
        else
            EXPECT_EQ(plainText(doc), QString(expected).replace("\n", "\r\n")) << name.toStdString();
    }
}

TEST(RtfCorpus, EveryPassFileSurvivesWritingAndReadingBack) {
    for (const QString& name : passFiles()) {
        QTextDocument doc;
        loadPass(doc, name);
        const QByteArray once = write(doc);
        QTextDocument back;
        ASSERT_TRUE(read(QByteArrayView(once), back));
        EXPECT_EQ(describe(back), describe(doc)) << name.toStdString();
        EXPECT_EQ(plainText(back), plainText(doc)) << name.toStdString();
        const auto pa = picturesOf(doc), pb = picturesOf(back);
        ASSERT_EQ(pa.size(), pb.size()) << name.toStdString();
        for (size_t i = 0; i < pa.size(); ++i) {
            EXPECT_EQ(pa[i].format.property(kMetafileBytesProperty), pb[i].format.property(kMetafileBytesProperty));
            if (!pa[i].format.hasProperty(kMetafileBytesProperty)) {
                EXPECT_TRUE(samePixels(pa[i].image, pb[i].image)) << name.toStdString();
            }
        }
        EXPECT_EQ(write(back), once) << name.toStdString();
    }
}

TEST(RtfCorpus, RichEditSampleKeepsItsFormats) {
    QTextDocument doc;
    loadPass(doc, "riched-basic.rtf");
    const QString text = doc.toPlainText();
    const QTextCharFormat time = formatAt(doc, int(text.indexOf("10:00")));
    EXPECT_EQ(time.fontWeight(), QFont::Bold);
    EXPECT_EQ(family(time), "Arial");
    EXPECT_DOUBLE_EQ(time.fontPointSize(), 10);
    EXPECT_EQ(formatAt(doc, int(text.indexOf("Anna"))).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(doc, int(text.indexOf("Bob"))).fontUnderline(), true);
    EXPECT_EQ(formatAt(doc, int(text.indexOf("today"))).background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(doc, int(text.indexOf("Bring"))).fontWeight(), QFont::Normal);
    EXPECT_DOUBLE_EQ(doc.findBlockByNumber(1).blockFormat().leftMargin(), 48);
    EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(formatAt(doc, int(text.indexOf("centred"))).fontItalic());
    EXPECT_EQ(doc.findBlockByNumber(4).blockFormat().alignment(), Qt::AlignRight);
    EXPECT_DOUBLE_EQ(formatAt(doc, int(text.indexOf("caf"))).fontPointSize(), 14);
}

TEST(RtfCorpus, PastedMetafileAndOleObjectKeepTheirPictures) {
    const QByteArray wmf = testData("wmf-sample.bin");
    ASSERT_FALSE(wmf.isEmpty());
    QTextDocument doc;
    loadPass(doc, "riched-wmf.rtf");
    auto pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(pics[0].format.property(kMetafileBytesProperty).toByteArray(), wmf);
    EXPECT_DOUBLE_EQ(pics[0].format.width(), 200);
    EXPECT_DOUBLE_EQ(pics[0].format.height(), 100);
    const QByteArray written = write(doc);
    EXPECT_TRUE(written.contains("\\wmetafile8\\picw5292\\pich2646\\picwgoal3000\\pichgoal1500"));
    EXPECT_TRUE(unwrapped(written).contains(wmf.toHex()));

    loadPass(doc, "riched-ole.rtf");
    pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_EQ(pics[0].format.property(kMetafileBytesProperty).toByteArray(), wmf) << "the object's result";
    EXPECT_DOUBLE_EQ(pics[0].format.width(), 100);
    EXPECT_FALSE(pics[1].image.isNull());
    EXPECT_EQ(pics[1].image.size(), QSize(4, 3));
    EXPECT_DOUBLE_EQ(pics[1].format.width(), 4);
}

TEST(RtfCorpus, LibreOfficeLetterKeepsFormatsLinksAndAlignment) {
    QTextDocument doc;
    loadPass(doc, "lo-letters.rtf");
    const QString text = doc.toPlainText();
    EXPECT_EQ(formatAt(doc, int(text.indexOf("Anna"))).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, int(text.indexOf("italic"))).fontItalic());
    EXPECT_TRUE(formatAt(doc, int(text.indexOf("underlined"))).fontUnderline());
    EXPECT_TRUE(formatAt(doc, int(text.indexOf("struck"))).fontStrikeOut());
    EXPECT_EQ(formatAt(doc, int(text.indexOf("red"))).foreground().color(), QColor(0xc0, 0, 0));
    EXPECT_EQ(formatAt(doc, int(text.indexOf("highlighted"))).background().color(), QColor(0xff, 0xff, 0));
    EXPECT_EQ(family(formatAt(doc, int(text.indexOf("monospace")))), "Courier New");
    EXPECT_EQ(doc.findBlock(int(text.indexOf("A centred"))).blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(doc.findBlock(int(text.indexOf("A right"))).blockFormat().alignment(), Qt::AlignRight);
    EXPECT_EQ(doc.findBlock(int(text.indexOf("A justified"))).blockFormat().alignment(), Qt::AlignJustify);
    const QTextCharFormat link = formatAt(doc, int(text.indexOf("documentation")));
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), "http://example.org/docs");
    EXPECT_EQ(formatAt(doc, int(text.lastIndexOf("Anna"))).anchorHref(), "mailto:anna@example.org");
}

TEST(RtfCorpus, LibreOfficePictureIsTheOriginalImage) {
    QImage original;
    ASSERT_TRUE(original.loadFromData(testData("lo-sources/pic.png")));
    QTextDocument doc;
    loadPass(doc, "lo-pictures.rtf");
    const auto pics = picturesOf(doc);
    ASSERT_EQ(pics.size(), 1u) << "the first of the picture's alternatives only";
    EXPECT_TRUE(samePixels(pics[0].image, original));
    EXPECT_DOUBLE_EQ(pics[0].format.width(), 80);
    EXPECT_DOUBLE_EQ(pics[0].format.height(), 48);
}
