#include "remtest.h"

#include <QTest>
#include <deque>

using namespace brimble;
using namespace brimble::test;

namespace {

using Scan = Reminders;

void closeWindow(Reminders&, PopupWindow* w) {
    w->close();
    QApplication::processEvents();
}

} // namespace

TEST_F(Scan, NonRepeatingMemoPopsInItsMinuteOnlySecondsIgnored) {
    Memo m;
    m.due = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 40));
    const int idx = add(m);

    at(10, 14, 59);
    tick();
    EXPECT_TRUE(popups.poplist().empty()) << "a minute early";

    at(10, 15, 0); // before its seconds, but in its minute
    tick();
    ASSERT_EQ(openIdx(), std::vector<int>({idx}));
    EXPECT_TRUE(poppedInFile(idx));

    at(10, 15, 10);
    tick();
    EXPECT_EQ(popups.poplist().size(), 1u) << "an open pop-up is not shown twice";

    // Closed while its minute lasts: it comes back at the next tick of that minute.
    closeWindow(*this, window(0));
    EXPECT_FALSE(poppedInFile(idx));
    at(10, 15, 59);
    tick();
    ASSERT_EQ(popups.poplist().size(), 1u);
    closeWindow(*this, window(0));

    // Once the minute has passed it never pops by itself again.
    at(10, 16, 0);
    tick();
    at(11, 15, 0);
    tick();
    EXPECT_TRUE(popups.poplist().empty());
    EXPECT_FALSE(poppedInFile(idx));
}

TEST_F(Scan, MinuteMatchNeedsTheSameDayMonthAndYear) {
    Memo m;
    m.due = QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0));
    add(m);
    m.due = QDateTime(QDate(2025, 12, 9), QTime(10, 15, 0));
    add(m);
    at(10, 15, 30);
    tick();
    EXPECT_TRUE(popups.poplist().empty());
}

TEST_F(Scan, OneMemoOfAMinutePerTickInViewOrderAndPassTwoWaits) {
    Memo m;
    const int a = add(m);
    const int b = add(m);
    Memo overdue;
    overdue.due = QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0));
    overdue.repeated = true;
    const int r = add(overdue);

    at(10, 15, 5);
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({a})) << "the first of the minute ends the tick";
    EXPECT_FALSE(poppedInFile(r));
    at(10, 15, 15);
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({a, b}));
    EXPECT_FALSE(poppedInFile(r)) << "a tick with a pass-1 pop-up skips pass 2";
    at(10, 15, 25);
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({a, b, r}));
    at(10, 15, 35);
    tick();
    EXPECT_EQ(popups.poplist().size(), 3u);
}

TEST_F(Scan, RepeatingOverdueMemoReturnsAfterCloseUnlessPassOneShowsAnother) {
    Memo m;
    m.due = QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0));
    m.repeated = true;
    const int r = add(m);
    Memo plain = m;
    plain.repeated = false;
    const int missed = add(plain);

    at(10, 15, 0);
    tick();
    ASSERT_EQ(openIdx(), std::vector<int>({r})) << "an overdue memo that does not repeat waits";
    tick();
    EXPECT_EQ(popups.poplist().size(), 1u);

    closeWindow(*this, window(0));
    EXPECT_FALSE(poppedInFile(r));
    at(10, 15, 10); // one interval later
    tick();
    ASSERT_EQ(openIdx(), std::vector<int>({r}));

    // Closed again, but this tick a memo of the minute comes first.
    closeWindow(*this, window(0));
    Memo now;
    now.due = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 30));
    const int fresh = add(now);
    at(10, 15, 20);
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({fresh}));
    at(10, 15, 30);
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({fresh, r}));
    EXPECT_FALSE(poppedInFile(missed));
}

TEST_F(Scan, PassTwoPopsEveryOverdueRepeatingMemoAtOnceNotFutureOnes) {
    Memo m;
    m.repeated = true;
    m.due = QDateTime(QDate(2026, 12, 1), QTime(8, 0, 0));
    const int a = add(m);
    m.due = QDateTime(QDate(2026, 12, 9), QTime(10, 20, 30));
    const int b = add(m);
    m.due = QDateTime(QDate(2026, 12, 9), QTime(10, 22, 0));
    const int future = add(m);

    at(10, 21, 0);
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({a, b}));
    EXPECT_TRUE(poppedInFile(a));
    EXPECT_TRUE(poppedInFile(b));
    EXPECT_FALSE(poppedInFile(future));
    at(10, 22, 0);
    tick();
    EXPECT_EQ(openIdx(), std::vector<int>({a, b, future}));
}

