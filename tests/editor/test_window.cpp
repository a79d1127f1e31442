// The memo list and editor inside the real main window.
#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "controls/richedit/dbrichedit.h"
#include "controls/spinedit/timespinedit.h"
#include "editor/memoeditor.h"
#include "editor/datepicker.h"
#include "editor/memolist.h"
#include "reminders/popups.h"
#include "reminders/scheduler.h"
#include "store/connection.h"
#include "store/view.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"
#include "rtf/rtf.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace brimble;

namespace {

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        platform.programPath = file.directory() + "brimble";
        ErrorBoundary::install(&platform);
    }
    void TearDown() override {
        if (form && !form->closed())
            form->close();
        form.reset();
        ErrorBoundary::install(nullptr);
    }
    void addMemo(int bgcolor, const QString& memo = {}) {
        Connection c;
        c.setConnectionString(file.connectionString());
        c.open();
        View v(c, "bm", "setup");
        v.open();
        v.append();
        v.setValue("datetime", 46000.5);
        v.setValue("bgcolor", bgcolor);
        if (!memo.isEmpty())
            v.setValue("memo", memo);
        v.post();
    }
    TForm1& start() {
        form = std::make_unique<TForm1>(platform);
        form->FormCreate();
        form->startInTray();
        QApplication::processEvents();
        return *form;
    }
    test::TempDb file;
    test::FakePlatform platform;
    std::unique_ptr<TForm1> form;
};

// What the file holds as the memo's text, read with a connection of the test's own.
QString storedText(const test::TempDb& file) {
    Connection c;
    c.setConnectionString(file.connectionString());
    c.open();
    View v(c, "bm", "check");
    v.open();
    QTextDocument d;
    rtf::read(v.textValue("memo"), d);
    return d.toPlainText();
}

