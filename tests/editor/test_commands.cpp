// "Create new memo", "Save changes", "Delete Memo" and "Now", checked in the file.
#include "editortest.h"

using namespace brimble;
using namespace brimble::test;

namespace {

using Commands = EditorTest;

TEST_F(Commands, CreateThenSaveStoresTheCreationMomentToTheSecond) {
    platform.clock = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 37, 456));
    start();
    editor->ToolButton1Click();
    EXPECT_TRUE(editor->newmemo());
    EXPECT_EQ(db.BM.state(), ViewState::Edit);
    EXPECT_FALSE(newOn());
    EXPECT_FALSE(deleteOn());
    EXPECT_TRUE(saveOn());
    EXPECT_TRUE(editor->cb1()->isEnabled() && editor->cb1()->isChecked());
    EXPECT_TRUE(editor->Button3()->isEnabled() && editor->SPT()->isEnabled());
    EXPECT_EQ(editor->editorColor(), 0x00FFFFFFu);
    EXPECT_EQ(editor->memo1()->toPlainText(), "");
    EXPECT_TRUE(editor->memo1()->hasFocus());

    // Stored at once, before any save, with its creation defaults.
    const int idx = currentIdx();
    Stored s = stored(idx);
    ASSERT_TRUE(s.found);
    EXPECT_DOUBLE_EQ(s.datetime, toDays(platform.clock));
    EXPECT_FALSE(s.repeated);
    EXPECT_EQ(s.left, 412);
    EXPECT_EQ(s.top, 284);
    // The due scan sees it at once.
    EXPECT_EQ(db.bms.recordCount(), 1);

    editor->ToolButton3Click();
    s = stored(idx);
    EXPECT_DOUBLE_EQ(s.datetime, days(2026, 12, 9, 10, 15, 37));
    EXPECT_TRUE(s.repeated);
    EXPECT_EQ(s.bgcolor, 0x00FFFFFF);
    EXPECT_EQ(s.left, 412);
    EXPECT_EQ(s.top, 284);
    EXPECT_EQ(s.lebar, 200);
    EXPECT_EQ(s.tinggi, 200);
    EXPECT_FALSE(s.done);
    EXPECT_FALSE(editor->newmemo());
    EXPECT_EQ(schedulerCalls, std::vector<bool>{false});
    EXPECT_TRUE(newOn());
    EXPECT_TRUE(deleteOn());
    EXPECT_FALSE(saveOn());
    EXPECT_TRUE(editor->DBCtrlGrid1()->hasFocus());
    EXPECT_EQ(db.BM.state(), ViewState::Browse);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(Commands, SavingANewMemoTakesTheScreenAsItIsThenAndTheEditorsValues) {
    start();
    editor->ToolButton1Click();
    const int idx = currentIdx();
    typeIntoEditor("hello");
    platform.screen = QSize(1280, 1024);
    editor->DTP1()->setDate(QDate(2027, 3, 4));
    editor->SPT()->setValue((13 * 3600 + 14 * 60 + 15) / 86400.0);
    editor->cb1()->setChecked(false);
    editor->setEditorColor(0x0080FF00);
    editor->ToolButton3Click();
    const Stored s = stored(idx);
    EXPECT_EQ(s.left, 540);
    EXPECT_EQ(s.top, 412);
    EXPECT_DOUBLE_EQ(s.datetime, days(2027, 3, 4, 13, 14, 15));
    EXPECT_FALSE(s.repeated);
    EXPECT_EQ(s.bgcolor, 0x0080FF00);
    EXPECT_EQ(plain(s.memo), "hello");
    EXPECT_EQ(db.bmall.recordCount(), 0);
}

