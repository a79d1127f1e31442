#include "app/autorun.h"
#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/sessionend.h"
#include "app/tray.h"
#include "reminders/popups.h"
#include "reminders/scheduler.h"
#include "store/dberror.h"
#include "store/connection.h"
#include "store/view.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace brimble;

namespace {

// Writes rows straight into the file through a connection of the test's own.
void addRows(const test::TempDb& db, int n, bool popped) {
    Connection c;
    c.setConnectionString(db.connectionString());
    c.open();
    View v(c, "bm", "setup");
    v.open();
    for (int i = 0; i < n; ++i) {
        v.append();
        v.setValue("memo", QStringLiteral("memo %1").arg(i));
        v.setValue("popped", popped);
        v.post();
    }
}

int poppedInFile(const test::TempDb& db) {
    Connection c;
    c.setConnectionString(db.connectionString());
    c.open();
    View v(c, "bm", "check");
    v.open();
    int n = 0;
    for (v.first(); !v.eof(); v.next())
        n += v.boolValue("popped");
    return n;
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        platform.programPath = db.directory() + "brimble";
        ErrorBoundary::install(&platform);
    }
    void TearDown() override {
        if (form && !form->closed())
            form->close();
        form.reset();
        ErrorBoundary::install(nullptr);
    }
    TForm1& start() {
        form = std::make_unique<TForm1>(platform);
        form->FormCreate();
        form->startInTray();
        QApplication::processEvents();
        return *form;
    }
    test::TempDb db;
    test::FakePlatform platform;
    std::unique_ptr<TForm1> form;
};

} // namespace

TEST_F(Shell, StartUpClearsStaleMarksBeforeTheListViewOpens) {
    addRows(db, 3, true);
    TForm1& f = start();
    EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
    EXPECT_EQ(poppedInFile(db), 0);
    // The list view is opened after the reset, so it shows the cleared marks.
    Database& d = f.database();
    ASSERT_EQ(d.BM.recordCount(), 3);
    for (d.BM.first(); !d.BM.eof(); d.BM.next())
        EXPECT_FALSE(d.BM.boolValue("popped"));
    EXPECT_TRUE(d.config.isOpen());
    EXPECT_TRUE(d.bmall.isOpen());
    EXPECT_EQ(f.programDirectory(), QDir::toNativeSeparators(db.directory()));
    EXPECT_EQ(f.windowTitle(), "Brimble! (version 1.0)");
    EXPECT_EQ(f.minimumSize(), QSize(600, 515));
}

TEST_F(Shell, MissingDatabaseIsReportedAndStartUpGoesOn) {
    QTemporaryDir empty;
    platform.programPath = empty.path() + "/brimble";
    TForm1& f = start();
    ASSERT_EQ(platform.errors.size(), 1);
    EXPECT_TRUE(platform.errors[0].contains("unable to open database file"));
    EXPECT_FALSE(f.database().BM.isOpen());
    EXPECT_TRUE(f.inTray());
    EXPECT_TRUE(f.tray().isVisible());
    EXPECT_FALSE(QFile::exists(empty.path() + "/bm.mdb"));
    // Reported once: the scan leaves the unopened views alone, and the window still opens.
    for (int i = 0; i < 3; ++i)
        ErrorBoundary::run([&] { f.scheduler().Timer1Timer(); });
    EXPECT_TRUE(ErrorBoundary::run([&] { f.openFromTray(); }));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(platform.errors.size(), 1) << platform.errors.join("\n").toStdString();
    f.close();
    EXPECT_TRUE(f.closed());
}

TEST_F(Shell, ExitClearsPoppedMarksInTheFile) {
    addRows(db, 2, false);
    TForm1& f = start();
    View& bms = f.database().bms;
    for (bms.first(); !bms.eof(); bms.next()) {
        bms.edit();
        bms.setValue("popped", true);
        bms.post();
    }
    ASSERT_EQ(poppedInFile(db), 2);
    f.close();
    EXPECT_TRUE(f.closed());
    EXPECT_EQ(poppedInFile(db), 0);
    EXPECT_FALSE(f.database().ADOConnection1.isOpen());
    EXPECT_FALSE(f.tray().isVisible());
}

TEST_F(Shell, TrayStatesAndTheReminderTimer) {
    TForm1& f = start();
    // In the tray after start: hidden, icon shown, reminders on.
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(f.tray().isVisible());
    EXPECT_EQ(f.tray().toolTip(), "Brimble!");
    EXPECT_TRUE(f.scheduler().ticking());
    EXPECT_EQ(f.scheduler().intervalMs(), 10000);

    f.openFromTray();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.scheduler().ticking()) << "no reminders while the window is open";

    // "Pop-ups" unchecked, then minimizing still switches reminders on.
    f.popupsClick();
    EXPECT_FALSE(f.tray().popups().isChecked());
    f.setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_FALSE(f.isVisible()) << "minimizing hides into the tray";
    EXPECT_TRUE(f.scheduler().ticking());
    EXPECT_FALSE(f.tray().popups().isChecked()) << "only the item itself changes its mark";
    f.popupsClick();
    EXPECT_TRUE(f.tray().popups().isChecked());
    EXPECT_TRUE(f.scheduler().ticking());
    f.popupsClick();
    EXPECT_FALSE(f.scheduler().ticking());
}

