// The memo list, the toolbar and the date picker as the user sees them.
#include "editortest.h"

#include <QToolBar>

using namespace brimble;
using namespace brimble::test;

namespace {

using List = EditorTest;

QRgb pixelAt(QWidget* w, QPoint p) {
    return w->grab().toImage().pixel(p);
}

TEST_F(List, PanelsShowTheDueMomentInOrderAndFollowReopening) {
    addMemo(days(2026, 12, 9, 10, 15));
    addMemo(days(2027, 1, 2, 7, 5), "", 0, false, true); // done: not listed
    addMemo(days(2027, 1, 3, 23, 59));
    start();
    QAbstractItemModel* m = editor->DBCtrlGrid1()->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->index(0, 0).data().toString(), "09/12/26 10:15 Wed");
    EXPECT_EQ(m->index(1, 0).data().toString(), "03/01/27 23:59 Sun");

    // A memo stored elsewhere shows after the view is opened again, not before.
    addMemo(days(2027, 2, 1));
    EXPECT_EQ(m->rowCount(), 2);
    Database::reopen(db.BM);
    EXPECT_EQ(m->rowCount(), 3);
    db.BM.close();
    EXPECT_EQ(m->rowCount(), 0);
    EXPECT_EQ(editor->DBCtrlGrid1()->rowAt({10, 10}), -1);
}

TEST_F(List, PanelGeometryAndTheBoldDateLabel) {
    for (int i = 0; i < 12; ++i)
        addMemo(days(2026, 1, 1 + i));
    start();
    TDBCtrlGrid* g = editor->DBCtrlGrid1();
    EXPECT_EQ(g->objectName(), "DBCtrlGrid1");
    EXPECT_EQ(g->width(), 171);
    const QRect r0 = g->visualRect(g->model()->index(0, 0));
    const QRect r1 = g->visualRect(g->model()->index(1, 0));
    EXPECT_EQ(r0.height(), 41);
    EXPECT_EQ(r1.top() - r0.top(), 41);
    EXPECT_GE(r0.width(), 154);
    EXPECT_EQ(g->sizeHint(), QSize(171, 410));
    const QFont& f = g->panels().labelFont();
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(f.pixelSize(), 13);
    // The label starts at (6, 10): nothing is drawn left of it or above it in a panel.
    const QImage img = g->viewport()->grab().toImage();
    const QRgb bg = img.pixel(r1.left() + 3, r1.top() + 5);
    bool inked = false;
    for (int y = r1.top() + 2; y < r1.top() + 10; ++y)
        for (int x = r1.left() + 2; x < r1.right() - 2; ++x)
            ASSERT_EQ(img.pixel(x, y), bg) << x << "," << y;
    for (int y = r1.top() + 10; y < r1.top() + 26 && !inked; ++y)
        for (int x = r1.left() + 6; x < r1.left() + 40 && !inked; ++x)
            inked = img.pixel(x, y) != bg;
    EXPECT_TRUE(inked);
}

