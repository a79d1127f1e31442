#include "spintest.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>

using namespace brimble;
using namespace brimble::test;

namespace {

using Typing = SpinFixture;

TEST_F(Typing, DigitsOverwriteOneAtATimeAndSkipTheSeparator) {
    edit->setValue(hms(9, 30));
    caretTo(0);
    type("2"); // 29:30 is no time
    EXPECT_EQ(beeps.count(), 1);
    EXPECT_EQ(edit->text(), "09:30");
    EXPECT_EQ(edit->Value(), hms(9, 30));
    type("1");
    EXPECT_EQ(edit->text(), "19:30");
    EXPECT_EQ(edit->cursorPosition(), 1);
    EXPECT_EQ(edit->Value(), hms(19, 30));
    type("7");
    type("4"); // caret at 2 skips to the first minute digit
    EXPECT_EQ(edit->text(), "17:40");
    EXPECT_EQ(edit->cursorPosition(), 4);
    type("5");
    EXPECT_EQ(edit->text(), "17:45");
    EXPECT_EQ(edit->Value(), hms(17, 45));
    type("0"); // at the end of the text
    EXPECT_EQ(edit->text(), "17:45");
    EXPECT_EQ(beeps.count(), 2);
}

TEST_F(Typing, SeparatorSkipFromPositionTwo) {
    edit->setValue(hms(9, 30));
    caretTo(2);
    type("4");
    EXPECT_EQ(edit->text(), "09:40");
    EXPECT_EQ(edit->cursorPosition(), 4);
    EXPECT_EQ(beeps.count(), 0);
}

TEST_F(Typing, RefusedKeysBeepAndChangeNothing) {
    edit->setShowSeconds(true);
    edit->setValue(hms(9, 30, 15));
    QSignalSpy changes(edit, &TCustomSpinEdit::changed);
    const struct {
        int caret;
        const char* key;
    } refused[] = {{0, "x"}, {1, " "}, {3, "6"}, {4, "a"}, {6, "6"}, {7, ":"}, {8, "-"}, {0, "٣"}};
    for (const auto& r : refused) {
        caretTo(r.caret);
        type(QString::fromUtf8(r.key));
        EXPECT_EQ(edit->text(), "09:30:15") << r.key;
    }
    EXPECT_EQ(beeps.count(), int(std::size(refused)));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(edit->Value(), hms(9, 30, 15));
    // Control characters too, wherever the caret is.
    caretTo(0);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Backspace})
        QTest::keyClick(edit, key);
    EXPECT_EQ(beeps.count(), int(std::size(refused)) + 3);
    EXPECT_EQ(edit->text(), "09:30:15");
}

TEST_F(Typing, TextNeverLosesACharacter) {
    edit->setValue(hms(9, 30));
    caretTo(2);
    const int before = beeps.count();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(beeps.count(), before); // swallowed silently
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_U, Qt::ControlModifier);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "09:30");
}

TEST_F(Typing, AWholeSelectionIsOverwrittenOneCharacterOnly) {
    edit->setValue(hms(9, 30));
    QTest::keyClick(edit, Qt::Key_Tab); // to the other edit and back: auto-select
    QTest::keyClick(other, Qt::Key_Tab);
    ASSERT_TRUE(edit->hasFocus());
    ASSERT_EQ(edit->selectedText(), "09:30");
    type("1");
    EXPECT_EQ(edit->text(), "19:30");
    EXPECT_EQ(edit->cursorPosition(), 1);
}

TEST_F(Typing, TwelveHoursDesignatorAcceptsOnlyTheMorningOne) {
    edit->setTimeDisplay(td12Hour);
    edit->setValue(hms(21, 30));
    ASSERT_EQ(edit->text(), " 9:30 PM");
    caretTo(6);
    type("P");
    type("p");
    EXPECT_EQ(beeps.count(), 2);
    type("a");
    EXPECT_EQ(edit->text(), " 9:30 AM");
    EXPECT_EQ(edit->Value(), hms(9, 30));
    EXPECT_EQ(edit->cursorPosition(), 7);
    type("x");
    type("m");
    EXPECT_EQ(edit->text(), " 9:30 AM");
    EXPECT_EQ(beeps.count(), 3);
    type("m"); // the end of the text
    EXPECT_EQ(beeps.count(), 4);
    // Caret at 5, before the space: it skips to the designator.
    caretTo(5);
    type("A");
    EXPECT_EQ(edit->text(), " 9:30 AM");
    EXPECT_EQ(beeps.count(), 4);
}

TEST_F(Typing, TwelveHoursDigitsAndSeconds) {
    edit->setTimeDisplay(td12Hour);
    edit->setShowSeconds(true);
    edit->setValue(hms(9, 30, 0));
    ASSERT_EQ(edit->text(), " 9:30:00 AM");
    caretTo(0);
    type("1"); // 19 o'clock has no designator form
    EXPECT_EQ(beeps.count(), 1);
    type("0");
    EXPECT_EQ(edit->text(), "09:30:00 AM");
    type("1");
    EXPECT_EQ(edit->Value(), hms(1, 30));
    caretTo(5);
    type("4");
    EXPECT_EQ(edit->text(), "01:30:40 AM");
    type("5");
    type("a"); // caret 8 skips to the designator at 9
    EXPECT_EQ(edit->text(), "01:30:45 AM");
    EXPECT_EQ(edit->cursorPosition(), 10);
    EXPECT_EQ(edit->Value(), hms(1, 30, 45));
    EXPECT_EQ(beeps.count(), 1);
}

