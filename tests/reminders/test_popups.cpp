#include "remtest.h"

#include <QAbstractButton>

#include "controls/richedit/richedit.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QWindow>

using namespace brimble;
using namespace brimble::test;

namespace {

using Popups = Reminders;

TRichEdit* viewerOf(const PopEntry& e) {
    return qobject_cast<TRichEdit*>(e.viewer.data());
}

} // namespace

TEST_F(Popups, OpenAllOpensEveryUnshownPendingMemoInViewOrder) {
    Memo m;
    const int a = add(m);
    Memo shown = m;
    shown.popped = true;
    const int b = add(shown);
    Memo done = m;
    done.done = true;
    add(done);
    Memo later = m;
    later.due = QDateTime(QDate(2031, 1, 2), QTime(7, 5, 0)); // whatever its date
    const int c = add(later);

    scheduler.setEnabled(false);
    popups.ToolButton6Click();
    EXPECT_EQ(openIdx(), std::vector<int>({a, c}));
    EXPECT_TRUE(poppedInFile(a));
    EXPECT_TRUE(poppedInFile(b));
    EXPECT_TRUE(poppedInFile(c));
    EXPECT_FALSE(scheduler.enabled()) << "the timer is not touched";
    EXPECT_EQ(window(1)->windowTitle(), "02/01/31 07:05 Thu");

    // Everything is shown now: a second run opens nothing.
    Database::reopen(d.bms);
    popups.ToolButton6Click();
    EXPECT_EQ(popups.poplist().size(), 2u);
}

TEST_F(Popups, WindowIsAButtonlessToolWindowAtTheStoredOuterPlace) {
    Memo m;
    m.place = QRect(-200, 700, 240, 130); // partly off the screen: kept there
    m.bgcolor = 0x0080FF00;                // blue 0x00, green 0xFF, red 0x00 (BGR)
    m.memo = "plain words";
    add(m);
    m.place = QRect(37, 41, 213, 171);
    add(m);
    popups.ToolButton6Click();
    settle();

    PopupWindow* w = window(0);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->parentWidget(), nullptr);
    const Qt::WindowFlags f = w->windowFlags();
    EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType no :
         {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowStaysOnTopHint})
        EXPECT_FALSE(f & no) << int(no);
    if (w->ownTitle()) {
        // Window managers would add buttons to a frame of theirs: the window draws its own.
        EXPECT_TRUE(f & Qt::FramelessWindowHint);
        EXPECT_TRUE(w->titleStrip()->isVisible());
        EXPECT_TRUE(w->findChildren<QAbstractButton*>().isEmpty());
    } else {
        EXPECT_TRUE(f & Qt::CustomizeWindowHint);
        EXPECT_TRUE(f & Qt::WindowTitleHint);
        EXPECT_FALSE(f & Qt::FramelessWindowHint);
    }

    EXPECT_EQ(frame(0), QRect(-200, 700, 240, 130));
    EXPECT_EQ(frame(1), QRect(37, 41, 213, 171));
    EXPECT_EQ(w->windowTitle(), "09/12/26 10:15 Wed");

    TRichEdit* v = viewerOf(*popups.poplist()[0]);
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isReadOnly());
    EXPECT_EQ(v->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_EQ(v->backgroundColor(), 0x0080FF00u);
    EXPECT_EQ(v->toPlainText(), "plain words");
    const int b = w->ownTitle() ? PopupWindow::kBorder : 0;
    const int t = w->ownTitle() ? w->titleStrip()->height() : 0;
    EXPECT_EQ(v->geometry(), w->rect().adjusted(b, b + t, -b, -b))
        << "the view fills the client area";
}

TEST_F(Popups, RtfMemoShowsFormatted) {
    Memo m;
    m.memo = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 plain \b bold\b0\par})";
    add(m);
    popups.ToolButton6Click();
    TRichEdit* v = viewerOf(*popups.poplist()[0]);
    EXPECT_EQ(v->toPlainText().trimmed(), "plain bold");
    QTextCursor c(v->document());
    c.setPosition(v->toPlainText().indexOf("bold") + 1);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(Popups, RowWithoutGeometryOrColourOpensCentredOnWhite) {
    Memo m;
    m.place.reset();
    m.bgcolor.reset();
    add(m);
    platform.screen = QSize(1280, 800);
    popups.ToolButton6Click();
    settle();
    EXPECT_EQ(frame(0), QRect(540, 300, 200, 200));
    EXPECT_EQ(viewerOf(*popups.poplist()[0])->backgroundColor(), 0x00FFFFFFu);
}