TEST_F(List, TheCurrentPanelIsInTheSelectionColour) {
    addMemo(days(2026, 1, 1));
    addMemo(days(2026, 1, 2));
    start();
    TDBCtrlGrid* g = editor->DBCtrlGrid1();
    const QPoint in0 = g->visualRect(g->model()->index(0, 0)).topLeft() + QPoint(100, 4);
    const QPoint in1 = g->visualRect(g->model()->index(1, 0)).topLeft() + QPoint(100, 4);
    EXPECT_EQ(editor->selectionColor(), 0x00C0DCC0u);
    EXPECT_EQ(QColor(pixelAt(g->viewport(), in0)), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_NE(QColor(pixelAt(g->viewport(), in1)), QColor(0xC0, 0xDC, 0xC0));

    db.BM.next(); // moved by someone else (a pop-up, the navigator): the list follows
    EXPECT_EQ(QColor(pixelAt(g->viewport(), in1)), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_NE(QColor(pixelAt(g->viewport(), in0)), QColor(0xC0, 0xDC, 0xC0));

    editor->setSelectionColor(0x00FF0000); // blue in 0x00BBGGRR
    EXPECT_EQ(QColor(pixelAt(g->viewport(), in1)), QColor(0, 0, 0xFF));
}

TEST_F(List, ClicksBelowTheLastPanelMoveNothing) {
    addMemo(days(2026, 1, 1));
    addMemo(days(2026, 1, 2));
    start();
    clickPanel(1);
    TDBCtrlGrid* g = editor->DBCtrlGrid1();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(20, 41 * 5));
    EXPECT_EQ(db.BM.position(), 1);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(List, TheListFollowsANewMemoAndScrollsToIt) {
    for (int i = 0; i < 30; ++i)
        addMemo(days(2026, 1, 1 + i));
    start();
    editor->ToolButton1Click();
    TDBCtrlGrid* g = editor->DBCtrlGrid1();
    EXPECT_EQ(g->model()->rowCount(), 31);
    EXPECT_EQ(db.BM.position(), 30);
    EXPECT_EQ(g->currentIndex().row(), 30);
    EXPECT_TRUE(g->viewport()->rect().intersects(g->visualRect(g->currentIndex())));
}

TEST_F(List, ToolbarButtonsInOrderWithHintsAndPictures) {
    start();
    QToolBar* bar = editor->ToolBar1();
    EXPECT_EQ(bar->objectName(), "ToolBar1");
    EXPECT_EQ(bar->geometry(), QRect(218, 5, 249, 29));
    EXPECT_EQ(editor->DBNavigator1()->geometry(), QRect(10, 6, 196, 31));
    struct Expected {
        const char* name;
        const char* hint;
    };
    const Expected order[] = {{"ToolButton1", "Create new memo"},   {"ToolButton2", "Delete Memo"},
                              {"ToolButton3", "Save changes"},      {nullptr, nullptr},
                              {"ToolButton6", "Open All Popups"},   {"ToolButton4", "Close all Popups "},
                              {"ToolButton8", "Tile Popups"},       {"ToolButton7", "Cascade Popups"},
                              {"ToolButton9", "Lock Popups Positions"}};
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 9);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        if (!order[i].name) {
            EXPECT_TRUE(actions[i]->isSeparator());
            continue;
        }
        auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(actions[i]));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->objectName(), order[i].name);
        EXPECT_EQ(b->toolTip(), order[i].hint);
        EXPECT_EQ(b->accessibleName(), order[i].hint);
        EXPECT_EQ(b->size(), QSize(27, 26));
        const QIcon icon = b->icon();
        const QImage on = icon.pixmap(20, 20, QIcon::Normal).toImage();
        const QImage off = icon.pixmap(20, 20, QIcon::Disabled).toImage();
        ASSERT_FALSE(on.isNull());
        EXPECT_EQ(on.size(), QSize(20, 20));
        EXPECT_NE(on, off) << "the disabled picture is a picture of its own";
        EXPECT_EQ(window->findChild<QToolButton*>(order[i].name), b);
    }
    EXPECT_EQ(editor->ToolButton6()->objectName(), "ToolButton6");
    EXPECT_EQ(editor->ToolButton9()->objectName(), "ToolButton9");
}

TEST_F(List, DateRowControlsSitWhereTheyBelong) {
    start();
    EXPECT_EQ(editor->DTP1()->geometry(), QRect(8, 8, 145, 24));
    EXPECT_EQ(editor->SPT()->geometry(), QRect(162, 8, 99, 24));
    EXPECT_EQ(editor->Button3()->geometry(), QRect(268, 8, 39, 23));
    EXPECT_EQ(editor->cb1()->geometry(), QRect(318, 10, 71, 19));
    EXPECT_EQ(editor->Button3()->text(), "Now");
    EXPECT_EQ(editor->Button3()->accessibleName(), "Now");
    EXPECT_EQ(editor->cb1()->text(), "Repeat");
    EXPECT_EQ(editor->cb1()->accessibleName(), "Repeat");
    EXPECT_EQ(editor->SPT()->objectName(), "SPT");
    EXPECT_EQ(editor->memo1()->objectName(), "memo1");
    EXPECT_TRUE(editor->DTP1()->calendarPopup());
    EXPECT_TRUE(editor->cb1()->font().bold());
    EXPECT_EQ(editor->cb1()->font().pixelSize(), 13);
}

TEST_F(List, TheDatePickerShowsTheProgramsPatternWithTheLocaleSeparator) {
    addMemo(days(2026, 12, 9, 10, 15));
    start();
    editor->gridchange2();
    TDatePicker* dtp = editor->DTP1();
    EXPECT_EQ(dtp->text(), formatDays(patterns::datePicker, days(2026, 12, 9)));
    EXPECT_EQ(dtp->text(), "09/12/26 Wed");
    const QChar saved = formatSettings().dateSeparator;
    formatSettings().dateSeparator = QLatin1Char('.');
    dtp->applyFormat();
    EXPECT_EQ(dtp->text(), "09.12.26 Wed");
    EXPECT_EQ(dtp->date(), QDate(2026, 12, 9));
    formatSettings().dateSeparator = saved;
}

} // namespace
