#include "spintest.h"

#include <QSignalSpy>

using namespace brimble;
using namespace brimble::test;

namespace {

using Stepping = SpinFixture;

struct StepCase {
    double value;
    int caret;
    Qt::Key key;
    const char* text; // expected text after the step
    int selStart, selLength;
};

TEST_F(Stepping, TwentyFourHoursWrapsEachPartWithoutCarry) {
    const StepCase cases[] = {
        {hms(23, 59), 0, Qt::Key_Up, "00:59", 0, 2}, {hms(23, 59), 2, Qt::Key_Up, "00:59", 0, 2},
        {hms(23, 59), 3, Qt::Key_Up, "23:00", 3, 2}, {hms(23, 59), 5, Qt::Key_Up, "23:00", 3, 2},
        {hms(0, 0), 4, Qt::Key_Down, "00:59", 3, 2}, {hms(0, 0), 1, Qt::Key_Down, "23:00", 0, 2},
        {hms(9, 5), 0, Qt::Key_Down, "08:05", 0, 2},
    };
    for (const StepCase& c : cases) {
        edit->setValue(c.value);
        caretTo(c.caret);
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(edit->text(), c.text) << "caret " << c.caret;
        EXPECT_EQ(edit->selectionStart(), c.selStart);
        EXPECT_EQ(edit->selectedText().size(), c.selLength);
    }
}

TEST_F(Stepping, SecondsAreKeptWhileHiddenAndSteppedWhenShown) {
    edit->setValue(hms(10, 15, 42));
    EXPECT_EQ(edit->text(), "10:15");
    caretTo(3);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Value(), hms(10, 16, 42));
    QTest::keyClick(edit, Qt::Key_Up); // the minute stays selected, so it goes on
    caretTo(0);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->Value(), hms(9, 17, 42));

    edit->setShowSeconds(true);
    EXPECT_EQ(edit->text(), "09:17:42");
    edit->setValue(hms(9, 17, 59));
    caretTo(7);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "09:17:00");
    EXPECT_EQ(edit->selectedText(), "00");
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "09:17:59");
}

TEST_F(Stepping, TwelveHoursStaysInItsHalfOfTheDay) {
    edit->setTimeDisplay(td12Hour);
    const StepCase cases[] = {
        {hms(11, 30), 0, Qt::Key_Up, "12:30 AM", 0, 2}, // hour 0
        {hms(23, 30), 1, Qt::Key_Up, "12:30 PM", 0, 2}, // hour 12
        {hms(0, 0), 0, Qt::Key_Down, "11:00 AM", 0, 2},
        {hms(12, 0), 0, Qt::Key_Down, "11:00 PM", 0, 2},
        {hms(12, 0), 2, Qt::Key_Up, " 1:00 PM", 0, 2},
        {hms(9, 0), 6, Qt::Key_Up, " 9:00 PM", 6, 2},
        {hms(21, 0), 8, Qt::Key_Down, " 9:00 AM", 6, 2},
        {hms(21, 59), 4, Qt::Key_Up, " 9:00 PM", 3, 2},
    };
    for (const StepCase& c : cases) {
        edit->setValue(c.value);
        caretTo(c.caret);
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(edit->text(), c.text) << "caret " << c.caret;
        EXPECT_EQ(edit->selectionStart(), c.selStart);
        EXPECT_EQ(edit->selectedText().size(), c.selLength);
    }
    // With seconds the designator moves behind them.
    edit->setShowSeconds(true);
    edit->setValue(hms(11, 0, 5));
    caretTo(7);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "11:00:06 AM");
    caretTo(10);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "11:00:06 PM");
    EXPECT_EQ(edit->selectedText(), "PM");
    EXPECT_EQ(edit->Value(), hms(23, 0, 6));
}

TEST_F(Stepping, FinnishSeparatorAndDesignators) {
    edit->setLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    edit->setValue(hms(23, 59));
    EXPECT_EQ(edit->text(), "23.59");
    caretTo(3);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "23.00");
    edit->setTimeDisplay(td12Hour);
    EXPECT_EQ(edit->text(), "11.00 ip.");
    caretTo(8);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "11.00 ap.");
    EXPECT_EQ(edit->selectedText(), "ap.");
    QTest::keyClick(edit, Qt::Key_Up); // the designator stays selected
    EXPECT_EQ(edit->Value(), hms(23, 0));
}

TEST_F(Stepping, ACaretOutsideEveryPartStepsNothing) {
    edit->setValue(hms(8, 15));
    edit->setText("08:15      "); // pasted-like text, longer than the control's own
    caretTo(9);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Value(), hms(8, 15));
    EXPECT_EQ(edit->text(), "08:15");
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_FALSE(edit->hasSelectedText());
}

TEST_F(Stepping, RangesClampStepsAndDisableTheButtonAtEachEnd) {
    edit->setMaxValue(hms(18, 0));
    edit->setMinValue(hms(8, 0));
    edit->setUseRanges(true);
    edit->setValue(hms(17, 30));
    caretTo(0);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "18:00");
    EXPECT_FALSE(edit->button()->UpEnabled());
    EXPECT_FALSE(edit->button()->upButton()->isEnabled());
    EXPECT_TRUE(edit->button()->DownEnabled());
    QTest::keyClick(edit, Qt::Key_Up); // nothing: the up button is off
    EXPECT_EQ(edit->text(), "18:00");

    // Down in the minute wraps to 18:59, which the range takes back to 18:00.
    caretTo(3);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "18:00");
    caretTo(0);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "17:00");
    EXPECT_TRUE(edit->button()->UpEnabled());
    caretTo(3);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "17:59");
}

