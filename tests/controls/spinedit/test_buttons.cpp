#include "spintest.h"

#include <QSignalSpy>
#include <stdexcept>

using namespace brimble;
using namespace brimble::test;

namespace {

class Buttons : public SpinFixture {
protected:
    TTimerSpeedButton* up() const { return edit->button()->upButton(); }
    TTimerSpeedButton* down() const { return edit->button()->downButton(); }
    QTimer* timer() const { return TTimerSpeedButton::repeatTimer(); }
    void press(QWidget* half) { QTest::mousePress(half, Qt::LeftButton, {}, inside(half)); }
    void release(QWidget* half, QPoint at) { QTest::mouseRelease(half, Qt::LeftButton, {}, at); }
};

TEST_F(Buttons, AClickFromElsewhereFocusesSelectsAllAndStepsTheHour) {
    edit->setValue(hms(9, 30));
    edit->setCursorPosition(4); // in the minute
    other->setFocus(Qt::TabFocusReason);
    ASSERT_FALSE(edit->hasFocus());
    QStringList events;
    QObject::connect(edit, &TCustomSpinEdit::entered, [&] { events << QStringLiteral("enter"); });
    QObject::connect(edit, &TCustomSpinEdit::changed, [&] { events << QStringLiteral("change"); });
    press(up());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "09:30");
    release(up(), inside(up()));
    EXPECT_EQ(events, QStringList({"enter", "change"}));
    EXPECT_EQ(edit->text(), "10:30");
    EXPECT_EQ(edit->selectedText(), "10");
    QTest::mouseClick(up(), Qt::LeftButton, {}, inside(up()));
    QTest::mouseClick(down(), Qt::LeftButton, {}, inside(down()));
    QTest::mouseClick(down(), Qt::LeftButton, {}, inside(down()));
    EXPECT_EQ(edit->text(), "09:30");
    EXPECT_EQ(events.count(u"enter"), 1); // entered once only
}

TEST_F(Buttons, FocusByMouseOrWithoutAutoSelectSelectsNothing) {
    other->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(3, 12));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_FALSE(edit->hasSelectedText());
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::keyClick(other, Qt::Key_Tab);
    EXPECT_EQ(edit->selectedText(), "12:00");
    edit->setAutoSelect(false);
    QTest::keyClick(edit, Qt::Key_Tab);
    QTest::keyClick(other, Qt::Key_Tab);
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_FALSE(edit->hasSelectedText());
}

TEST_F(Buttons, ReturningToTheWindowIsNoNewEntry) {
    QSignalSpy entered(edit, &TCustomSpinEdit::entered);
    QSignalSpy exited(edit, &TCustomSpinEdit::exited);
    QWidget second;
    second.show();
    QApplication::setActiveWindow(&second);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_EQ(entered.count(), 0);
    EXPECT_EQ(exited.count(), 0);
}

TEST_F(Buttons, AQuickClickStepsOnceAtTheRelease) {
    caretTo(0);
    press(up());
    EXPECT_TRUE(up()->isDown());
    EXPECT_EQ(edit->text(), "12:00");
    release(up(), inside(up()));
    EXPECT_EQ(edit->text(), "13:00");
    EXPECT_FALSE(up()->isDown());
    EXPECT_FALSE(timer()->isActive());
}

// Held for about 1.05 s: ticks at 400, 500, ... 1000 ms and a last step at the release.
TEST_F(Buttons, HoldingRepeatsAfter400ThenEvery100Milliseconds) {
    caretTo(3);
    press(up());
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), TTimerSpeedButton::kInitialRepeatMs);
    EXPECT_EQ(edit->Value(), hms(12, 0));
    ASSERT_TRUE(fireRepeatTimer());
    EXPECT_EQ(edit->Value(), hms(12, 1));
    EXPECT_EQ(timer()->interval(), TTimerSpeedButton::kRepeatMs);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(fireRepeatTimer());
    EXPECT_EQ(edit->Value(), hms(12, 7));
    release(up(), inside(up()));
    EXPECT_EQ(edit->Value(), hms(12, 8));
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(TTimerSpeedButton::repeatTarget(), nullptr);

    press(down()); // a fresh press starts over at 400 ms
    EXPECT_EQ(timer()->interval(), TTimerSpeedButton::kInitialRepeatMs);
    ASSERT_TRUE(fireRepeatTimer());
    release(down(), inside(down()));
    EXPECT_EQ(edit->Value(), hms(12, 6));
}

