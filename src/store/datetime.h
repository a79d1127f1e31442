#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace brimble {

// Date-times are counts of days since 30 December 1899 (local time), the time of day as the
// fraction: 0.5 is 12:00:00.
double toDays(const QDateTime& local);
QDateTime fromDays(double days);
double timeOfDay(double days); // the fraction alone, for a negative count too

// The separators, names and time formats the patterns print with, taken from a locale.
struct FormatSettings {
    QChar dateSeparator = QLatin1Char('/');
    QChar timeSeparator = QLatin1Char(':');
    QStringList shortDayNames;   // Sunday first, 7 names
    QString shortTimeFormat = QStringLiteral("hh:mm"); // what `t` prints
    QString longTimeFormat = QStringLiteral("hh:mm");  // what `tt` prints
    QString amDesignator = QStringLiteral("AM");
    QString pmDesignator = QStringLiteral("PM");

    static FormatSettings fromLocale(const QLocale& locale);
};

// The program-wide settings; start-up sets both time formats to "hh:mm".
FormatSettings& formatSettings();

// Formats with the patterns of the program: dd MM yy yyyy hh mm ss ddd t tt, "/" and ":"
// for the locale's separators, quoted text literal.
QString formatDateTime(const QString& pattern, const QDateTime& value,
                       const FormatSettings& settings = formatSettings());
QString formatDays(const QString& pattern, double days,
                   const FormatSettings& settings = formatSettings());

namespace patterns {
inline const QString listEntry = QStringLiteral("dd/MM/yy hh:mm ddd");
inline const QString datePicker = QStringLiteral("dd/MM/yy ddd");
inline const QString clock = QStringLiteral("dd/MM/yy ddd hh:mm:ss");
inline const QString dueMinute = QStringLiteral("dd/MM/yy hh:mm tt");
} // namespace patterns

} // namespace brimble
