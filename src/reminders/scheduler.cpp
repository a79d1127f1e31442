#include "reminders/scheduler.h"

#include "reminders/popups.h"
#include "store/database.h"

namespace brimble {

Scheduler::Scheduler(Database& db, Platform& platform, PopupManager& popups, QObject* parent)
    : QObject(parent), db_(db), platform_(platform), popups_(popups) {
    timer_.setObjectName(QStringLiteral("Timer1"));
    connect(&timer_, &QTimer::timeout, this, &Scheduler::Timer1Timer);
    apply();
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

void Scheduler::resetpop() { Database::clearPopped(db_.bms); }

void Scheduler::Timer1Timer() {
    // The scan of due memos comes with the pop-up windows; until then a tick finds nothing.
    (void)platform_;
    (void)popups_;
}

} // namespace brimble
