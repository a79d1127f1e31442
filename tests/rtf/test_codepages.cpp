#include "rtftest.h"

#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

// The same bytes mean different letters in each code page; each sample checks one.
TEST(RtfCodePages, TheDocumentCodePageDecodesEscapedBytes) {
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg1250 \\'9e\\'e9\\'b9\\'ec}"), QString::fromUtf8("žéąě"));
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}"), QString::fromUtf8("Привет"));
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg1252 \\'80\\'e9\\'9c\\'93x\\'94}"), QString::fromUtf8("€éœ“x”"));
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b\\'8c\\'ea}"), QString::fromUtf8("日本語"));
    EXPECT_EQ(readText("{\\rtf1\\ansi \\'e9}"), QString::fromUtf8("é")) << "no code page given: 1252";
}

TEST(RtfCodePages, TheFontsCharacterSetWinsOverTheDocument) {
    const char* rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                      "{\\f1\\fswiss\\fcharset238 Arial CE;}{\\f2\\fswiss\\fcharset204 Arial CYR;}"
                      "{\\f3\\fnil\\fcharset128 MS Gothic;}{\\f4\\fnil\\fcharset1 Any;}}"
                      "\\'e8 \\f1\\'e8 \\f2\\'e8 \\f3\\'82\\'a0 \\f4\\'e8}";
    EXPECT_EQ(readText(rtf), QString::fromUtf8("è č и あ è"))
        << "1252, 1250, 1251, 932, then the default set falling back to the document's page";
}

TEST(RtfCodePages, DefaultCharacterSetUsesTheDocumentPage) {
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fnil Courier;}}\\f0 \\'e4\\'e0}"),
              QString::fromUtf8("да"));
}

TEST(RtfCodePages, DoubleByteCharactersMayBorrowALiteralTrailByte) {
    // In 932 "ア" is 83 41: writers put the trail byte as the plain letter "A".
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg932 \\'83A\\'83\\'43}"), QString::fromUtf8("アイ"));
    // Raw 8-bit text (no escapes) is read in the code page too.
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}"), QString::fromUtf8("При"));
}

TEST(RtfCodePages, UndecodableBytesBecomeReplacementCharacters) {
    // 0x85 alone is a lead byte cut short; 0xA0 0x41 is an unused half-width area.
    const QString text = readText("{\\rtf1\\ansi\\ansicpg932 a\\'85}");
    ASSERT_EQ(text.size(), 2);
    EXPECT_EQ(text[0], u'a');
    EXPECT_EQ(text[1], QChar(0xFFFD));
    EXPECT_EQ(readText("{\\rtf1\\ansi\\ansicpg1253 \\'e1\\'e2}"), QString::fromUtf8("αβ"));
}

TEST(RtfCodePages, FontNamesAreDecodedInTheirOwnCharacterSet) {
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 "
                                    "\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\\f0 x}"),
                     doc));
    EXPECT_EQ(family(formatAt(doc, 0)), QString::fromUtf8("ＭＳ 明朝"));
    EXPECT_EQ(formatAt(doc, 0).intProperty(kCharsetProperty), 128);
}

TEST(RtfCodePages, WritingNonAnsiFontsUsesUnicodeEscapes) {
    // \'hh would be read in the font's code page: a Cyrillic font's é must go as \u233.
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial CYR;}}"
                                    "\\f0 \\'e9\\f1\\u233?\\'e9}"),
                     doc));
    ASSERT_EQ(plainText(doc), QString::fromUtf8("ééй"));
    const QByteArray out = write(doc);
    EXPECT_TRUE(out.contains("\\'e9")) << out.constData();
    EXPECT_TRUE(out.contains("\\u233?\\u1081?")) << out.constData();
    EXPECT_EQ(readText(out), QString::fromUtf8("ééй"));
}
