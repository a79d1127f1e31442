#include "rtftest.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

TEST(RtfMalformed, UnbalancedBracesReadWhatIsThere) {
    EXPECT_EQ(readText("{\\rtf1 open {\\b groups {\\i never close"), "open groups never close");
    EXPECT_EQ(readText("{\\rtf1 a}} b}"), "a") << "text after the document's group is not read";
    EXPECT_EQ(readText("{\\rtf1 a{\\b b}}}}}c"), "ab");
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1 a{\\pict\\pngblip 8950"), doc));
    EXPECT_EQ(plainText(doc), "a") << "a picture cut short is no picture";
}

TEST(RtfMalformed, TruncatedEscapesYieldNothing) {
    EXPECT_EQ(readText("{\\rtf1 a\\'4"), "a");
    EXPECT_EQ(readText("{\\rtf1 a\\'"), "a");
    EXPECT_EQ(readText("{\\rtf1 a\\'zzb}"), "azzb");
    EXPECT_EQ(readText("{\\rtf1 a\\"), "a");
    EXPECT_EQ(readText("{\\rtf1 a\\u"), "a");
    EXPECT_EQ(readText("{\\rtf1 a\\u-"), "a");
}

TEST(RtfMalformed, OddHexDigitsInAPictureDropTheLastHalfByte) {
    const QImage image = sampleImage(3, 3, 2);
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1{\\pict\\pngblip " + hex(pngBytes(image)) + "f}}"), doc));
    ASSERT_EQ(picturesOf(doc).size(), 1u);
    EXPECT_TRUE(samePixels(picturesOf(doc)[0].image, image));
}

TEST(RtfMalformed, HugeBinaryLengthsStopAtTheEndOfTheInput) {
    EXPECT_EQ(readText("{\\rtf1 a{\\pict\\bin2147483647 xyz}b}"), "a");
    EXPECT_EQ(readText("{\\rtf1 a\\bin99999999999999999999 xyz}"), "a");
    EXPECT_EQ(readText("{\\rtf1 a\\bin-5 xyz}"), "axyz") << "a negative length is no data";
    EXPECT_EQ(readText("{\\rtf1 a\\bin3 }}}b}"), "ab") << "binary bytes are not braces";
}

TEST(RtfMalformed, ParametersOutOfRangeAreClamped) {
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1{\\colortbl;\\red999\\green-5\\blue256;}"
                                    "\\fs99999999999 a\\fs-4 b\\cf-3 c\\cf1 d\\li-99999999999\\fi2147483648"
                                    "{\\uc99999999 \\u65 xyz}\\u99999 e\\u-99999 f\\f-7 g\\par}"),
                     doc));
    EXPECT_DOUBLE_EQ(formatAt(doc, 0).fontPointSize(), 1638);
    EXPECT_DOUBLE_EQ(formatAt(doc, 1).fontPointSize(), 12) << "a size of zero or less is the default";
    EXPECT_EQ(formatAt(doc, 2).foreground().style(), Qt::NoBrush);
    EXPECT_EQ(formatAt(doc, 3).foreground().color(), QColor(255, 0, 255));
    EXPECT_EQ(doc.begin().blockFormat().leftMargin(), -2112);
    EXPECT_EQ(doc.begin().blockFormat().textIndent(), 2112);
    // \uc is held to a small count; \u past 16 bits is a replacement character.
    EXPECT_EQ(plainText(doc), QString("abcdA") + QChar(0xFFFD) + QChar(0xFFFD) + "g");
}

TEST(RtfMalformed, DeepNestingIsPassedOverQuickly) {
    for (int depth : {999, 1000, 1001, 200000}) {
        QByteArray rtf = "{\\rtf1 a";
        rtf += QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "b}";
        QElapsedTimer t;
        t.start();
        const QString text = readText(rtf);
        EXPECT_LT(t.elapsed(), 2000) << depth;
        // The document's group is level one: 999 more levels still read, deeper text does not.
        EXPECT_EQ(text, depth <= 999 ? "adeepb" : "ab") << depth;
    }
    // Opened and never closed.
    EXPECT_EQ(readText("{\\rtf1 a" + QByteArray(500000, '{') + "x"), "a");
}

