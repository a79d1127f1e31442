#include "rtftest.h"

#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

namespace {

QTextDocument* load(QTextDocument& doc, const char* rtf) {
    EXPECT_TRUE(read(QByteArrayView(rtf), doc)) << rtf;
    return &doc;
}

} // namespace

TEST(RtfAcceptance, OnlyTextsBeginningWithTheRtfGroupAreRtf) {
    EXPECT_TRUE(looksLikeRtf(QByteArrayView("{\\rtf1 x}")));
    EXPECT_TRUE(looksLikeRtf(QByteArrayView(" \r\n\t{\\rtf")));
    EXPECT_TRUE(looksLikeRtf(QStringLiteral("  {\\rtf1\\ansi}")));
    EXPECT_FALSE(looksLikeRtf(QByteArrayView("x{\\rtf1}")));
    EXPECT_FALSE(looksLikeRtf(QByteArrayView("{\\rt")));
    EXPECT_FALSE(looksLikeRtf(QByteArrayView("{ \\rtf1}")));
    EXPECT_FALSE(looksLikeRtf(QStringLiteral("plain memo")));
    EXPECT_FALSE(looksLikeRtf(QByteArrayView("")));
    // A UTF-8 byte-order mark may come first, as bytes or as the character.
    EXPECT_TRUE(looksLikeRtf(QByteArrayView("\xEF\xBB\xBF{\\rtf1 x}")));
    EXPECT_TRUE(looksLikeRtf(QString::fromLatin1("\xEF\xBB\xBF {\\rtf1 x}")));
    EXPECT_FALSE(looksLikeRtf(QByteArrayView("\xEF\xBB{\\rtf1 x}")));
    EXPECT_EQ(readText("\xEF\xBB\xBF{\\rtf1 marked}"), "marked");
    QTextDocument doc;
    EXPECT_TRUE(read(QChar(0xFEFF) + QStringLiteral("{\\rtf1 marked}"), doc));
    EXPECT_EQ(plainText(doc), "marked");
}

TEST(RtfAcceptance, RefusedTextLeavesTheDocumentEmpty) {
    QTextDocument doc;
    doc.setPlainText("old content");
    EXPECT_FALSE(read(QByteArrayView("hello {\\rtf1 x}"), doc));
    EXPECT_TRUE(doc.isEmpty());
    doc.setPlainText("old content");
    EXPECT_FALSE(read(QStringLiteral("plain text"), doc));
    EXPECT_TRUE(doc.isEmpty());
}

TEST(RtfAcceptance, ReadingReplacesContentAndLeavesNoUndoHistory) {
    QTextDocument doc;
    doc.setPlainText("old");
    QTextCursor(&doc).insertText("typed");
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1 new}"), doc));
    EXPECT_EQ(plainText(doc), "new");
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_TRUE(doc.isUndoRedoEnabled());
}

TEST(RtfAcceptance, TheStringFormReadsCharactersUpToFfAsBytes) {
    QTextDocument doc;
    // \'e9 and a raw 0xE9 byte (as U+00E9) are the same byte; U+0416 cannot be a byte.
    ASSERT_TRUE(read(QString::fromUtf8("{\\rtf1\\ansi caf\\'e9 caf\u00e9 \u0416}"), doc));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("café café Ж"));
}

TEST(RtfCharacters, StylesFollowControlWordsAndGroups) {
    QTextDocument doc;
    load(doc, "{\\rtf1 n{\\b b{\\i bi}b}\\ul u\\ulnone\\uldb d\\ul0\\ulwave w\\ulnone"
              "\\strike s\\strike0\\b\\i\\plain p}");
    EXPECT_EQ(plainText(doc), "nbbibudwsp");
    auto at = [&](int pos) { return formatAt(doc, pos); };
    EXPECT_NE(at(0).fontWeight(), QFont::Bold);
    EXPECT_EQ(at(1).fontWeight(), QFont::Bold);
    EXPECT_TRUE(at(2).fontItalic());
    EXPECT_EQ(at(3).fontWeight(), QFont::Bold);
    EXPECT_FALSE(at(4).fontItalic()) << "the group's italic ends with it";
    EXPECT_EQ(at(4).fontWeight(), QFont::Bold);
    EXPECT_NE(at(5).fontWeight(), QFont::Bold) << "group scoping restores the outer state";
    EXPECT_TRUE(at(5).fontUnderline());
    EXPECT_TRUE(at(6).fontUnderline()) << "double underline reads as underline";
    EXPECT_TRUE(at(7).fontUnderline()) << "wave underline reads as underline";
    EXPECT_TRUE(at(8).fontStrikeOut());
    EXPECT_FALSE(at(8).fontUnderline());
    EXPECT_FALSE(at(9).fontItalic()) << "\\plain resets";
    EXPECT_NE(at(9).fontWeight(), QFont::Bold);
    EXPECT_FALSE(at(9).fontStrikeOut());
}