TEST_F(Stepping, RangeLimitsAtTheLowEndAndValueWritesLeaveButtonsAlone) {
    edit->setMaxValue(hms(18, 0));
    edit->setMinValue(hms(8, 0));
    edit->setUseRanges(true);
    edit->setValue(hms(9, 0));
    caretTo(0);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "08:00");
    EXPECT_FALSE(edit->button()->DownEnabled());
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), "08:00");
    // Writing Value applies no range and does not recompute the buttons.
    edit->setValue(hms(6, 0));
    EXPECT_EQ(edit->Value(), hms(6, 0));
    EXPECT_FALSE(edit->button()->DownEnabled());
    // A write of a limit recomputes them, without touching the value.
    edit->setMinValue(hms(5, 0));
    EXPECT_TRUE(edit->button()->DownEnabled());
    EXPECT_EQ(edit->Value(), hms(6, 0));
}

TEST_F(Stepping, LimitWritesThatCrossTheOtherLimitAreIgnored) {
    edit->setMaxValue(hms(8, 0)); // below the minimum of 12:00
    EXPECT_EQ(edit->MaxValue(), 0.5);
    edit->setMinValue(hms(13, 0)); // above the maximum
    EXPECT_EQ(edit->MinValue(), 0.5);
    edit->setMaxValue(std::nan(""));
    EXPECT_EQ(edit->MaxValue(), 0.5);
    edit->setMaxValue(hms(20, 0));
    edit->setMinValue(hms(13, 0));
    EXPECT_EQ(edit->MinValue(), hms(13, 0));
    EXPECT_EQ(edit->MaxValue(), hms(20, 0));
}

TEST_F(Stepping, SettingsRefreshTheValueThroughTheRange) {
    edit->setMaxValue(hms(18, 0));
    edit->setMinValue(hms(8, 0));
    edit->setValue(hms(6, 30));
    edit->setUseRanges(true); // refresh clamps
    EXPECT_EQ(edit->text(), "08:00");
    edit->setValue(hms(20, 0));
    edit->setShowSeconds(true);
    EXPECT_EQ(edit->text(), "18:00:00");
    // Leaving the control clamps a value written out of range.
    edit->setValue(hms(21, 0));
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_FALSE(edit->hasFocus());
    EXPECT_EQ(edit->Value(), hms(18, 0));
    EXPECT_EQ(edit->text(), "18:00:00");
}

TEST_F(Stepping, ChangeOnlyWhenTheShownTextChanges) {
    QSignalSpy changes(edit, &TCustomSpinEdit::changed);
    edit->setValue(hms(12, 0, 30)); // same text "12:00"
    EXPECT_EQ(changes.count(), 0);
    edit->setTimeDisplay(td24Hour); // no change of setting
    EXPECT_EQ(changes.count(), 0);
    edit->setValue(hms(12, 1));
    EXPECT_EQ(changes.count(), 1);
    caretTo(0);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(changes.count(), 2);
    edit->setTimeDisplay(td12Hour);
    EXPECT_EQ(changes.count(), 3);
    // A caret move, and a step the range blocks, change nothing.
    caretTo(3);
    edit->setMaxValue(hms(13, 1));
    edit->setUseRanges(true);
    EXPECT_EQ(changes.count(), 3);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(Stepping, ReadOnlyBeepsAndKeepsTheValue) {
    edit->setValue(hms(9, 30));
    edit->setReadOnly(true);
    caretTo(0);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(beeps.count(), 2);
    EXPECT_EQ(edit->text(), "09:30");
    QTest::mouseClick(edit->button()->upButton(), Qt::LeftButton);
    EXPECT_EQ(beeps.count(), 3);
    EXPECT_EQ(edit->Value(), hms(9, 30));
}

TEST_F(Stepping, ValueReadsBackWithoutMilliseconds) {
    edit->setValue(45000.0 + hms(7, 8, 9) + 0.4 / kMsecsPerDay);
    EXPECT_EQ(edit->Value(), hms(7, 8, 9));
    EXPECT_THROW(edit->setValue(std::nan("")), std::invalid_argument);
    EXPECT_EQ(edit->Value(), hms(7, 8, 9));
}

TEST(SpinEditDefaults, NewControlAndTheMainWindowsField) {
    TTimeSpinEdit fresh;
    EXPECT_EQ(fresh.text(), "12:00");
    EXPECT_EQ(fresh.Value(), 0.5);
    EXPECT_EQ(fresh.MinValue(), 0.5);
    EXPECT_EQ(fresh.MaxValue(), 0.5);
    EXPECT_EQ(fresh.TimeDisplay(), td24Hour);
    EXPECT_FALSE(fresh.ShowSeconds());
    EXPECT_FALSE(fresh.UseRanges());
    EXPECT_TRUE(fresh.EditorEnabled());
    EXPECT_TRUE(fresh.AutoSelect());
    EXPECT_FALSE(fresh.isReadOnly());
    EXPECT_TRUE(fresh.button()->UpEnabled() && fresh.button()->DownEnabled());

    QWidget frame;
    TTimeSpinEdit* spt = makeSPT(&frame);
    EXPECT_EQ(frame.findChild<TTimeSpinEdit*>("SPT"), spt);
    EXPECT_EQ(spt->size(), QSize(99, 24));
    EXPECT_EQ(spt->font().family(), "Arial");
    EXPECT_EQ(spt->font().pixelSize(), 13);
    EXPECT_TRUE(spt->font().bold());
    EXPECT_TRUE(spt->sunkenBorder());
    EXPECT_FALSE(spt->isEnabled());
    EXPECT_EQ(spt->text(), "12:00");
    EXPECT_EQ(spt->Value(), 0.5);
    EXPECT_EQ(spt->MinValue(), kSPTStoredValue);
    EXPECT_EQ(spt->MaxValue(), kSPTStoredValue);
    EXPECT_FALSE(spt->UseRanges());
}

} // namespace
