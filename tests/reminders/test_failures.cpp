// Rows and files the program itself never makes: another process deleting or locking rows,
// impossible places, a database that could not be opened.
#include "remtest.h"

#include "store/dberror.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

using namespace brimble;
using namespace brimble::test;

namespace {

class Failures : public Reminders {
protected:
    // Another process on the same file.
    void otherExec(const QString& sql) {
        if (!other.isOpen()) {
            other.setConnectionString(tmp.connectionString());
            other.open();
        }
        other.exec(sql.toUtf8().constData());
    }
    QString errorOf(const std::function<void()>& step) {
        try {
            step();
        } catch (const DbError& e) {
            return e.text();
        }
        return {};
    }
    Connection other;
};

} // namespace

TEST_F(Failures, MemoDeletedElsewhereIsReportedOnceAndOtherMemosStillPop) {
    Memo m;
    m.repeated = true;
    m.due = QDateTime(QDate(2026, 12, 9), QTime(9, 0));
    const int gone = add(m);
    m.due = QDateTime(QDate(2026, 12, 9), QTime(10, 20));
    const int later = add(m);
    at(10, 15);
    tick();
    ASSERT_EQ(openIdx(), std::vector<int>({gone}));

    otherExec(QStringLiteral("DELETE FROM bm WHERE idx = %1;").arg(gone));
    const QString closing = errorOf([&] { popups.FClose(window(0)); });
    EXPECT_TRUE(closing.contains("Row cannot be located")) << closing.toStdString();
    EXPECT_FALSE(d.bms.editing()) << "a refused mark must not stay in the view";
    EXPECT_TRUE(popups.poplist().empty()) << "its window goes: the row went with its mark";

    // Later ticks neither repeat the error nor stop reminding.
    at(10, 21);
    EXPECT_EQ(errorOf([&] { tick(); }), QString());
    EXPECT_EQ(openIdx(), std::vector<int>({later}));
    EXPECT_TRUE(poppedInFile(later));
    EXPECT_EQ(errorOf([&] { tick(); }), QString());
    EXPECT_EQ(openIdx(), std::vector<int>({later}));
}

TEST_F(Failures, MemoDeletedElsewhereBeforeItsTimeIsReportedOnceAndNeverShown) {
    Memo m;
    m.repeated = true;
    m.due = QDateTime(QDate(2026, 12, 9), QTime(9, 0));
    const int gone = add(m);
    otherExec(QStringLiteral("DELETE FROM bm WHERE idx = %1;").arg(gone));
    auto popupWindows = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(), [](QWidget* w) {
            return qobject_cast<PopupWindow*>(w) != nullptr;
        });
    };
    const auto before = popupWindows();
    at(10, 15);
    EXPECT_TRUE(errorOf([&] { tick(); }).contains("deleted row"));
    EXPECT_EQ(errorOf([&] { tick(); }), QString());
    EXPECT_TRUE(popups.poplist().empty()) << "no window, empty or not, for a row that is gone";
    EXPECT_EQ(popupWindows(), before);
}

TEST_F(Failures, LockHeldElsewhereLeavesOnePopupOpenAndMarked) {
    Memo m;
    m.repeated = true;
    m.due = QDateTime(QDate(2026, 12, 9), QTime(9, 0));
    const int a = add(m);
    at(10, 15);
    tick();
    ASSERT_EQ(openIdx(), std::vector<int>({a}));

    otherExec("BEGIN IMMEDIATE;");
    const QString closing = errorOf([&] { popups.FClose(window(0)); });
    EXPECT_TRUE(closing.contains("locked")) << closing.toStdString();
    EXPECT_TRUE(closing.contains(tmp.filePath())) << "the message names the file";
    EXPECT_FALSE(d.bms.editing());
    otherExec("COMMIT;");

    tick();
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({a})) << "the memo is shown once";
    EXPECT_TRUE(poppedInFile(a));

    popups.FClose(window(0));
    EXPECT_TRUE(popups.poplist().empty());
    EXPECT_FALSE(poppedInFile(a));
}

TEST_F(Failures, CloseAllIsNotStoppedByAMemoDeletedElsewhere) {
    Memo m;
    const int a = add(m), b = add(m);
    popups.ToolButton6Click();
    ASSERT_EQ(openIdx(), std::vector<int>({a, b}));
    otherExec(QStringLiteral("DELETE FROM bm WHERE idx = %1;").arg(a));
    EXPECT_EQ(errorOf([&] { popups.closepop(); }), QString()) << "a vanished row has no mark";
    EXPECT_TRUE(popups.poplist().empty());
    EXPECT_FALSE(poppedInFile(b));
}

TEST_F(Failures, ImpossiblePlacesAreBoundedAndBroughtOnScreen) {
    platform.screen = QSize(1024, 768);
    Memo m;
    m.place = QRect(0, 0, 1000000000, 1000000000);
    add(m);
    m.place = QRect(-100000, -100000, 200, 180);
    add(m);
    m.place = QRect(-150, -100, 200, 180); // a corner still on the screen
    add(m);
    popups.ToolButton6Click();
    settle();
    EXPECT_EQ(frame(0), QRect(0, 0, 1024, 768));
    EXPECT_EQ(frame(1), QRect(412, 294, 200, 180)) << "centred on the primary screen";
    EXPECT_EQ(frame(2), QRect(-150, -100, 200, 180)) << "partly visible: exactly as stored";

    // With two screens a place on the second one stays; the size bound is the whole desktop.
    const QList<QRect> two{QRect(0, 0, 1024, 768), QRect(1024, 0, 1920, 1080)};
    EXPECT_EQ(boundedPlace(QRect(2500, 900, 300, 300), two), QRect(2500, 900, 300, 300));
    EXPECT_EQ(boundedPlace(QRect(5000, 0, 300, 300), two), QRect(362, 234, 300, 300));
    EXPECT_EQ(boundedPlace(QRect(2147483000, 10, 100, 100), two).topLeft(), QPoint(462, 334));
}

TEST(Unopened, ScanAndCloseAllLeaveADatabaseThatFailedToOpenAlone) {
    QTemporaryDir dir;
    QFile empty(dir.path() + "/bm.mdb");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    FakePlatform platform;
    FakeHooks hooks;
    Database d;
    d.ADOConnection1.setConnectionString(Connection::connectionStringFor(dir.path() + "/"));
    EXPECT_THROW(d.ADOConnection1.open(), DbError);
    PopupManager popups(d, platform, hooks, nullptr);
    Scheduler scheduler(d, platform, popups);
    EXPECT_NO_THROW(scheduler.Timer1Timer());
    EXPECT_NO_THROW(popups.closepop()) << "opening the main window still works";
    EXPECT_EQ(QFileInfo(empty.fileName()).size(), 0) << "a file that is no database is not written";
}