TEST_F(Commands, SavingAnOldMemoKeepsItsPlace) {
    const int a = addMemo(days(2026, 12, 24, 18, 30));
    start();
    editor->gridchange2();
    editor->editmode();
    editor->ToolButton3Click();
    const Stored s = stored(a);
    EXPECT_EQ(s.left, 1);
    EXPECT_EQ(s.top, 2);
    EXPECT_EQ(s.tinggi, 30);
    EXPECT_EQ(s.lebar, 40);
}

TEST_F(Commands, CreateThenSelectAnotherKeepsTheDefaultsAndTheTypedText) {
    const int other = addMemo(days(2026, 1, 1));
    start();
    editor->ToolButton1Click();
    const int idx = currentIdx();
    ASSERT_NE(idx, other);
    typeIntoEditor("typed");
    editor->SPT()->setValue(0.25);
    clickPanel(0);
    EXPECT_FALSE(editor->newmemo());
    EXPECT_EQ(currentIdx(), other);
    Stored s = stored(idx);
    EXPECT_FALSE(s.repeated);
    EXPECT_DOUBLE_EQ(s.datetime, toDays(platform.clock));
    EXPECT_EQ(s.left, 412);
    EXPECT_EQ(plain(s.memo), "typed");

    // Back on the new memo, a save no longer resets its place.
    clickPanel(1);
    EXPECT_EQ(currentIdx(), idx);
    editor->editmode();
    db.BM.setValue("left", 5);
    editor->ToolButton3Click();
    s = stored(idx);
    EXPECT_EQ(s.left, 5);
}

TEST_F(Commands, CreateWhileEditingAnotherMemoKeepsItsText) {
    const int a = addMemo(days(2026, 1, 1), "{\\rtf1 a}");
    start();
    editor->gridchange2();
    editor->memo1()->moveCursor(QTextCursor::End);
    typeIntoEditor("z");
    editor->ToolButton1Click();
    EXPECT_EQ(plain(stored(a).memo), "az");
    EXPECT_EQ(db.BM.recordCount(), 2);
    EXPECT_EQ(editor->memo1()->toPlainText(), "");
}

TEST_F(Commands, SaveWithNoEditPendingWritesNothingButStopsTheTimer) {
    const double when = days(2026, 12, 24, 18, 30);
    const int a = addMemo(when, "", 0x00112233);
    start();
    editor->gridchange2();
    editor->DTP1()->setDate(QDate(2031, 1, 1)); // set without entering: not editing
    editor->setEditorColor(0x00000000);
    editor->ToolButton3Click();
    const Stored s = stored(a);
    EXPECT_DOUBLE_EQ(s.datetime, when);
    EXPECT_EQ(s.bgcolor, 0x00112233);
    EXPECT_EQ(schedulerCalls, std::vector<bool>{false});
    EXPECT_TRUE(newOn());
    EXPECT_TRUE(deleteOn());
    EXPECT_FALSE(saveOn());
}

TEST_F(Commands, NowSetsDateAndTimeAndBeginsEditingWithoutWriting) {
    const double when = days(2026, 12, 24, 18, 30);
    const int a = addMemo(when);
    start();
    QTest::mouseClick(editor->Button3(), Qt::LeftButton); // off until the window is activated
    EXPECT_FALSE(db.BM.editing());
    editor->FormActivate();
    editor->gridchange2();
    platform.clock = QDateTime(QDate(2026, 12, 9), QTime(22, 45, 10));
    QTest::mouseClick(editor->Button3(), Qt::LeftButton);
    EXPECT_EQ(editor->DTP1()->date(), QDate(2026, 12, 9));
    EXPECT_NEAR(editor->SPT()->Value(), (22 * 3600 + 45 * 60 + 10) / 86400.0, 1e-7);
    EXPECT_EQ(db.BM.state(), ViewState::Edit);
    EXPECT_TRUE(saveOn());
    EXPECT_FALSE(newOn());
    EXPECT_DOUBLE_EQ(stored(a).datetime, when);
    editor->ToolButton3Click();
    EXPECT_DOUBLE_EQ(stored(a).datetime, days(2026, 12, 9, 22, 45, 10));
}

