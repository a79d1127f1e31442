#include "rtftest.h"

#include "rtf/numbering.h"

#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

namespace {

// Paragraphs of the plain text, one string each.
QStringList paragraphs(const QByteArray& rtf) { return readText(rtf).split(QStringLiteral("\r\n")); }

// A list table as Word writes it: list 10 numbers "1." and under it "a)"; list 20 is
// bulleted in Symbol; list 30 numbers "I." from 4 with legal "4.1" below; override 2
// starts list 10 again at 5; \ls9 names a list the table does not have.
const QByteArray kTables =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
    "{\\*\\listtable"
    "{\\list\\listtemplateid1"
    "{\\listlevel\\levelnfc0\\levelnfcn0\\leveljc0\\levelfollow0\\levelstartat1{\\leveltext\\leveltemplateid2\\'02\\'00.;}"
    "{\\levelnumbers\\'01;}\\fi-360\\li720}"
    "{\\listlevel\\levelnfc4\\levelfollow1\\levelstartat1{\\leveltext\\'02\\'01);}{\\levelnumbers\\'01;}}"
    "{\\listname ;}\\listid10}"
    "{\\list\\listsimple{\\listlevel\\levelnfc23\\levelfollow0{\\leveltext\\'01\\u-3913 ?;}\\f1}\\listid20}"
    "{\\list{\\listlevel\\levelnfc1\\levelstartat4{\\leveltext\\'02\\'00.;}}"
    "{\\listlevel\\levelnfc0\\levellegal\\levelfollow2{\\leveltext\\'04\\'00.\\'01 ;}}\\listid30}}"
    "{\\*\\listoverridetable{\\listoverride\\listid10\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid20\\ls2}{\\listoverride\\listid30\\ls3}"
    "{\\listoverride\\listid10\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat5}\\ls4}"
    "{\\listoverride\\listid99\\ls9}}";

} // namespace

TEST(RtfLists, PnNumberingWithoutPntextIsCountedOverAdjacentParagraphs) {
    EXPECT_EQ(paragraphs("{\\rtf1\\ansi\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\fi-360\\li720 "
                         "First\\par Second\\par}"),
              QStringList({"1.\tFirst", "2.\tSecond"}));
    // Styles, a start value, a bullet, and a plain paragraph that ends the run.
    EXPECT_EQ(paragraphs("{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}"
                         "\\pard{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart3{\\pntxtb (}{\\pntxta )}}a\\par b\\par"
                         "\\pard{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart26{\\pntxta .}}c\\par d\\par"
                         "\\pard{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}e\\par"
                         "\\pard plain\\par"
                         "\\pard{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart26{\\pntxta .}}f\\par}"),
              QStringList({"(III)\ta", "(IV)\tb", "z.\tc", "aa.\td", "\u2022\te", "plain", "z.\tf"}));
    // Outline levels: a deeper level starts again under each new item of the level above.
    EXPECT_EQ(paragraphs("{\\rtf1\\pard{\\*\\pn\\pnlvl1\\pndec{\\pntxta .}}A\\par"
                         "\\pard{\\*\\pn\\pnlvl2\\pnlcltr{\\pntxta )}}a\\par b\\par"
                         "\\pard{\\*\\pn\\pnlvl1\\pndec{\\pntxta .}}B\\par"
                         "\\pard{\\*\\pn\\pnlvl2\\pnlcltr{\\pntxta )}}a\\par}"),
              QStringList({"1.\tA", "a)\ta", "b)\tb", "2.\tB", "a)\ta"}));
}

TEST(RtfLists, ListTableNumbersLevelsStartValuesAndRestarts) {
    EXPECT_EQ(paragraphs(kTables + "\\pard\\ls1 one\\par\\ls1\\ilvl1 sub\\par sub\\par"
                                   "\\pard\\ls1 two\\par\\ls1\\ilvl1 sub\\par"
                                   "\\pard\\ls2 dot\\par\\pard not listed\\par"
                                   "\\pard\\ls1 three\\par\\pard\\ls3 roman\\par\\ls3\\ilvl1 legal\\par"
                                   "\\pard\\ls4 again\\par\\ls4 on\\par\\pard\\ls9 none\\par}"),
              QStringList({"1.\tone", "a) sub", "b) sub", "2.\ttwo", "a) sub", "\u2022\tdot",
                           "not listed", "3.\tthree", "IV.\troman", "4.1 legal", "5.\tagain", "6.\ton",
                           "none"}))
        << "a list goes on past other paragraphs; a new item restarts the level below";
}

TEST(RtfLists, AListTextThatHasTextWinsAndTheCountGoesOn) {
    // Word writes the label before the paragraph's own properties; LibreOffice after them.
    EXPECT_EQ(paragraphs(kTables + "{\\listtext\\pard\\plain 7.\\tab}\\pard\\ls1 given\\par"
                                   "\\pard\\ls1{\\listtext\\pard\\plain }made\\par"
                                   "\\pard\\ls1{\\listtext\\pard\\plain\\f0 \\'95\\tab}bullet\\par"
                                   "\\pard\\ls1\\par\\pard\\ls1 last\\par}"),
              QStringList({"7.\tgiven", "2.\tmade", "\u2022\tbullet", "4.\t", "5.\tlast"}))
        << "an empty \\listtext gives no label; an empty list paragraph is numbered too";
}

TEST(RtfLists, TheLabelTakesTheTextsFormatButNotItsLink) {
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView(kTables + "\\pard\\ls1{\\b{\\field{\\*\\fldinst HYPERLINK \"http://x.org/\"}"
                                              "{\\fldrslt link}}}\\par}"),
                     doc));
    EXPECT_EQ(plainText(doc), "1.\tlink");
    EXPECT_EQ(formatAt(doc, 0).fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatAt(doc, 0).isAnchor());
    EXPECT_EQ(formatAt(doc, 3).anchorHref(), "http://x.org/");
    // What is written reads back as the same text, with no second label.
    QTextDocument back;
    ASSERT_TRUE(read(QByteArrayView(write(doc)), back));
    EXPECT_EQ(describe(back), describe(doc));
}

TEST(RtfLists, NumberStyles) {
    const std::pair<int, const char*> roman[] = {{1, "i"}, {4, "iv"}, {9, "ix"}, {14, "xiv"}, {40, "xl"},
                                                {90, "xc"}, {400, "cd"}, {1994, "mcmxciv"}, {3999, "mmmcmxcix"}};
    for (const auto& [n, text] : roman) {
        EXPECT_EQ(formatNumber(n, kLowerRoman), text);
        EXPECT_EQ(formatNumber(n, kUpperRoman), QString(text).toUpper());
    }
    EXPECT_EQ(formatNumber(4000, kUpperRoman), "4000");
    EXPECT_EQ(formatNumber(0, kLowerRoman), "0");
    EXPECT_EQ(formatNumber(1, kUpperLetter), "A");
    EXPECT_EQ(formatNumber(27, kLowerLetter), "aa");
    EXPECT_EQ(formatNumber(53, kLowerLetter), "aaa");
    EXPECT_EQ(formatNumber(780, kLowerLetter), QString(30, u'z'));
    EXPECT_EQ(formatNumber(781, kLowerLetter), "781") << "no endless labels";
    EXPECT_EQ(formatNumber(2147483647, kDecimal), "2147483647");
    EXPECT_EQ(formatNumber(7, kLeadingZero), "07");
    EXPECT_EQ(formatNumber(7, kNoNumber), "");
}
