#pragma once

#include "controls/spinedit/spinbutton.h"
#include "controls/spinedit/timerspeedbutton.h"
#include "controls/spinedit/timespinedit.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace brimble::test {

// Counts the beeps instead of sounding them, for the life of the object.
class BeepCounter {
public:
    BeepCounter() {
        TCustomSpinEdit::setBeep([this] { ++count_; });
    }
    ~BeepCounter() { TCustomSpinEdit::setBeep(nullptr); }
    int count() const { return count_; }

private:
    int count_ = 0;
};

// One expiry of the shared repeat timer, delivered as the event loop would deliver it.
// False when the timer was not running.
inline bool fireRepeatTimer() {
    QTimer* timer = TTimerSpeedButton::repeatTimer();
    if (!timer->isActive())
        return false;
    QTimerEvent e(timer->timerId());
    QCoreApplication::sendEvent(timer, &e);
    return true;
}

inline double hms(int h, int m, int s = 0) {
    return daysFromTimeOfDay({h, m, s});
}

// A shown, active window with the control and a second edit that can hold the focus.
class SpinFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        other = new QLineEdit(window.get());
        other->setObjectName(QStringLiteral("other"));
        edit = new TTimeSpinEdit(window.get());
        edit->setObjectName(QStringLiteral("SPT"));
        edit->setFixedSize(120, 24);
        layout->addWidget(other);
        layout->addWidget(edit);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        edit->setFocus(Qt::OtherFocusReason);
    }
    void TearDown() override {
        TTimerSpeedButton::repeatTimer()->stop();
        window.reset();
    }

    // Puts the caret at `pos` the way a user does: Home, then Right.
    void caretTo(int pos) {
        QTest::keyClick(edit, Qt::Key_Home);
        for (int i = 0; i < pos; ++i)
            QTest::keyClick(edit, Qt::Key_Right);
        ASSERT_EQ(edit->cursorPosition(), pos);
        ASSERT_FALSE(edit->hasSelectedText());
    }
    void type(const QString& chars) {
        for (QChar c : chars)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QPoint inside(QWidget* w) const { return w->rect().center(); }

    std::unique_ptr<QWidget> window;
    QLineEdit* other = nullptr;
    TTimeSpinEdit* edit = nullptr;
    BeepCounter beeps;
};

} // namespace brimble::test