TEST_F(Typing, FinnishSeparatorAndDesignators) {
    edit->setLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    edit->setValue(hms(9, 30));
    ASSERT_EQ(edit->text(), "09.30");
    caretTo(2);
    type("4");
    EXPECT_EQ(edit->text(), "09.40");
    caretTo(0);
    type("3");
    EXPECT_EQ(beeps.count(), 1);
    edit->setTimeDisplay(td12Hour);
    edit->setValue(hms(14, 5));
    ASSERT_EQ(edit->text(), " 2.05 ip.");
    caretTo(6);
    type("i"); // the afternoon's letter
    type("A");
    EXPECT_EQ(edit->text(), " 2.05 ap.");
    EXPECT_EQ(edit->Value(), hms(2, 5));
    type("P");
    EXPECT_EQ(edit->text(), " 2.05 ap.");
    type("."); // third designator character: no typing there
    EXPECT_EQ(beeps.count(), 3);
}

TEST_F(Typing, GreekDesignatorsOfAnotherScript) {
    edit->setLocale(QLocale(QLocale::Greek, QLocale::Greece));
    edit->setTimeDisplay(td12Hour);
    edit->setValue(hms(15, 0));
    ASSERT_EQ(edit->text(), QString::fromUtf8(" 3:00 μ.μ."));
    caretTo(6);
    type("A");
    EXPECT_EQ(beeps.count(), 1);
    type(QString::fromUtf8("Π"));
    EXPECT_EQ(edit->text(), QString::fromUtf8(" 3:00 π.μ."));
    EXPECT_EQ(edit->Value(), hms(3, 0));
}

TEST_F(Typing, ATypedTimeOutsideTheRangeShowsTheClampedTime) {
    edit->setMaxValue(hms(18, 0));
    edit->setMinValue(hms(8, 0));
    edit->setUseRanges(true);
    edit->setValue(hms(9, 30));
    caretTo(0);
    type("1"); // 19:30, held as 18:00
    EXPECT_EQ(edit->Value(), hms(18, 0));
    EXPECT_EQ(edit->text(), "18:00");
    EXPECT_EQ(edit->cursorPosition(), 1);
    EXPECT_FALSE(edit->button()->UpEnabled());
    type("7");
    EXPECT_EQ(edit->text(), "17:00");
    EXPECT_TRUE(edit->button()->UpEnabled());
    EXPECT_EQ(beeps.count(), 0);
}

TEST_F(Typing, ReadOnlyRefusesEveryKey) {
    edit->setReadOnly(true);
    caretTo(0);
    type("1");
    EXPECT_EQ(beeps.count(), 1);
    EXPECT_EQ(edit->text(), "12:00");
}

TEST_F(Typing, PasteAndCutOnlyWhileTheEditorIsEnabledAndWritable) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    edit->setValue(hms(9, 30));
    for (int mode = 0; mode < 2; ++mode) {
        edit->setEditorEnabled(mode != 0);
        edit->setReadOnly(mode != 0);
        clipboard->setText("xyz");
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(edit->text(), "09:30") << "mode " << mode;
    }
    edit->setEditorEnabled(true);
    edit->setReadOnly(false);
    // Copy is always there.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "09:30");

    clipboard->setText("7:15");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "7:15");
    EXPECT_EQ(edit->Value(), hms(9, 30)); // pasted text is not read
    caretTo(0);
    QTest::keyClick(edit, Qt::Key_Up); // the next step rebuilds the text from the value
    EXPECT_EQ(edit->text(), "10:30");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(clipboard->text(), "10:30");
}

// The pop-up menu follows the same rules and offers nothing that removes or restores text.
TEST_F(Typing, ContextMenuFollowsTheSameRules) {
    QGuiApplication::clipboard()->setText("xyz");
    edit->selectAll();
    const auto menuActions = [&] {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5),
                            edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(edit, &e);
        QMenu* menu = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible())
                menu = m;
        EXPECT_NE(menu, nullptr);
        QMap<QString, QAction*> byName;
        if (menu)
            for (QAction* a : menu->actions())
                byName[a->objectName()] = a;
        return std::make_pair(menu, byName);
    };
    auto [menu, actions] = menuActions();
    ASSERT_TRUE(actions.contains("edit-cut") && actions.contains("edit-paste"));
    EXPECT_TRUE(actions["edit-cut"]->isEnabled());
    EXPECT_TRUE(actions["edit-paste"]->isEnabled());
    EXPECT_EQ(actions.keys(),
              QStringList({"", "edit-copy", "edit-cut", "edit-paste", "select-all"}));
    menu->close();
    edit->setEditorEnabled(false);
    auto [menu2, actions2] = menuActions();
    EXPECT_FALSE(actions2["edit-cut"]->isEnabled());
    EXPECT_FALSE(actions2["edit-paste"]->isEnabled());
    EXPECT_TRUE(actions2["edit-copy"]->isEnabled());
    menu2->close();
}

} // namespace
