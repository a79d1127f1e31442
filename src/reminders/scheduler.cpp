#include "reminders/scheduler.h"

#include "platform/platform.h"
#include "reminders/popups.h"
#include "store/database.h"
#include "store/datetime.h"
#include "store/dberror.h"

#include <cmath>
#include <exception>

namespace brimble {

Scheduler::Scheduler(Database& db, Platform& platform, PopupManager& popups, QObject* parent)
    : QObject(parent), db_(db), platform_(platform), popups_(popups) {
    timer_.setObjectName(QStringLiteral("Timer1"));
    connect(&timer_, &QTimer::timeout, this, &Scheduler::Timer1Timer);
    popups_.setScheduler(this);
    apply();
}

Scheduler::~Scheduler() {
    popups_.setScheduler(nullptr);
}

void Scheduler::setEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    apply();
}

void Scheduler::setIntervalMs(int ms) {
    if (ms < 0)
        ms = 0;
    if (ms == interval_)
        return;
    interval_ = ms;
    apply();
}

void Scheduler::apply() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

void Scheduler::resetpop() {
    Database::clearPopped(db_.bms);
}

DueMinute DueMinute::of(const QDate& date, int hour, int minute) {
    return {((date.year() % 100) + 100) % 100, date.month(), date.day(), hour, minute};
}

DueMinute DueMinute::ofDays(double days) {
    // The same rounding as the day count's conversion to a date and a time, without going
    // through the local time zone: the text is printed from these very fields.
    if (!std::isfinite(days))
        return {};
    double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * 86400000.0);
    if (ms >= 86400000) {
        ms -= 86400000;
        whole += days >= 0 ? 1 : -1;
    }
    static const QDate epoch(1899, 12, 30);
    return of(epoch.addDays(qint64(whole)), int(ms / 3600000), int(ms / 60000 % 60));
}

void Scheduler::Timer1Timer() {
    View& bms = db_.bms;
    // A database that could not be opened was reported at start-up; no tick repeats it.
    if (!bms.isOpen())
        return;
    const int kPopped = bms.fieldIndex(QStringLiteral("popped"));
    const int kDue = bms.fieldIndex(QStringLiteral("datetime"));
    const int kIdx = bms.fieldIndex(QStringLiteral("idx"));
    const int kRepeated = bms.fieldIndex(QStringLiteral("repeated"));

    // Pass 1: the first unshown memo whose due-minute text is that of now; it ends the tick.
    // The text shows day, month, two-digit year, hour and minute and nothing else, so rows
    // whose fields differ from now's cannot match; the text decides for the others. A memo
    // whose window is open counts as shown even if its mark could not be written.
    const QDateTime now = platform_.now();
    const QString nowText = formatDateTime(patterns::dueMinute, now);
    const DueMinute nowMinute = DueMinute::of(now.date(), now.time().hour(), now.time().minute());
    for (bms.first(); !bms.eof(); bms.next()) {
        const double due = bms.field(kDue).toDouble();
        if (DueMinute::ofDays(due) != nowMinute || bms.field(kPopped).toBool() ||
            formatDays(patterns::dueMinute, due) != nowText ||
            popups_.isShown(bms.field(kIdx).toInt()))
            continue;
        popups_.createpop2();
        Database::setPopped(bms, true);
        return;
    }

    // Pass 2: every unshown repeating memo whose time has come, against the clock as it is
    // when the row is reached (read only for the rows it can decide). A mark that cannot be
    // written does not stop the others; its error is raised once, after the walk.
    std::exception_ptr failure;
    for (bms.first(); !bms.eof(); bms.next()) {
        if (!bms.field(kRepeated).toBool() || bms.field(kPopped).toBool())
            continue;
        if (platform_.nowDays() < bms.field(kDue).toDouble() ||
            popups_.isShown(bms.field(kIdx).toInt()))
            continue;
        popups_.popAndMark(failure);
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace brimble
