#include "reminders/scheduler.h"

#include "platform/platform.h"
#include "reminders/popups.h"
#include "store/database.h"
#include "store/datetime.h"

namespace brimble {

Scheduler::Scheduler(Database& db, Platform& platform, PopupManager& popups, QObject* parent)
    : QObject(parent), db_(db), platform_(platform), popups_(popups) {
    timer_.setObjectName(QStringLiteral("Timer1"));
    connect(&timer_, &QTimer::timeout, this, &Scheduler::Timer1Timer);
    popups_.setScheduler(this);
    apply();
}

Scheduler::~Scheduler() { popups_.setScheduler(nullptr); }

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

void Scheduler::resetpop() { Database::clearPopped(db_.bms); }

void Scheduler::Timer1Timer() {
    View& bms = db_.bms;
    const QString kPopped = QStringLiteral("popped");
    const QString kDue = QStringLiteral("datetime");

    // Pass 1: the first unshown memo of this minute, seconds ignored; it ends the tick.
    const QString nowText = formatDateTime(patterns::dueMinute, platform_.now());
    for (bms.first(); !bms.eof(); bms.next()) {
        if (bms.boolValue(kPopped))
            continue;
        if (formatDays(patterns::dueMinute, bms.dateValue(kDue)) != nowText)
            continue;
        popups_.createpop2();
        bms.edit();
        bms.setValue(kPopped, true);
        bms.post();
        return;
    }

    // Pass 2: every unshown repeating memo whose time has come, against the clock as it is
    // when the row is reached.
    const QString kRepeated = QStringLiteral("repeated");
    for (bms.first(); !bms.eof(); bms.next()) {
        const double now = toDays(platform_.now());
        if (bms.boolValue(kPopped) || !bms.boolValue(kRepeated) || now < bms.dateValue(kDue))
            continue;
        popups_.createpop2();
        bms.edit();
        bms.setValue(kPopped, true);
        bms.post();
    }
}

} // namespace brimble