TEST_F(Shell, TrayMenuItemsAndClicks) {
    TForm1& f = start();
    QStringList items;
    for (QAction* a : f.tray().PopupMenu1().actions())
        items << a->text();
    EXPECT_EQ(items, QStringList({"Open Brimble", "Pop-ups", "Arrange", "Exit"}));
    // A double-click or left click on the icon does nothing.
    emit f.tray().icon().activated(QSystemTrayIcon::DoubleClick);
    emit f.tray().icon().activated(QSystemTrayIcon::Trigger);
    QApplication::processEvents();
    EXPECT_FALSE(f.isVisible());
    f.tray().PopupMenu1().actions()[0]->trigger();
    EXPECT_TRUE(f.isVisible());
    f.tray().PopupMenu1().actions()[3]->trigger();
    EXPECT_TRUE(f.closed());
}

TEST_F(Shell, WithoutATrayTheWindowWaitsMinimizedInTheTaskbar) {
    platform.tray = false;
    TForm1& f = start();
    EXPECT_TRUE(f.isMinimized());
    EXPECT_TRUE(f.scheduler().ticking());
    // A window manager that maps new windows normal, whatever they ask (openbox): the window
    // goes back out of the way and keeps reminding.
    f.setWindowState(Qt::WindowNoState);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_TRUE(f.isMinimized());
    EXPECT_TRUE(f.scheduler().ticking());
    QTRY_VERIFY_WITH_TIMEOUT(!f.stillStartingMinimized(), 5000);
    f.showNormal(); // the user restores it from the taskbar
    QApplication::processEvents();
    EXPECT_FALSE(f.scheduler().ticking()) << "restoring runs the steps of opening";
    EXPECT_FALSE(f.inTray());
    f.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    EXPECT_TRUE(f.isMinimized());
    EXPECT_TRUE(f.scheduler().ticking());
}

TEST_F(Shell, AnotherStartBringsTheWindowOutOfTheTrayOrToTheFront) {
    TForm1& f = start();
    f.anotherStart();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.inTray());
    EXPECT_FALSE(f.scheduler().ticking()) << "as \"Open Brimble\" does";
    f.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    f.anotherStart();
    QApplication::processEvents();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.isMinimized());
    EXPECT_FALSE(f.scheduler().ticking());
}

TEST_F(Shell, ClockLineFollowsTheSeamClock) {
    TForm1& f = start();
    platform.clock = QDateTime(QDate(2026, 12, 9), QTime(23, 59, 58));
    f.Timer2Timer();
    EXPECT_EQ(f.Label2().text(), "09/12/26 Wed 23:59:58");
    EXPECT_EQ(f.Timer2().interval(), 1000);
}

TEST(ErrorBoundaryTest, ReportsAndGoesOnWithoutStackingBoxes) {
    struct Reentrant : test::FakePlatform {
        void showError(const QString& text) override {
            errors << text;
            if (errors.size() == 1) // a timer firing while the box is open
                ErrorBoundary::run([] { throw std::runtime_error("second"); });
        }
    } platform;
    ErrorBoundary::install(&platform);
    int after = 0;
    auto handler = ErrorBoundary::wrap([] { throw DbError("database is locked"); });
    handler();
    after++;
    EXPECT_EQ(after, 1);
    EXPECT_EQ(platform.errors, QStringList({"database is locked", "second"}));
    EXPECT_TRUE(ErrorBoundary::run([] {}));
    ErrorBoundary::install(nullptr);
}

TEST(SchedulerSwitch, IntervalAndSwitchingRules) {
    test::TempDb db;
    test::FakePlatform platform;
    Database d;
    struct NoHooks : MemoListHooks {
        void gridchange2() override {}
        void setEditorColor(int) override {}
    } hooks;
    QWidget owner;
    PopupManager popups(d, platform, hooks, &owner);
    Scheduler s(d, platform, popups);
    EXPECT_TRUE(s.ticking());
    s.setIntervalMs(0);
    EXPECT_FALSE(s.ticking()) << "an interval of 0 stops the ticks";
    s.setEnabled(false);
    s.setIntervalMs(5000);
    EXPECT_FALSE(s.ticking());
    s.setEnabled(true);
    EXPECT_TRUE(s.ticking());
    EXPECT_EQ(s.timer().interval(), 5000);
    const int left = s.timer().remainingTime();
    QTest::qWait(30);
    s.setEnabled(true); // already on: the countdown goes on
    EXPECT_LT(s.timer().remainingTime(), left);
}

TEST_F(Shell, LoadingTheWindowReadsTheStartAtLogOnStateAndWritesNothing) {
    platform.autorun.localMachine["brimble!"] = "/opt/brimble/brimble";
    TForm1& f = start();
    EXPECT_TRUE(f.autorun().autoRun());
    EXPECT_EQ(f.autorun().location(), AutorunRoot::LocalMachine);
    EXPECT_TRUE(platform.autorun.currentUser.isEmpty());
}

#ifdef Q_OS_UNIX
// A termination signal that arrives while the event loop is stuck in one long step (a huge
// memo being laid out) still ends the program, a few seconds later.
TEST(SessionEndSignal, ABusyLoopStillEndsOnTerm) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SessionEnd end([] {});
        ::raise(SIGTERM);
        ::sleep(60); // the loop never gets to the close
        ::_exit(0);
    }
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 100 && done == 0; ++i) {
        QTest::qWait(100);
        done = ::waitpid(child, &status, WNOHANG);
    }
    if (done == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "still running 10 s after SIGTERM";
    }
    EXPECT_TRUE(WIFSIGNALED(status));
}
#endif