TEST(RtfCharacters, FaceSizeAndCharacterSetComeFromTheFontTable) {
    QTextDocument doc;
    load(doc, "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
              "{\\f1\\fswiss Arial;}{\\f2\\fnil\\fcharset204{\\*\\panose 020b}Arial CYR;}}"
              "d\\f0\\fs30 t\\f2\\fs17 c\\plain p}");
    EXPECT_EQ(family(formatAt(doc, 0)), "Arial") << "\\deff gives the face of text without \\f";
    EXPECT_FALSE(formatAt(doc, 0).hasProperty(QTextFormat::FontPointSize));
    EXPECT_EQ(family(formatAt(doc, 1)), "Times New Roman");
    EXPECT_DOUBLE_EQ(formatAt(doc, 1).fontPointSize(), 15.0);
    EXPECT_EQ(family(formatAt(doc, 2)), "Arial CYR");
    EXPECT_DOUBLE_EQ(formatAt(doc, 2).fontPointSize(), 8.5);
    EXPECT_EQ(formatAt(doc, 2).intProperty(kCharsetProperty), 204);
    EXPECT_EQ(family(formatAt(doc, 3)), "Arial") << "\\plain returns to the default font";
    EXPECT_FALSE(formatAt(doc, 3).hasProperty(kCharsetProperty));
}

TEST(RtfCharacters, ColoursIndexTheTableAndZeroIsAutomatic) {
    QTextDocument doc;
    load(doc, "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}"
              "a\\cf1 b\\highlight2 c\\cf0 d\\highlight0 e\\cb1 f\\cb0\\cf9 g}");
    auto fg = [&](int pos) { return formatAt(doc, pos).foreground(); };
    auto bg = [&](int pos) { return formatAt(doc, pos).background(); };
    EXPECT_EQ(fg(0).style(), Qt::NoBrush);
    EXPECT_EQ(fg(1).color(), QColor(255, 0, 0));
    EXPECT_EQ(bg(2).color(), QColor(0, 128, 255));
    EXPECT_EQ(fg(3).style(), Qt::NoBrush) << "\\cf0 is the automatic colour";
    EXPECT_EQ(bg(3).color(), QColor(0, 128, 255));
    EXPECT_EQ(bg(4).style(), Qt::NoBrush) << "\\highlight0 is no background";
    EXPECT_EQ(bg(5).color(), QColor(255, 0, 0)) << "\\cb sets the background too";
    EXPECT_EQ(fg(6).style(), Qt::NoBrush) << "an index past the table is automatic";
}

