#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace brimble {

enum TTimeDisplay { td24Hour = 0, td12Hour = 1 };

// A time of day in whole seconds; every field always in range.
struct TimeOfDay {
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0; // 0..59
    bool operator==(const TimeOfDay&) const = default;
};

constexpr qint64 kMsecsPerDay = 86400000;

// The time-of-day part of a date-time counted in days (0.5 = 12:00:00), to the nearest
// millisecond, with the milliseconds dropped. A value within half a millisecond of the next
// midnight is that midnight, 00:00:00. Throws std::invalid_argument for NaN and infinities.
TimeOfDay timeOfDayFromDays(double days);
double daysFromTimeOfDay(const TimeOfDay& t);

// What the control takes from the locale: the time separator and the designators.
struct TimeLocale {
    QChar separator = u':';
    QString am = QStringLiteral("AM");
    QString pm = QStringLiteral("PM");

    // The separator is the first character of the short time format after the hour that is
    // neither a letter nor a space (":" when there is none); empty or indistinguishable
    // designators fall back to "AM" and "PM".
    static TimeLocale from(const QLocale& locale);
};

// The control's text: "HH:MM[:SS]" in 24-hour mode, "hh:MM[:SS] AM" in 12-hour mode with the
// hour padded to two characters by spaces; ":" stands for the locale's separator.
QString formatTimeOfDay(const TimeOfDay& t, TTimeDisplay display, bool showSeconds,
                        const TimeLocale& locale);

// Reads hours, minutes and optional seconds joined by the separator, with an optional
// designator after them; spaces around the parts are allowed. Every text formatTimeOfDay
// makes reads back. Fails on anything else, including hours over 23 (1..12 with a
// designator), minutes or seconds over 59, and non-ASCII digits.
std::optional<TimeOfDay> parseTimeOfDay(const QString& text, const TimeLocale& locale);

} // namespace brimble