// A clock that moves on each time it is read.
struct SteppingClock : FakePlatform {
    mutable std::deque<QDateTime> reads;
    QDateTime now() const override {
        if (reads.empty())
            return clock;
        QDateTime t = reads.front();
        reads.pop_front();
        return t;
    }
};

TEST(ScanClock, PassTwoReadsTheClockAfreshForEachRow) {
    formatSettings().shortTimeFormat = QStringLiteral("hh:mm");
    formatSettings().longTimeFormat = QStringLiteral("hh:mm");
    TempDb tmp;
    SteppingClock clock;
    FakeHooks hooks;
    Database d;
    d.ADOConnection1.setConnectionString(tmp.connectionString());
    d.ADOConnection1.open();
    d.bms.open();
    d.BM.open();
    for (int s : {0, 1}) {
        d.bms.append();
        d.bms.setValue("datetime", toDays(QDateTime(QDate(2026, 12, 9), QTime(10, 20, s))));
        d.bms.setValue("repeated", true);
        d.bms.setValue("left", 0);
        d.bms.setValue("top", 0);
        d.bms.setValue("lebar", 100);
        d.bms.setValue("tinggi", 100);
        d.bms.setValue("bgcolor", 0);
        d.bms.post();
    }
    Database::reopen(d.bms);
    PopupManager popups(d, clock, hooks, nullptr);
    Scheduler scheduler(d, clock, popups);
    const QDate day(2026, 12, 9);
    // Pass 1 at 10:19:59, then the rows at 10:20:00 and 10:20:01.
    clock.reads = {QDateTime(day, QTime(10, 19, 59)), QDateTime(day, QTime(10, 20, 0)),
                   QDateTime(day, QTime(10, 20, 1))};
    scheduler.Timer1Timer();
    EXPECT_EQ(popups.poplist().size(), 2u) << "the second row is due by the time it is reached";
    EXPECT_TRUE(clock.reads.empty());
    popups.release();
}

TEST_F(Scan, NothingPopsWhileTheTimerIsOff) {
    Memo m;
    m.repeated = true;
    m.due = QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0));
    add(m);
    scheduler.setIntervalMs(15);
    scheduler.setEnabled(false);
    QTest::qWait(120);
    EXPECT_TRUE(popups.poplist().empty());

    scheduler.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !popups.poplist().empty(); }, 2000))
        << "the first tick after switching on shows the overdue memo";

    scheduler.setIntervalMs(0);
    EXPECT_FALSE(scheduler.ticking()) << "an interval of 0 stops the ticks";
}

TEST(DueMinuteText, FieldsAreEqualExactlyWhenTheTextsAre) {
    formatSettings().shortTimeFormat = QStringLiteral("hh:mm");
    formatSettings().longTimeFormat = QStringLiteral("hh:mm");
    const QDateTime base(QDate(2026, 12, 9), QTime(10, 15, 0));
    std::vector<double> days;
    for (const QDateTime& t : {base, base.addYears(100), base.addYears(-100), base.addDays(1),
                               base.addMonths(1), QDateTime(QDate(1899, 12, 29), QTime(23, 0)),
                               QDateTime(QDate(1899, 12, 30), QTime(0, 0))}) {
        const double d = toDays(t);
        // Minute edges, and the half-millisecond where rounding tips into the next minute.
        for (double off : {0.0, 1e-12, -1e-12, 0.4, 0.6, 59.0, 59.9994, 59.9996, 60.0, -0.4, -0.6})
            days.push_back(d + off / 86400.0);
    }
    for (double a : days) {
        const QDateTime t = fromDays(a);
        EXPECT_EQ(DueMinute::ofDays(a), DueMinute::of(t.date(), t.time().hour(), t.time().minute()))
            << a;
        for (double b : days)
            EXPECT_EQ(DueMinute::ofDays(a) == DueMinute::ofDays(b),
                      formatDays(patterns::dueMinute, a) == formatDays(patterns::dueMinute, b))
                << a << " " << b;
    }
}
