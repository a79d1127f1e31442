// The Edit History window over a real database file.
#include "controls/richedit/dbrichedit.h"
#include "dialogs/historywindow.h"
#include "editor/memolist.h"
#include "editor/navigator.h"
#include "store/database.h"
#include "store/dberror.h"
#include "support/tempdb.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

class History : public ::testing::Test {
protected:
    void SetUp() override {
        db.ADOConnection1.setConnectionString(file.connectionString());
        db.ADOConnection1.open();
    }
    void TearDown() override {
        form.reset();
        db.bmall.close();
    }

    int addMemo(const QString& text, int bgcolor = 0x00FFFFFF, bool done = true) {
        View v(db.ADOConnection1, "bm", "setup");
        v.open();
        v.append();
        v.setValue("datetime", 46000.5 + ++added);
        v.setValue("memo", text);
        v.setValue("bgcolor", bgcolor);
        v.setValue("done", done);
        v.post();
        return v.intValue("idx");
    }
    // The row as the file holds it now; empty when it is gone.
    std::optional<QString> storedMemo(int idx) {
        View v(db.ADOConnection1, "bm", "check");
        v.open();
        if (!v.locate("idx", idx))
            return std::nullopt;
        return v.textValue("memo");
    }
    TForm3& start() {
        db.bmall.open();
        form = std::make_unique<TForm3>(db.bmall, [this](const std::function<void()>& f) {
            try {
                f();
            } catch (const DbError& e) {
                errors << e.text();
            }
        });
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }
    void clickPanel(int row) {
        TDBCtrlGrid* g = form->DBCtrlGrid1();
        const QRect r = g->visualRect(g->model()->index(row, 0));
        ASSERT_TRUE(r.isValid()) << "row " << row << " has no panel";
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    bool deleteOn() const { return form->spb1()->isEnabled(); }
    QString shown() const { return form->DBRichEdit1()->toPlainText(); }

    test::TempDb file;
    Database db;
    std::unique_ptr<TForm3> form;
    QStringList errors;
    int added = 0;
};

TEST_F(History, LayoutListsOnlyDoneMemosInPanelsOfTheirOwnSize) {
    addMemo("one");
    addMemo("pending", 0x00FFFFFF, false);
    addMemo("two");
    TForm3& f = start();
    EXPECT_EQ(f.windowTitle(), "Edit History");
    EXPECT_EQ(f.size(), QSize(623, 470));
    EXPECT_FALSE(f.isModal());
    TDBCtrlGrid* g = f.DBCtrlGrid1();
    ASSERT_EQ(g->model()->rowCount(), 2);
    EXPECT_EQ(g->width(), 208);
    const QRect r0 = g->visualRect(g->model()->index(0, 0));
    const QRect r1 = g->visualRect(g->model()->index(1, 0));
    EXPECT_EQ(r0.height(), 38);
    EXPECT_EQ(r1.top() - r0.top(), 38);
    EXPECT_GE(r0.width(), 191);
    EXPECT_EQ(g->sizeHint().height(), 380);
    // The current panel in light green.
    const QImage img = g->viewport()->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(r0.topLeft() + QPoint(150, 4))), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_NE(QColor(img.pixel(r1.topLeft() + QPoint(150, 4))), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(f.spb1()->size(), QSize(32, 32));
    EXPECT_EQ(f.spb1()->toolTip(), "Delete Record");
    EXPECT_FALSE(f.spb1()->icon().isNull());
    EXPECT_EQ(f.height() - f.DBRichEdit1()->geometry().bottom() - 1, TForm3::kBarHeight);
    EXPECT_EQ(shown(), "one");
}

TEST_F(History, DeleteRecordWaitsForTheFirstRefreshAndARow) {
    // Each of the three refreshing events, on a window of its own.
    addMemo("one", 0x0000FFFF);
    addMemo("two");
    for (int way = 0; way < 3; ++way) {
        TForm3& f = start();
        EXPECT_FALSE(deleteOn()) << way;
        EXPECT_EQ(f.DBRichEdit1()->backgroundColor(), 0x00FFFFFFu) << way;
        if (way == 0) {
            clickPanel(0);
        } else if (way == 1) {
            f.DBCtrlGrid1()->setFocus();
            QTest::keyClick(f.DBCtrlGrid1(), Qt::Key_Down);
        } else {
            f.DBNavigator1()->button(TDBNavigator::Next)->click();
        }
        EXPECT_TRUE(deleteOn()) << way;
        form.reset();
        db.bmall.close();
    }
    // With no history, nothing switches it on.
    View v(db.ADOConnection1, "bm", "empty");
    v.open();
    while (!v.isEmpty())
        v.deleteRow();
    TForm3& f = start();
    f.DBCtrlGrid1()->setFocus();
    QTest::keyClick(f.DBCtrlGrid1(), Qt::Key_Down);
    QTest::mouseClick(f.DBCtrlGrid1()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(deleteOn());
}

TEST_F(History, AClickedPanelShowsOnItsColour) {
    addMemo("white");
    addMemo("yellow", 0x0000FFFF); // 0x00BBGGRR: red and green
    TForm3& f = start();
    clickPanel(1);
    EXPECT_EQ(shown(), "yellow");
    EXPECT_EQ(f.DBRichEdit1()->backgroundColor(), 0x0000FFFFu);
    const QImage img = f.DBRichEdit1()->viewport()->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(img.width() - 10, img.height() - 10)), QColor(255, 255, 0));
}