TEST(RtfParagraphs, MarksAlignmentsAndTheFinalParagraph) {
    QTextDocument doc;
    load(doc, "{\\rtf1\\pard\\qc centred\\par right\\qr\\par\\pard left\\par\\qj just\\par}");
    ASSERT_EQ(doc.blockCount(), 4) << "the last \\par ends the last paragraph";
    EXPECT_EQ(plainText(doc), "centred\r\nright\r\nleft\r\njust");
    EXPECT_EQ(doc.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(doc.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignRight)
        << "the properties at the paragraph mark apply to the paragraph";
    EXPECT_EQ(doc.findBlockByNumber(2).blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().alignment(), Qt::AlignJustify);

    load(doc, "{\\rtf1 a\\par\\par b\\par\\par}");
    EXPECT_EQ(plainText(doc), "a\r\n\r\nb\r\n") << "empty paragraphs stay";
    load(doc, "{\\rtf1\\qc last without mark}");
    EXPECT_EQ(doc.begin().blockFormat().alignment(), Qt::AlignHCenter);
}

TEST(RtfParagraphs, IndentsAndSpacingInPixels) {
    QTextDocument doc;
    load(doc, "{\\rtf1\\pard\\li1440\\ri720\\fi-360\\sb240\\sa120\\sl480\\slmult1 x\\par}");
    const QTextBlockFormat b = doc.begin().blockFormat();
    EXPECT_DOUBLE_EQ(b.leftMargin(), 96);
    EXPECT_DOUBLE_EQ(b.rightMargin(), 48);
    EXPECT_DOUBLE_EQ(b.textIndent(), -24);
    EXPECT_DOUBLE_EQ(b.topMargin(), 16);
    EXPECT_DOUBLE_EQ(b.bottomMargin(), 8);
    EXPECT_EQ(b.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(b.lineHeight(), 200);
}

TEST(RtfText, SpecialCharactersLineBreaksAndTabs) {
    QTextDocument doc;
    load(doc, "{\\rtf1 a\\~b\\-c\\_d\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet"
              "\\tab e\\line f\\\\\\{\\}}");
    EXPECT_EQ(doc.begin().text(),
              QString::fromUtf8("a\u00a0b\u00adc\u2011d—–‘’“”•\te\u2028f\\{}"));
    EXPECT_EQ(plainText(doc), QString::fromUtf8("a\u00a0b\u00adc\u2011d—–‘’“”•\te\r\nf\\{}"));
}

TEST(RtfText, LineEndsInTheSourceAreNotTextButAControlSpaceIs) {
    QTextDocument doc;
    load(doc, "{\\rtf1 one\r\ntwo\\b  three\\par\n}");
    EXPECT_EQ(plainText(doc), "onetwo three") << "the first space after a word delimits it";
}

TEST(RtfText, UnicodeEscapesSkipTheirFallbacks) {
    QTextDocument doc;
    load(doc, "{\\rtf1\\ansi \\u1046?\\u-3913?{\\uc2\\u1046\\'3f\\'3f}\\uc0\\u1046 x"
              "\\uc1\\u-10179?\\u-8704?\\u-10179?y{\\uc3\\u1046 ab}c}");
    EXPECT_EQ(plainText(doc), QString::fromUtf8("Ж\uF0B7ЖЖx😀\uFFFDy") + u'Ж' + "c")
        << "negative values, \\ucN, a surrogate pair, a lone surrogate, a group ending the skip";
}

TEST(RtfText, BulletTextIsKeptAndUnknownDestinationsAreSkipped) {
    QTextDocument doc;
    load(doc, "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
              "{\\*\\generator Riched20 10.0;}{\\info{\\author me}}{\\stylesheet{\\s1 Heading;}}"
              "{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}{\\pntext\\f1\\'B7\\tab}item"
              "{\\*\\unknowndest hidden}{\\*\\bkmkstart m}\\v hidden\\v0 shown\\par}");
    EXPECT_EQ(plainText(doc), QString::fromUtf8("•\titemshown"));
}

TEST(RtfFields, HyperlinksKeepTheirTargetOtherFieldsTheirResult) {
    QTextDocument doc;
    load(doc, "{\\rtf1 go {\\field{\\*\\fldinst{HYPERLINK \"http://example.org/a b\" \\\\o \"tip\"}}"
              "{\\fldrslt{\\ul\\cf1 here}}} or {\\field{\\*\\fldinst HYPERLINK \\\\l \"mark\"}{\\fldrslt there}}"
              " {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}} {\\field{\\*\\fldinst HYPERLINK \"C:\\\\\\\\dir\\\\\\\\f.txt\"}{\\fldrslt f}}.}");
    EXPECT_EQ(plainText(doc), "go here or there 7 f.");
    EXPECT_TRUE(formatAt(doc, 3).isAnchor());
    EXPECT_EQ(formatAt(doc, 3).anchorHref(), "http://example.org/a b");
    EXPECT_TRUE(formatAt(doc, 3).fontUnderline());
    EXPECT_FALSE(formatAt(doc, 8).isAnchor());
    EXPECT_EQ(formatAt(doc, 11).anchorHref(), "#mark");
    EXPECT_FALSE(formatAt(doc, 17).isAnchor()) << "a PAGE field is only its result";
    EXPECT_EQ(formatAt(doc, 19).anchorHref(), "C:\\dir\\f.txt");
}

TEST(RtfFields, AStarredResultIsReadWithItsLink) {
    // AbiWord writes every link this way.
    QTextDocument doc;
    load(doc, "{\\rtf1\\ansi Visit {\\field{\\*\\fldinst HYPERLINK \"https://example.com/\"}{\\*\\fldrslt Example}}, or not.\\par}");
    EXPECT_EQ(plainText(doc), "Visit Example, or not.");
    EXPECT_EQ(formatAt(doc, 6).anchorHref(), "https://example.com/");
    EXPECT_FALSE(formatAt(doc, 13).isAnchor());
    EXPECT_EQ(readText("{\\rtf1 a{\\*\\fldrslt b}{\\*\\fldinst c}d}"), "abd") << "outside a field a result is text";
}

TEST(RtfText, FootnoteMarksAreNumberedAndTheirBodiesLeftOut) {
    QTextDocument doc;
    load(doc, "{\\rtf1 Footnote{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Body.} here, "
              "another{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Two\\par more.}"
              " and{\\super *}{\\footnote\\pard{\\super *} Own mark.}.\\par}");
    EXPECT_EQ(plainText(doc), "Footnote1 here, another2 and*.");
    EXPECT_EQ(formatAt(doc, 8).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(readText("{\\rtf1\\ftnstart3\\ftnnrlc a\\chftn b\\chftn}"), "aiiibiv");
}

TEST(RtfText, PageNumberFieldsAndAlternativeUnicodeText) {
    EXPECT_EQ(readText("{\\rtf1 Page {\\field{\\*\\fldinst PAGE}{\\fldrslt\\chpgn}} of 1}"), "Page 1 of 1");
    // Of \\upr's two groups the \\ud one is read, in the font table as in the text.
    QTextDocument doc;
    load(doc, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\upr{\\f1 MS Mincho;}{\\*\\ud{\\f1 \\u-435?\\u-178?;}}}}"
              "a{\\upr{\\f1 ansi ?}{\\*\\ud{\\f1\\uc0 \\u1046 \\u1047}}}b"
              "{\\upr{\\*\\ud c}}{\\upr d{e}}f}");
    EXPECT_EQ(plainText(doc), QString::fromUtf8("a\u0416\u0417bcdf"));
    EXPECT_EQ(family(formatAt(doc, 1)), QString::fromUtf8("\uFE4D\uFF4E"));
}

TEST(RtfTables, CellsAreTabSeparatedAndRowsAreParagraphs) {
    QTextDocument doc;
    load(doc, "{\\rtf1 before\\par\\trowd\\cellx1000\\cellx2000\\cellx3000"
              "\\pard\\intbl A1\\cell A2\\cell A3\\cell\\row"
              "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl B1\\cell\\cell B3\\cell\\row"
              "\\pard after\\par}");
    EXPECT_EQ(plainText(doc), "before\r\nA1\tA2\tA3\r\nB1\t\tB3\r\nafter");

    // A nested table as Word writes it: its fallback for readers without nesting is not read.
    load(doc, "{\\rtf1\\trowd\\cellx4000\\cellx8000\\pard\\intbl\\itap1 one\\cell\\pard\\intbl\\itap2 inner\\nestcell"
              "{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}{\\nonesttables\\par inner as text\\par}"
              "\\pard\\intbl\\itap1\\cell\\row\\pard after\\par}");
    EXPECT_EQ(plainText(doc), "one\tinner\t\r\nafter");
}

TEST(RtfText, AStarMarksADestinationOnlyAtTheStartOfAGroup) {
    EXPECT_EQ(readText("{\\rtf1 a{\\*\\unknown b}c{d\\*\\unknown e}f}"), "acdef");
}

TEST(RtfCharacters, TablesCanComeAfterTheTextThatUsesThem) {
    QTextDocument doc;
    ASSERT_TRUE(read(QByteArrayView("{\\rtf1\\f1\\cf1 a{\\fonttbl{\\f1 Verdana;}}{\\colortbl;\\red0\\green0\\blue255;}b}"), doc));
    EXPECT_EQ(plainText(doc), "ab");
    EXPECT_EQ(family(formatAt(doc, 1)), "Verdana");
    EXPECT_EQ(formatAt(doc, 1).foreground().color(), QColor(0, 0, 255));
}