TEST_F(Buttons, RepeatPausesWhileThePointerIsOutside) {
    caretTo(0);
    press(up());
    ASSERT_TRUE(fireRepeatTimer());
    EXPECT_EQ(edit->Value(), hms(13, 0));
    QTest::mouseMove(up(), QPoint(up()->width() / 2, up()->height() + 30));
    EXPECT_FALSE(up()->isDown());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(fireRepeatTimer()); // still running, but no step
    EXPECT_EQ(edit->Value(), hms(13, 0));
    QTest::mouseMove(up(), inside(up()));
    EXPECT_TRUE(up()->isDown());
    ASSERT_TRUE(fireRepeatTimer());
    EXPECT_EQ(edit->Value(), hms(14, 0));
    // Let go outside: no last step.
    QTest::mouseMove(up(), QPoint(-20, 2));
    release(up(), QPoint(-20, 2));
    EXPECT_EQ(edit->Value(), hms(14, 0));
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(Buttons, OneTimerFollowsThePressedButton) {
    auto* second = new TTimeSpinEdit(window.get());
    window->layout()->addWidget(second);
    second->show();
    QApplication::processEvents();
    caretTo(0);
    press(up());
    EXPECT_EQ(TTimerSpeedButton::repeatTarget(), up());
    release(up(), inside(up()));
    TTimerSpeedButton* otherDown = second->button()->downButton();
    press(otherDown);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_EQ(TTimerSpeedButton::repeatTarget(), otherDown);
    ASSERT_TRUE(fireRepeatTimer());
    ASSERT_TRUE(fireRepeatTimer());
    release(otherDown, inside(otherDown));
    EXPECT_EQ(edit->Value(), hms(13, 0));
    EXPECT_EQ(second->Value(), hms(9, 0));
}

TEST_F(Buttons, AHalfDisabledByTheRangeStopsRepeating) {
    edit->setMaxValue(hms(18, 0));
    edit->setMinValue(hms(8, 0));
    edit->setUseRanges(true);
    edit->setValue(hms(16, 30));
    caretTo(0);
    press(up());
    ASSERT_TRUE(fireRepeatTimer());
    EXPECT_EQ(edit->Value(), hms(17, 30));
    ASSERT_TRUE(fireRepeatTimer());
    EXPECT_EQ(edit->Value(), hms(18, 0));
    EXPECT_FALSE(up()->isEnabled());
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(up()->isDown());
    release(up(), inside(up()));
    EXPECT_EQ(edit->Value(), hms(18, 0));
    // Disabling and enabling the control gives each half back its own state.
    edit->setEnabled(false);
    EXPECT_FALSE(down()->isEnabled());
    edit->setEnabled(true);
    EXPECT_FALSE(up()->isEnabled());
    EXPECT_TRUE(down()->isEnabled());
    QTest::mouseClick(down(), Qt::LeftButton, {}, inside(down()));
    EXPECT_EQ(edit->Value(), hms(17, 0));
    EXPECT_TRUE(up()->isEnabled());
}

class FailingSpin : public TTimeSpinEdit {
public:
    using TTimeSpinEdit::TTimeSpinEdit;
    int failures = 1;
    void StepUp() override {
        if (failures-- > 0)
            throw std::runtime_error("step failed");
        TTimeSpinEdit::StepUp();
    }
};

TEST_F(Buttons, AnErrorDuringRepeatStopsTheTimerAndPassesOn) {
    auto* failing = new FailingSpin(window.get());
    window->layout()->addWidget(failing);
    failing->show();
    QApplication::processEvents();
    TTimerSpeedButton* half = failing->button()->upButton();
    press(half);
    EXPECT_THROW(fireRepeatTimer(), std::runtime_error);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(TTimerSpeedButton::repeatTarget(), nullptr);
    release(half, inside(half)); // the release still makes its step
    EXPECT_EQ(failing->Value(), hms(13, 0));
}

TEST_F(Buttons, StripSitsInsideTheBorderAndSplitsInHalves) {
    edit->setFixedSize(120, 25);
    QApplication::processEvents();
    TSpinButton* strip = edit->button();
    EXPECT_EQ(strip->geometry(), QRect(98, 2, 20, 21));
    EXPECT_EQ(up()->geometry(), QRect(0, 0, 20, 10));
    EXPECT_EQ(down()->geometry(), QRect(0, 10, 20, 11));
    edit->setSunkenBorder(false);
    EXPECT_EQ(strip->geometry(), QRect(100, 1, 20, 23));
    EXPECT_EQ(up()->height(), 11);
    EXPECT_EQ(down()->height(), 12);
    // The text stops one pixel left of the strip.
    EXPECT_GE(edit->textMargins().right(), 21);
    strip->resize(8, 20);
    EXPECT_EQ(strip->width(), TSpinButton::kMinWidth);
    EXPECT_EQ(strip->UpGlyph().size(), TSpinButton::defaultUpGlyph().size());
}

} // namespace
