#include "store/datetime.h"

#include <cmath>

namespace brimble {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

// The first character of a locale format that is neither a field letter nor a blank.
QChar separatorIn(const QString& format, QChar fallback) {
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            continue;
        }
        if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}

QString two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// Formats the time part with the locale's own time format (no `t` inside, no recursion).
QString formatTime(const QString& format, const QTime& t, const FormatSettings& s);

QString formatImpl(const QString& pattern, const QDate& d, const QTime& t, const FormatSettings& s,
                   bool allowTimeFormats) {
    QString out;
    out.reserve(pattern.size() + 8);
    const int n = int(pattern.size());
    // With a designator in the pattern the hour counts 1 to 12.
    const bool twelve = pattern.contains(QLatin1String("AP"), Qt::CaseInsensitive);
    const int hour = twelve ? (t.hour() % 12 == 0 ? 12 : t.hour() % 12) : t.hour();
    int i = 0;
    auto run = [&](QChar c) {
        int k = i;
        while (k < n && pattern[k] == c)
            ++k;
        return k - i;
    };
    while (i < n) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int k = i + 1;
            while (k < n && pattern[k] != c)
                out += pattern[k++];
            i = k + 1;
            continue;
        }
        const int len = run(c);
        switch (c.unicode()) {
        case 'd':
            if (len >= 4)
                out += QLocale().dayName(d.dayOfWeek(), QLocale::LongFormat);
            else if (len == 3)
                out += s.shortDayNames.value(d.dayOfWeek() % 7);
            else
                out += len == 2 ? two(d.day()) : QString::number(d.day());
            break;
        case 'M':
            out += len >= 2 ? two(d.month()) : QString::number(d.month());
            break;
        case 'y':
            out += len >= 4 ? QString::number(d.year()) : two(((d.year() % 100) + 100) % 100);
            break;
        case 'h':
        case 'H':
            out += len >= 2 ? two(hour) : QString::number(hour);
            break;
        case 'm':
            out += len >= 2 ? two(t.minute()) : QString::number(t.minute());
            break;
        case 's':
            out += len >= 2 ? two(t.second()) : QString::number(t.second());
            break;
        case 'z':
            out += QStringLiteral("%1").arg(t.msec(), 3, 10, QLatin1Char('0'));
            break;
        case 't':
            if (allowTimeFormats)
                out += formatTime(len >= 2 ? s.longTimeFormat : s.shortTimeFormat, t, s);
            break;
        case 'A':
        case 'a':
            if (i + 1 < n && (pattern[i + 1] == QLatin1Char('P') || pattern[i + 1] == QLatin1Char('p'))) {
                out += t.hour() < 12 ? s.amDesignator : s.pmDesignator;
                i += 2;
                continue;
            }
            out += QString(len, c);
            break;
        case '/':
            out += QString(len, s.dateSeparator);
            break;
        case ':':
            out += QString(len, s.timeSeparator);
            break;
        default:
            out += QString(len, c);
            break;
        }
        i += len;
    }
    return out;
}

QString formatTime(const QString& format, const QTime& t, const FormatSettings& s) {
    return formatImpl(format, QDate(), t, s, false);
}

} // namespace

double toDays(const QDateTime& local) {
    const QDate d = local.date();
    const double day = double(kEpoch.daysTo(d));
    const double frac = local.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight.
    return day >= 0 ? day + frac : day - frac;
}

QDateTime fromDays(double days) {
    if (!std::isfinite(days))
        return {};
    double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * kMsPerDay);
    if (ms >= qint64(kMsPerDay)) { // rounding reached the next midnight
        ms -= qint64(kMsPerDay);
        whole += days >= 0 ? 1 : -1;
    }
    return QDateTime(kEpoch.addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

double timeOfDay(double days) { return std::fabs(days - std::trunc(days)); }

FormatSettings FormatSettings::fromLocale(const QLocale& locale) {
    FormatSettings s;
    s.dateSeparator = separatorIn(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
    s.timeSeparator = separatorIn(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    s.shortDayNames.clear();
    s.shortDayNames << locale.dayName(7, QLocale::ShortFormat);
    for (int d = 1; d <= 6; ++d)
        s.shortDayNames << locale.dayName(d, QLocale::ShortFormat);
    s.shortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    s.longTimeFormat = locale.timeFormat(QLocale::LongFormat);
    s.amDesignator = locale.amText();
    s.pmDesignator = locale.pmText();
    return s;
}

FormatSettings& formatSettings() {
    static FormatSettings settings = FormatSettings::fromLocale(QLocale());
    return settings;
}

QString formatDateTime(const QString& pattern, const QDateTime& value,
                       const FormatSettings& settings) {
    return formatImpl(pattern, value.date(), value.time(), settings, true);
}

QString formatDays(const QString& pattern, double days, const FormatSettings& settings) {
    return formatDateTime(pattern, fromDays(days), settings);
}

} // namespace brimble
