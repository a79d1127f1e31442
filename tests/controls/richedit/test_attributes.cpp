#include "controls/richedit/charattrs.h"
#include "controls/richedit/richedit.h"
#include "richtest.h"

#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace brimble;
using brimble::test::caretAt;
using brimble::test::select;

namespace {

// "plain BOLD plain": the middle word bold, 10.5 pt, red on yellow.
void fillSample(TRichEdit& e) {
    e.setText("plain BOLD plain");
    QTextCursor c(e.document());
    c.setPosition(6);
    c.setPosition(10, QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    f.setFontPointSize(10.5);
    f.setForeground(QColor(255, 0, 0));
    f.setBackground(QColor(255, 255, 0));
    c.mergeCharFormat(f);
    e.setModified(false);
}

QTextCharFormat formatAt(TRichEdit& e, int pos) {
    QTextCursor c(e.document());
    c.setPosition(pos + 1);
    return c.charFormat();
}

} // namespace

TEST(RichEditAttributes, SizesAreTwentiethsReadTruncatedToWholePoints) {
    TRichEdit e;
    fillSample(e);
    select(e, 6, 10);
    EXPECT_EQ(e.sizeTwips(), 210);
    EXPECT_EQ(e.size(), 10) << "10.5 pt reads as 10 whole points";
    e.setSize(12);
    EXPECT_EQ(e.sizeTwips(), 240);
    EXPECT_DOUBLE_EQ(formatAt(e, 7).fontPointSize(), 12.0);
    EXPECT_EQ(formatAt(e, 2).fontPointSize(), 0.0) << "outside the selection nothing changes";
    e.setSizeTwips(250);
    EXPECT_EQ(e.size(), 12);
    EXPECT_EQ(e.sizeTwips(), 250);
    // A size the widget cannot draw becomes its smallest, never 0 or negative.
    e.setSize(0);
    EXPECT_EQ(e.sizeTwips(), charattr::kMinTwips);
    e.setSize(-5);
    EXPECT_EQ(e.sizeTwips(), charattr::kMinTwips);
    e.setSize(1 << 30);
    EXPECT_EQ(e.sizeTwips(), charattr::kMaxTwips) << "no overflow from n * 20";
    select(e, 0, 5);
    EXPECT_EQ(e.sizeTwips(), int(e.document()->defaultFont().pointSizeF() * 20));
}

TEST(RichEditAttributes, EachAttributeChangesAloneAndKeepsTheOthers) {
    TRichEdit e;
    fillSample(e);
    select(e, 6, 10);
    e.setFaceName("Courier New");
    EXPECT_EQ(e.faceName(), "Courier New");
    EXPECT_EQ(e.style(), charattr::kBold);
    EXPECT_EQ(e.textColor(), 0x000000FFu);
    EXPECT_EQ(e.backColor(), 0x0000FFFFu);
    EXPECT_EQ(e.sizeTwips(), 210);

    e.setStyle(charattr::kItalic | charattr::kUnderline | charattr::kStrikeOut);
    EXPECT_EQ(e.style(), 14);
    EXPECT_EQ(e.faceName(), "Courier New");
    EXPECT_EQ(e.textColor(), 0x000000FFu);
    const QTextCharFormat f = formatAt(e, 8);
    EXPECT_FALSE(f.fontWeight() >= QFont::DemiBold);
    EXPECT_TRUE(f.fontItalic() && f.fontUnderline() && f.fontStrikeOut());

    e.setCharset(238);
    EXPECT_EQ(e.charset(), 238);
    EXPECT_EQ(e.style(), 14);
    select(e, 0, 5);
    EXPECT_EQ(e.charset(), 0);
    EXPECT_EQ(e.style(), 0);
    EXPECT_NE(e.faceName(), "Courier New");
}

TEST(RichEditAttributes, SelectionOverMixedRunsKeepsEachRunsOtherAttributes) {
    TRichEdit e;
    fillSample(e);
    select(e, 0, 16);
    e.setStyle(charattr::kItalic);
    EXPECT_EQ(formatAt(e, 1).foreground().style(), Qt::NoBrush);
    EXPECT_EQ(charattr::textColor(formatAt(e, 7)), 0x000000FFu) << "the red run stays red";
    EXPECT_DOUBLE_EQ(formatAt(e, 7).fontPointSize(), 10.5);
    for (int i : {0, 7, 14})
        EXPECT_EQ(charattr::style(formatAt(e, i)), charattr::kItalic) << i;
}

TEST(RichEditAttributes, AutomaticColourValues) {
    TRichEdit e;
    fillSample(e);
    select(e, 0, 5);
    EXPECT_EQ(e.textColor(), charattr::kWindowText);
    EXPECT_EQ(e.backColor(), charattr::kWindow);

    e.setTextColor(0x00FF0000); // blue in 0x00BBGGRR
    EXPECT_EQ(e.textColor(), 0x00FF0000u);
    EXPECT_EQ(formatAt(e, 1).foreground().color(), QColor(0, 0, 255));
    e.setTextColor(charattr::kDefault);
    EXPECT_EQ(e.textColor(), charattr::kWindowText) << "0x20000000 makes the text automatic";
    e.setTextColor(0x00123456);
    e.setTextColor(charattr::kWindowText);
    EXPECT_EQ(e.textColor(), charattr::kWindowText);
    EXPECT_FALSE(formatAt(e, 1).hasProperty(QTextFormat::ForegroundBrush));

    e.setBackColor(0x00FFFFFF);
    EXPECT_EQ(e.backColor(), 0x00FFFFFFu) << "explicit white is not the automatic background";
    e.setBackColor(charattr::kWindow);
    EXPECT_EQ(e.backColor(), charattr::kWindow);
    e.setBackColor(0x00000080);
    e.setBackColor(charattr::kDefault);
    EXPECT_EQ(e.backColor(), charattr::kWindow);

    select(e, 6, 10);
    EXPECT_EQ(e.backColor(), 0x0000FFFFu) << "the other run keeps its own background";
    e.setTextColor(charattr::kWindow); // the window colour itself, as an explicit colour
    EXPECT_EQ(charattr::fromColorRef(e.textColor()), e.palette().color(QPalette::Base));
}

TEST(RichEditAttributes, EmptySelectionSetsTheFormatAboutToBeTyped) {
    TRichEdit e;
    e.setText("ab");
    caretAt(e, 1);
    e.setStyle(charattr::kBold);
    e.setSize(20);
    EXPECT_EQ(e.style(), charattr::kBold);
    EXPECT_EQ(e.size(), 20);
    EXPECT_EQ(charattr::style(formatAt(e, 0)), 0) << "no existing text changed";
    QTest::keyClicks(&e, "XY");
    EXPECT_EQ(e.document()->toPlainText(), "aXYb");
    EXPECT_EQ(charattr::style(formatAt(e, 1)), charattr::kBold);
    EXPECT_DOUBLE_EQ(formatAt(e, 2).fontPointSize(), 20.0);
    EXPECT_EQ(charattr::style(formatAt(e, 3)), 0);
    EXPECT_TRUE(e.modified());
}

TEST(RichEditAttributes, AlignmentReadAndSetOnEveryTouchedParagraph) {
    TRichEdit e;
    e.setText("one\ntwo\nthree");
    QTextCursor c(e.document()->findBlockByNumber(1));
    QTextBlockFormat j;
    j.setAlignment(Qt::AlignJustify);
    c.mergeBlockFormat(j);
    caretAt(e, 0);
    EXPECT_EQ(e.paraAlignment(), 0);
    caretAt(e, 5);
    EXPECT_EQ(e.paraAlignment(), 3);

    select(e, 1, 9); // from "one" into "three"
    e.setParaAlignment(2);
    for (int b = 0; b < 3; ++b)
        EXPECT_EQ(e.document()->findBlockByNumber(b).blockFormat().alignment() &
                      Qt::AlignHorizontal_Mask,
                  Qt::AlignHCenter)
            << b;
    caretAt(e, 5);
    e.setParaAlignment(1);
    EXPECT_EQ(e.paraAlignment(), 1);
    caretAt(e, 0);
    EXPECT_EQ(e.paraAlignment(), 2) << "an empty selection touches its own paragraph only";
    e.setParaAlignment(7); // not an alignment: nothing happens
    EXPECT_EQ(e.paraAlignment(), 2);
}

TEST(RichEditAttributes, BackgroundColourOfTheControlIsNotInTheDocument) {
    TRichEdit e;
    e.setText("x");
    const QString before = e.document()->toHtml();
    e.setBackgroundColor(0x00CACFFF);
    EXPECT_EQ(e.backgroundColor(), 0x00CACFFFu);
    EXPECT_EQ(e.palette().color(QPalette::Base), QColor(255, 207, 202));
    EXPECT_EQ(e.document()->toHtml(), before);
    EXPECT_FALSE(e.modified());
}