TEST_F(Commands, DeleteMarksTheMemoDoneAndItLandsInTheHistory) {
    const int a = addMemo(days(2026, 1, 1), "", 0x00000011, true);
    const int b = addMemo(days(2026, 1, 2), "", 0x00000022, false);
    addMemo(days(2025, 1, 1), "", 0, false, true); // already in the history
    start();
    clickPanel(1);
    ASSERT_EQ(currentIdx(), b);
    QTest::mouseClick(editor->ToolButton2(), Qt::LeftButton);
    EXPECT_TRUE(stored(b).done);
    EXPECT_FALSE(stored(a).done);
    EXPECT_EQ(db.BM.recordCount(), 1);
    EXPECT_EQ(db.bms.recordCount(), 1);
    EXPECT_TRUE(db.bmall.filtered());
    EXPECT_EQ(db.bmall.recordCount(), 2);
    EXPECT_TRUE(db.bmall.locate("idx", b));
    // The editor shows the memo the list is on now, not the deleted one.
    EXPECT_EQ(currentIdx(), a);
    EXPECT_EQ(editor->DTP1()->date(), QDate(2026, 1, 1));
    EXPECT_TRUE(editor->cb1()->isChecked());
    EXPECT_EQ(editor->editorColor(), 0x00000011u);
    EXPECT_TRUE(deleteOn());
    EXPECT_TRUE(hosts.panel3->isEnabled());
    // The edit-then-save that used to follow writes the right memo's values back.
    editor->editmode();
    editor->ToolButton3Click();
    EXPECT_DOUBLE_EQ(stored(a).datetime, days(2026, 1, 1));
    EXPECT_TRUE(stored(a).repeated);
    EXPECT_EQ(stored(a).bgcolor, 0x00000011);
}

TEST_F(Commands, DeletingTheLastMemoDisablesTheEditorSideUntilCreate) {
    const int a = addMemo(days(2026, 1, 1));
    start();
    editor->FormActivate();
    editor->gridchange2();
    editor->ToolButton2Click();
    EXPECT_TRUE(stored(a).done);
    EXPECT_TRUE(db.BM.isEmpty());
    EXPECT_TRUE(newOn());
    EXPECT_FALSE(deleteOn());
    EXPECT_FALSE(saveOn());
    EXPECT_FALSE(hosts.panel3->isEnabled());
    EXPECT_FALSE(editor->memo1()->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(editor->cb1()), static_cast<QWidget*>(editor->Button3()),
                       static_cast<QWidget*>(editor->SPT()), static_cast<QWidget*>(editor->DTP1())})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // A selection change on the empty list keeps it that way.
    editor->gridchange2();
    EXPECT_FALSE(deleteOn());
    EXPECT_FALSE(hosts.panel3->isEnabled());

    QTest::mouseClick(editor->ToolButton1(), Qt::LeftButton);
    EXPECT_TRUE(hosts.panel3->isEnabled());
    EXPECT_TRUE(editor->memo1()->isEnabled());
    for (QWidget* w : {static_cast<QWidget*>(editor->cb1()), static_cast<QWidget*>(editor->Button3()),
                       static_cast<QWidget*>(editor->SPT()), static_cast<QWidget*>(editor->DTP1())})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(db.BM.recordCount(), 1);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(Commands, AFailedPostStopsTheSaveWithTheStepsBeforeItDone) {
    const int a = addMemo(days(2026, 1, 1));
    start();
    editor->gridchange2();
    editor->editmode();
    // The memo vanished behind the view's back: the post is refused.
    db.ADOConnection1.exec("DELETE FROM bm;");
    QTest::mouseClick(editor->ToolButton3(), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(stored(a).found);
    EXPECT_TRUE(schedulerCalls.empty()); // the later steps did not run
    EXPECT_TRUE(saveOn());
}

} // namespace