TEST_F(History, DeletingRemovesTheRowForGoodAndMovesOn) {
    const int a = addMemo("a", 0x000000FF);
    const int b = addMemo("b");
    const int c = addMemo("c");
    TForm3& f = start();
    clickPanel(0);
    f.spb1()->click();
    EXPECT_FALSE(storedMemo(a).has_value());
    EXPECT_EQ(storedMemo(b), "b");
    EXPECT_EQ(f.DBCtrlGrid1()->model()->rowCount(), 2);
    EXPECT_EQ(shown(), "b"); // the next row
    EXPECT_TRUE(deleteOn());
    // The colour waits for the next refresh.
    EXPECT_EQ(f.DBRichEdit1()->backgroundColor(), 0x000000FFu);

    // The last row: the one before it becomes current.
    f.DBNavigator1()->button(TDBNavigator::Last)->click();
    EXPECT_EQ(f.DBRichEdit1()->backgroundColor(), 0x00FFFFFFu);
    f.spb1()->click();
    EXPECT_FALSE(storedMemo(c).has_value());
    EXPECT_EQ(shown(), "b");
    EXPECT_TRUE(deleteOn());

    f.spb1()->click();
    EXPECT_FALSE(storedMemo(b).has_value());
    EXPECT_FALSE(deleteOn());
    EXPECT_EQ(f.DBCtrlGrid1()->model()->rowCount(), 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(History, ARefusedDeleteIsReportedAndTheRowStays) {
    const int a = addMemo("a");
    TForm3& f = start();
    clickPanel(0);
    db.ADOConnection1.exec("CREATE TEMP TRIGGER refuse BEFORE DELETE ON bm "
                           "BEGIN SELECT RAISE(ABORT, 'delete refused'); END;");
    f.spb1()->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("delete refused")) << errors[0].toStdString();
    EXPECT_EQ(storedMemo(a), "a");
    EXPECT_EQ(f.DBCtrlGrid1()->model()->rowCount(), 1);
    EXPECT_EQ(shown(), "a");
    EXPECT_TRUE(deleteOn());
}

TEST_F(History, TypedTextIsSavedWhenTheRowChanges) {
    const int a = addMemo("first");
    addMemo("second");
    TForm3& f = start();
    f.DBRichEdit1()->setFocus();
    f.DBRichEdit1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.DBRichEdit1(), " edited");
    EXPECT_EQ(storedMemo(a), "first"); // not before the row changes
    f.DBNavigator1()->button(TDBNavigator::Next)->click();
    EXPECT_EQ(shown(), "second");
    TDBRichEdit probe;
    probe.setText(*storedMemo(a));
    EXPECT_EQ(probe.toPlainText(), "first edited");
}

TEST_F(History, TheViewerMenuOpensOnTheRightPressAndCopiesWithoutCutting) {
    const int a = addMemo("hello world");
    TForm3& f = start();
    TDBRichEdit* viewer = f.DBRichEdit1();
    QMenu* menu = f.PopupMenu1();
    const QPoint at(40, 30);

    QTest::mousePress(viewer->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewer->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(menu->isVisible());
    QTest::mousePress(viewer->viewport(), Qt::RightButton, {}, at);
    EXPECT_TRUE(menu->isVisible()); // on the press, before any release
    EXPECT_LT((menu->pos() - viewer->viewport()->mapToGlobal(at)).manhattanLength(), 4);
    menu->hide();

    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(f.SelectAll1()->text(), "Select All");
    EXPECT_EQ(f.Copy2clipboardCtrlX1()->text(), "Copy 2 clipboard (Ctrl-X)");
    EXPECT_TRUE(f.Copy2clipboardCtrlX1()->shortcut().isEmpty());

    QApplication::clipboard()->clear();
    f.SelectAll1()->trigger();
    EXPECT_EQ(viewer->textCursor().selectedText(), "hello world");
    f.Copy2clipboardCtrlX1()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "hello world");
    // The key the item names copies as well: a cut would empty the memo in the file.
    QApplication::clipboard()->clear();
    viewer->setFocus();
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "hello world");
    EXPECT_EQ(shown(), "hello world");
    EXPECT_FALSE(db.bmall.editing());
    db.bmall.close(); // would post a change, if there were one
    EXPECT_EQ(storedMemo(a), "hello world");
}

// With no done memo there is no row to type into: keys do nothing and raise no error.
TEST_F(History, AnEmptyHistoryTakesNoTyping) {
    TForm3& f = start();
    f.DBRichEdit1()->setFocus();
    QTest::keyClicks(f.DBRichEdit1(), "lost");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(db.bmall.editing());
}

} // namespace
