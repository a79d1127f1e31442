#pragma once

#include <QDate>
#include <QObject>
#include <QTimer>

namespace brimble {

// The fields of a due-minute text ("dd/MM/yy hh:mm tt"): two date-times print the same text
// exactly when these are equal.
struct DueMinute {
    int yy = -1, month = 0, day = 0, hour = 0, minute = 0;
    static DueMinute of(const QDate& date, int hour, int minute);
    // From a stored day count, rounded to the millisecond as its conversion to a date rounds.
    static DueMinute ofDays(double days);
    bool operator==(const DueMinute&) const = default;
};

struct Database;
class Platform;
class PopupManager;

// Decides when memos pop up. Owns the scan timer `Timer1`; the main window owns the scheduler.
class Scheduler : public QObject {
    Q_OBJECT
public:
    static constexpr int kInitialIntervalMs = 10000;

    Scheduler(Database& db, Platform& platform, PopupManager& popups, QObject* parent = nullptr);
    ~Scheduler() override;

    // Switching on when off, or giving a new interval, starts the countdown afresh; repeating
    // the current state or interval changes nothing. An interval of 0 stops the ticks.
    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    void setIntervalMs(int ms);
    int intervalMs() const { return interval_; }
    bool ticking() const { return timer_.isActive(); }
    QTimer& timer() { return timer_; }

    // Clears every stale popped mark at start-up.
    void resetpop();
    // One tick of the scan: pass 1 shows the first unshown memo due in the current minute
    // and ends the tick; otherwise pass 2 shows every unshown repeating memo that is overdue.
    void Timer1Timer();

private:
    void apply();

    Database& db_;
    Platform& platform_;
    PopupManager& popups_;
    QTimer timer_;
    bool enabled_ = true;
    int interval_ = kInitialIntervalMs;
};

} // namespace brimble