// Text typed into the editor and never saved survives whatever closes the views under it.
TEST_F(Window, TypedTextSurvivesCloseAllMinimizeAndExit) {
    addMemo(0x00FFFFFF);
    TForm1& f = start();
    auto type = [&](const QString& text) {
        f.openFromTray();
        f.editor().memo1()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(f.editor().memo1(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(f.editor().memo1(), text);
        ASSERT_TRUE(f.database().BM.editing());
    };

    type("one");
    f.editor().ToolButton4()->click(); // "Close all Popups " re-opens the list's view
    EXPECT_EQ(storedText(file), "one");

    type(" two");
    f.setWindowState(Qt::WindowMinimized); // back to the tray
    QTest::qWait(20);
    EXPECT_EQ(storedText(file), "one two");

    type(" three");
    f.close(); // exit
    EXPECT_EQ(storedText(file), "one two three");
}

// Only the user's own caret moves switch the commands: a memo loaded into the editor, as
// every opening and "Close all Popups " does, leaves the window's buttons as built.
TEST_F(Window, LoadingAMemoIsNoCaretMoveOfTheUsers) {
    addMemo(0x00FFFFFF, "Some words");
    TForm1& f = start();
    MemoEditor& e = f.editor();
    auto states = [&] {
        return std::vector<bool>{e.ToolButton1()->isEnabled(), e.ToolButton2()->isEnabled(),
                                 e.ToolButton3()->isEnabled()};
    };
    const std::vector<bool> built{true, false, false};
    f.openFromTray();
    EXPECT_EQ(states(), built) << "as opened";
    e.ToolButton4()->click();
    EXPECT_EQ(states(), built) << "after Close all Popups";
    e.memo1()->moveCursor(QTextCursor::End);
    EXPECT_EQ(states(), (std::vector<bool>{false, false, true})) << "the user's own move";
}

// Opening the window re-reads the list on its first memo: the date row must show that memo,
// or typing and saving would write the picker's default date into it.
TEST_F(Window, OpeningShowsTheCurrentMemosDateSoSavingKeepsIt) {
    addMemo(0x00FFFFFF); // due 46000.5: 9 December 2025, 12:00
    TForm1& f = start();
    f.openFromTray();
    f.FormActivate();
    EXPECT_EQ(f.editor().DTP1()->date(), QDate(2025, 12, 9));
    EXPECT_DOUBLE_EQ(f.editor().SPT()->Value(), 0.5);
    f.editor().memo1()->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(f.editor().memo1(), "x");
    f.editor().ToolButton3()->click(); // "Save changes"
    Connection c;
    c.setConnectionString(file.connectionString());
    c.open();
    View v(c, "bm", "check");
    v.open();
    EXPECT_DOUBLE_EQ(v.dateValue("datetime"), 46000.5);
}

TEST_F(Window, TheHostsHoldTheListTheEditorAndTheBars) {
    TForm1& f = start();
    EXPECT_EQ(f.listHost()->findChild<TDBCtrlGrid*>("DBCtrlGrid1"), f.editor().DBCtrlGrid1());
    EXPECT_EQ(f.editorHost()->findChild<TDBRichEdit*>("memo1"), f.editor().memo1());
    EXPECT_NE(f.Panel4()->findChild<QWidget*>("DTP1"), nullptr);
    EXPECT_NE(f.Panel4()->findChild<QWidget*>("SPT"), nullptr);
    EXPECT_NE(f.Panel1()->findChild<QWidget*>("ToolBar1"), nullptr);
    EXPECT_NE(f.Panel1()->findChild<QWidget*>("DBNavigator1"), nullptr);
    EXPECT_EQ(f.editor().memo1()->view(), &f.database().BM);
}

TEST_F(Window, OpeningColoursTheEditorAndActivationEnablesTheDateRow) {
    addMemo(0x00336699);
    TForm1& f = start();
    f.openFromTray();
    EXPECT_EQ(f.editor().editorColor(), 0x00336699u);
    f.FormActivate();
    EXPECT_TRUE(f.editor().cb1()->isEnabled());
    EXPECT_TRUE(f.editor().SPT()->isEnabled());
    EXPECT_TRUE(f.editor().Button3()->isEnabled());
    // The reminders' own refresh reaches the editor through the window.
    f.editor().editmode();
    f.gridchange2();
    EXPECT_FALSE(f.database().BM.editing());
    EXPECT_TRUE(f.editor().ToolButton2()->isEnabled());
}

TEST_F(Window, SaveChangesStopsTheReminderTimer) {
    addMemo(0);
    TForm1& f = start();
    f.openFromTray();
    f.scheduler().setEnabled(true); // the tray's "Pop-ups" switched reminders on again
    f.gridchange2();
    f.editor().editmode();
    QTest::mouseClick(f.editor().ToolButton3(), Qt::LeftButton);
    EXPECT_FALSE(f.scheduler().enabled());
}

TEST_F(Window, ACommandsDatabaseErrorReachesTheErrorBox) {
    addMemo(0);
    TForm1& f = start();
    f.openFromTray();
    f.gridchange2();
    f.editor().editmode();
    f.database().ADOConnection1.exec("DELETE FROM bm;");
    QTest::mouseClick(f.editor().ToolButton3(), Qt::LeftButton);
    ASSERT_EQ(platform.errors.size(), 1);
    EXPECT_TRUE(platform.errors[0].contains("cannot be located")) << platform.errors[0].toStdString();
}

TEST_F(Window, ThePopupButtonsOfTheToolbarReachThePopups) {
    addMemo(0);
    addMemo(0);
    TForm1& f = start();
    f.openFromTray();
    QTest::mouseClick(f.editor().ToolButton6(), Qt::LeftButton);
    EXPECT_EQ(f.popups().poplist().size(), 2u);
    f.scheduler().setEnabled(true);
    QTest::mouseClick(f.editor().ToolButton4(), Qt::LeftButton);
    EXPECT_TRUE(f.popups().poplist().empty());
    EXPECT_FALSE(f.scheduler().enabled());
    EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
}

} // namespace
