// Selection changes, editing, and what reaches the file when the list moves.
#include "editortest.h"

using namespace brimble;
using namespace brimble::test;

namespace {

using Lifecycle = EditorTest;

TEST_F(Lifecycle, WindowBuiltStateThenActivationEnablesTheDateRow) {
    addMemo(days(2026, 12, 24, 18, 30), "", 0x0000FF00, false);
    start();
    EXPECT_TRUE(newOn());
    EXPECT_FALSE(deleteOn());
    EXPECT_FALSE(saveOn());
    EXPECT_TRUE(hosts.panel3->isEnabled());
    EXPECT_FALSE(editor->cb1()->isEnabled());
    EXPECT_FALSE(editor->Button3()->isEnabled());
    EXPECT_FALSE(editor->SPT()->isEnabled());
    EXPECT_TRUE(editor->DTP1()->isEnabled());
    EXPECT_TRUE(editor->cb1()->isChecked());
    EXPECT_EQ(db.BM.state(), ViewState::Browse);

    editor->FormActivate();
    EXPECT_TRUE(editor->cb1()->isEnabled());
    EXPECT_TRUE(editor->Button3()->isEnabled());
    EXPECT_TRUE(editor->SPT()->isEnabled());
    EXPECT_TRUE(editor->DTP1()->isEnabled());
}

TEST_F(Lifecycle, ActivationWithAnEmptyListLeavesTheDateRowOff) {
    start();
    editor->FormActivate();
    EXPECT_FALSE(editor->cb1()->isEnabled());
    EXPECT_FALSE(editor->SPT()->isEnabled());
    // Entering the editor with no memo is harmless: no error, nothing to edit.
    editor->editmode();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_FALSE(db.BM.editing());
}

TEST_F(Lifecycle, SelectionChangeShowsTheMemosValues) {
    addMemo(days(2026, 12, 24, 18, 30, 15), "", 0x00112233, true);
    addMemo(days(2027, 1, 2, 7, 5), "", 0x00445566, false);
    start();
    clickPanel(1);
    EXPECT_EQ(db.BM.position(), 1);
    EXPECT_EQ(editor->DTP1()->date(), QDate(2027, 1, 2));
    EXPECT_NEAR(editor->SPT()->Value(), (7 * 60 + 5) / 1440.0, 1e-7);
    EXPECT_FALSE(editor->cb1()->isChecked());
    EXPECT_EQ(editor->editorColor(), 0x00445566u);
    EXPECT_TRUE(newOn());
    EXPECT_TRUE(deleteOn());
    EXPECT_FALSE(saveOn());

    clickPanel(0);
    EXPECT_EQ(editor->DTP1()->date(), QDate(2026, 12, 24));
    EXPECT_NEAR(editor->SPT()->Value(), (18 * 3600 + 30 * 60 + 15) / 86400.0, 1e-7);
    EXPECT_TRUE(editor->cb1()->isChecked());
    EXPECT_EQ(editor->editorColor(), 0x00112233u);
}

TEST_F(Lifecycle, EnteringAControlBeginsEditing) {
    addMemo(days(2026, 12, 24, 18, 30));
    start();
    editor->gridchange2();
    for (QWidget* w : {static_cast<QWidget*>(editor->DTP1()), static_cast<QWidget*>(editor->SPT()),
                       static_cast<QWidget*>(editor->cb1()),
                       static_cast<QWidget*>(editor->memo1())}) {
        SCOPED_TRACE(w->objectName().toStdString());
        editor->FormActivate();
        editor->gridchange2();
        editor->DBCtrlGrid1()->setFocus(Qt::MouseFocusReason);
        ASSERT_FALSE(db.BM.editing());
        w->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(db.BM.state(), ViewState::Edit);
        EXPECT_FALSE(newOn());
        EXPECT_FALSE(deleteOn());
        EXPECT_TRUE(saveOn());
    }
}

TEST_F(Lifecycle, ReturningFocusFromAPopupOrAnotherWindowIsNotAnEntry) {
    addMemo(days(2026, 12, 24, 18, 30));
    start();
    editor->gridchange2();
    editor->DBCtrlGrid1()->setFocus();
    editor->DTP1()->setFocus(Qt::PopupFocusReason);
    editor->memo1()->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_FALSE(db.BM.editing());
    EXPECT_FALSE(saveOn());
}

TEST_F(Lifecycle, ADateChangeIsLostAndATextChangeKeptOnSelectionChange) {
    const double when = days(2026, 12, 24, 18, 30);
    const int a = addMemo(when, "{\\rtf1 first}");
    addMemo(days(2027, 1, 2, 7, 5));
    start();
    editor->FormActivate();
    editor->gridchange2();
    editor->DTP1()->setFocus(Qt::MouseFocusReason);
    editor->DTP1()->setDate(QDate(2030, 5, 5));
    clickPanel(1);
    EXPECT_DOUBLE_EQ(stored(a).datetime, when);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();

    clickPanel(0);
    editor->memo1()->moveCursor(QTextCursor::End);
    typeIntoEditor(" added");
    clickPanel(1);
    EXPECT_EQ(plain(stored(a).memo), "first added");
    EXPECT_DOUBLE_EQ(stored(a).datetime, when);
    // Coming back shows what was kept.
    clickPanel(0);
    EXPECT_EQ(editor->memo1()->toPlainText(), "first added");
}

TEST_F(Lifecycle, ClickingThePanelBeingEditedDropsItsChanges) {
    const int a = addMemo(days(2026, 12, 24, 18, 30), "{\\rtf1 kept}", 0x00ABCDEF);
    start();
    editor->gridchange2();
    editor->memo1()->moveCursor(QTextCursor::End);
    typeIntoEditor(" typed");
    editor->setEditorColor(0x00000080);
    ASSERT_TRUE(db.BM.editing());
    clickPanel(0);
    EXPECT_FALSE(db.BM.editing());
    EXPECT_EQ(plain(stored(a).memo), "kept");
    EXPECT_EQ(editor->memo1()->toPlainText(), "kept");
    EXPECT_EQ(editor->editorColor(), 0x00ABCDEFu);
    EXPECT_TRUE(deleteOn());
    EXPECT_FALSE(saveOn());
}

TEST_F(Lifecycle, NavigatorMovesFollowTheCursorRule) {
    const int a = addMemo(days(2026, 1, 1), "{\\rtf1 a}");
    addMemo(days(2026, 1, 2));
    addMemo(days(2026, 1, 3));
    start();
    TDBNavigator* nav = editor->DBNavigator1();
    editor->gridchange2();
    EXPECT_FALSE(nav->button(TDBNavigator::First)->isEnabled());
    EXPECT_FALSE(nav->button(TDBNavigator::Prior)->isEnabled());
    EXPECT_TRUE(nav->button(TDBNavigator::Last)->isEnabled());
    editor->memo1()->moveCursor(QTextCursor::End);
    typeIntoEditor("b");
    QTest::mouseClick(nav->button(TDBNavigator::Next), Qt::LeftButton);
    EXPECT_EQ(plain(stored(a).memo), "ab");
    EXPECT_EQ(db.BM.position(), 1);
    EXPECT_EQ(editor->DTP1()->date(), QDate(2026, 1, 2));
    QTest::mouseClick(nav->button(TDBNavigator::Last), Qt::LeftButton);
    EXPECT_EQ(db.BM.position(), 2);
    EXPECT_EQ(editor->DTP1()->date(), QDate(2026, 1, 3));
    EXPECT_FALSE(nav->button(TDBNavigator::Next)->isEnabled());
    EXPECT_FALSE(nav->button(TDBNavigator::Last)->isEnabled());
    EXPECT_TRUE(nav->button(TDBNavigator::First)->isEnabled());
    QTest::mouseClick(nav->button(TDBNavigator::First), Qt::LeftButton);
    EXPECT_EQ(db.BM.position(), 0);
    EXPECT_EQ(editor->DTP1()->date(), QDate(2026, 1, 1));
}

TEST_F(Lifecycle, KeysMoveTheListAndRefreshAfterEachKey) {
    for (int i = 0; i < 25; ++i)
        addMemo(days(2026, 1, 1 + i));
    start();
    TDBCtrlGrid* g = editor->DBCtrlGrid1();
    g->setFocus();
    struct Step {
        Qt::Key key;
        int row;
    };
    const Step steps[] = {{Qt::Key_Down, 1},     {Qt::Key_Down, 2},   {Qt::Key_Up, 1},
                          {Qt::Key_PageDown, 11}, {Qt::Key_PageDown, 21}, {Qt::Key_PageDown, 24},
                          {Qt::Key_Down, 24},     {Qt::Key_PageUp, 14}, {Qt::Key_Home, 0},
                          {Qt::Key_Up, 0},        {Qt::Key_End, 24}};
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << int(s.key));
        QTest::keyClick(g, s.key);
        EXPECT_EQ(db.BM.position(), s.row);
        EXPECT_EQ(editor->DTP1()->date(), QDate(2026, 1, 1).addDays(s.row));
        EXPECT_TRUE(deleteOn());
    }
    // Any key release refreshes, even one that does not move: a pending edit is dropped.
    typeIntoEditor("x");
    ASSERT_TRUE(db.BM.editing());
    QTest::keyClick(g, Qt::Key_A);
    EXPECT_FALSE(db.BM.editing());
    EXPECT_EQ(editor->memo1()->toPlainText(), "");
}

} // namespace