TEST_F(Popups, ClosingOneClearsItsMarkAndLeavesTheOthers) {
    Memo m;
    const int a = add(m), b = add(m), c = add(m);
    popups.ToolButton6Click();
    QPointer<QWidget> middle = popups.poplist()[1]->form;
    middle->close(); // as the window manager would
    EXPECT_EQ(openIdx(), std::vector<int>({a, c}));
    EXPECT_FALSE(poppedInFile(b));
    EXPECT_TRUE(poppedInFile(a));
    EXPECT_TRUE(poppedInFile(c));
    QApplication::processEvents(); // the window goes once its close handling is over
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(middle.isNull());

    // Alt+F4 closes a pop-up from the keyboard, whatever the window manager offers.
    PopupWindow* last = window(1);
    last->activateWindow();
    QApplication::setActiveWindow(last);
    QTest::keyClick(popups.poplist()[1]->viewer.data(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(openIdx(), std::vector<int>({a}));
    EXPECT_FALSE(poppedInFile(c));

    // Minimised by a window manager's key, it has no taskbar button to come back from and
    // its memo stays marked: it comes back by itself.
    window(0)->setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_FALSE(window(0)->isMinimized());
    EXPECT_TRUE(window(0)->isVisible());
}

TEST_F(Popups, ClosingAPopupOfAMemoDoneMeanwhileOnlyDropsTheWindow) {
    Memo m;
    const int a = add(m);
    popups.ToolButton6Click();
    // The memo is deleted (marked done) and the scan view refreshed, as "Delete Memo" does.
    ASSERT_TRUE(d.BM.locate("idx", a));
    d.BM.edit();
    d.BM.setValue("done", true);
    d.BM.post();
    Database::reopen(d.bms);
    window(0)->close();
    EXPECT_TRUE(popups.poplist().empty());
    EXPECT_TRUE(poppedInFile(a)) << "nothing in the scan view to clear";
}

TEST_F(Popups, CloseAllClearsEveryMarkReopensTheListAndRecolours) {
    Memo m;
    m.bgcolor = 0x00123456;
    const int a = add(m);
    m.bgcolor = 0x00654321;
    const int b = add(m);
    popups.ToolButton6Click();
    std::vector<QPointer<QWidget>> windows;
    for (const auto& e : popups.poplist())
        windows.push_back(e->form);
    d.BM.last();

    popups.ToolButton4Click();
    EXPECT_FALSE(scheduler.enabled());
    EXPECT_FALSE(scheduler.ticking());
    EXPECT_TRUE(popups.poplist().empty());
    for (const auto& w : windows)
        EXPECT_TRUE(w.isNull());
    EXPECT_FALSE(poppedInFile(a));
    EXPECT_FALSE(poppedInFile(b));
    EXPECT_EQ(d.BM.position(), 0) << "the list view is opened again";
    EXPECT_EQ(hooks.colors, std::vector<int>({0x00123456}));

    // With nothing open it still stops the timer, reopens the list and recolours.
    scheduler.setEnabled(true);
    d.BM.last();
    popups.ToolButton4Click();
    EXPECT_FALSE(scheduler.ticking());
    EXPECT_EQ(d.BM.position(), 0);
    EXPECT_EQ(hooks.colors.size(), 2u);
}

TEST_F(Popups, DoubleClickStoresTheOuterPlaceAndSelectsTheMemo) {
    Memo m;
    const int a = add(m), b = add(m);
    popups.ToolButton6Click();
    settle();
    window(1)->setOuterGeometry(QRect(333, 222, 180, 140)); // the user moved and resized it
    settle();
    EXPECT_EQ(placeInFile(b), m.place) << "moving alone stores nothing";

    TRichEdit* v = viewerOf(*popups.poplist()[1]);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(placeInFile(b), QRect(333, 222, 180, 140));
    EXPECT_EQ(placeInFile(a), m.place);
    EXPECT_EQ(hooks.gridchanges, 1);
    EXPECT_EQ(hooks.gridIdx, b);
    ASSERT_TRUE(d.bms.locate("idx", b));
    EXPECT_EQ(d.bms.intValue("left"), 333) << "the scan view is read again";
    EXPECT_EQ(popups.poplist().size(), 2u) << "the pop-up stays open";

    // A memo no longer pending: nothing stored, nothing selected.
    ASSERT_TRUE(d.bms.locate("idx", a));
    d.bms.edit();
    d.bms.setValue("done", true);
    d.bms.post();
    Database::reopen(d.BM);
    window(0)->setOuterGeometry(QRect(5, 6, 170, 160));
    popups.Zclick(popups.poplist()[0]->viewer);
    EXPECT_EQ(placeInFile(a), m.place);
    EXPECT_EQ(hooks.gridchanges, 1);
    EXPECT_TRUE(d.BM.eof());
}

TEST_F(Popups, LinkInAPopupOpensThroughTheShellWithEitherButton) {
    add(Memo{});
    popups.ToolButton6Click();
    TRichEdit* v = viewerOf(*popups.poplist()[0]);
    emit v->urlClicked("http://example.org/a", Qt::RightButton);
    emit v->urlClicked("mailto:x@example.org", Qt::LeftButton);
    EXPECT_EQ(platform.opened, QStringList({"http://example.org/a", "mailto:x@example.org"}));
}