TEST(RtfMalformed, LongWordsAndControlBytesAreHarmless) {
    EXPECT_EQ(readText("{\\rtf1 a\\" + QByteArray(100000, 'b') + " c}"), "ac");
    EXPECT_EQ(readText("{\\rtf1 a\\b" + QByteArray(5000, '9') + " c}"), "ac");
    static const char withControls[] = "{\\rtf1 a\0b\x01\x7f\tc\\'00\\'0d\\'09d}";
    EXPECT_EQ(readText(QByteArray(withControls, sizeof withControls - 1)), "ab\x7f\tc\td");
    // Qt's own structure characters must not get into the text.
    EXPECT_EQ(readText("{\\rtf1 a\\u8233?\\u65532?\\u-560?\\u-559?b}"), "ab");
}

TEST(RtfMalformed, AFieldWithAHugeInstructionAndEndlessResultsReadsQuickly) {
    // The instruction is looked at once per field, not once per result group.
    for (const QByteArray& instruction :
         {"PAGE " + QByteArray(300000, 'x'), "HYPERLINK \"http://example.org/\" " + QByteArray(300000, ' ')}) {
        QByteArray rtf = "{\\rtf1{\\field{\\*\\fldinst " + instruction + "}";
        for (int i = 0; i < 30000; ++i)
            rtf += "{\\fldrslt r}";
        rtf += "}}";
        QElapsedTimer t;
        t.start();
        QTextDocument doc;
        ASSERT_TRUE(read(QByteArrayView(rtf), doc));
        EXPECT_LT(t.elapsed(), 5000) << instruction.left(9).constData();
        EXPECT_EQ(plainText(doc), QString(30000, u'r'));
        EXPECT_EQ(formatAt(doc, 29999).isAnchor(), instruction.startsWith("HYPERLINK"));
        if (instruction.startsWith("HYPERLINK")) {
            EXPECT_EQ(formatAt(doc, 29999).anchorHref(), "http://example.org/");
        }
    }
}

TEST(RtfMalformed, FoundByFuzzingReadWithoutFault) {
    const QDir dir(dataDir() + "/crashers");
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        const QByteArray data = testData("crashers/" + name);
        QTextDocument doc;
        read(QByteArrayView(data), doc);
        // What is written from it reads back to the same document.
        const QByteArray once = write(doc);
        QTextDocument again;
        ASSERT_TRUE(read(QByteArrayView(once), again)) << name.toStdString();
        EXPECT_EQ(write(again), once) << name.toStdString();
    }
}

TEST(RtfMalformed, TheFailCorpusIsRefused) {
    const QDir dir(dataDir() + "/fail");
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_GE(files.size(), 4);
    for (const QString& name : files) {
        QTextDocument doc;
        EXPECT_FALSE(read(QByteArrayView(testData("fail/" + name)), doc)) << name.toStdString();
        EXPECT_TRUE(doc.isEmpty());
    }
}

TEST(RtfMalformed, CodePagesThatDecodeToLineEndsMakeNoParagraphs) {
    // In an EBCDIC code page "%" is a line feed and "\x0d" a carriage return.
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1\\ansi\\ansicpg1025 \xc1%%\\'0d\\'25\xc2}"), doc));
    EXPECT_EQ(doc.blockCount(), 1);
    EXPECT_EQ(plainText(doc), "AB");
}

TEST(RtfMalformed, ListTablesAndCountsStayWithinBounds) {
    const QByteArray tables =
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelstartat99999999999{\\leveltext\\'02\\'00.;}}\\listid1}"
        "{\\list{\\listlevel{\\leveltext " + QByteArray(1000, 'x') + ";}}\\listid2}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}";
    EXPECT_EQ(readText(tables + "\\pard\\ls1 a\\par b\\par\\ls1\\ilvl99 c\\par\\pard\\ls-3 d\\par\\pard\\ls2 e\\par}"),
              "32767.\ta\r\n32768.\tb\r\nc\r\nd\r\n" + QString(64, u'x') + "\te")
        << "a start value is held to 32767, a level the list lacks has no label, a label to 64 characters";
}
