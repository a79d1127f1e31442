#include "controls/spinedit/timetext.h"

#include <cmath>
#include <stdexcept>

namespace brimble {

TimeOfDay timeOfDayFromDays(double days) {
    if (!std::isfinite(days))
        throw std::invalid_argument("Invalid time value");
    // Days before 30 December 1899 carry their time of day as a positive fraction too.
    const double fraction = std::fabs(days - std::trunc(days));
    qint64 ms = std::llround(fraction * double(kMsecsPerDay));
    if (ms >= kMsecsPerDay)
        ms = 0;
    const qint64 secs = ms / 1000;
    return {int(secs / 3600), int(secs / 60 % 60), int(secs % 60)};
}

double daysFromTimeOfDay(const TimeOfDay& t) {
    const qint64 ms = (qint64(t.hour) * 3600 + t.minute * 60 + t.second) * 1000;
    return double(ms) / double(kMsecsPerDay);
}

TimeLocale TimeLocale::from(const QLocale& locale) {
    TimeLocale result;
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    qsizetype i = 0;
    while (i < format.size() && format[i] != u'h' && format[i] != u'H')
        ++i;
    {
        while (i < format.size() && (format[i] == u'h' || format[i] == u'H'))
            ++i;
        for (; i < format.size(); ++i) {
            const QChar c = format[i];
            if (c == u'm')
                break;
            if (!c.isLetter() && !c.isSpace() && c != u'\'') {
                result.separator = c;
                break;
            }
        }
    }
    const QString am = locale.amText().trimmed(), pm = locale.pmText().trimmed();
    if (!am.isEmpty() && !pm.isEmpty() && am.compare(pm, Qt::CaseInsensitive) != 0) {
        result.am = am;
        result.pm = pm;
    }
    return result;
}

static QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString formatTimeOfDay(const TimeOfDay& t, TTimeDisplay display, bool showSeconds,
                        const TimeLocale& locale) {
    QString text;
    if (display == td24Hour) {
        text = twoDigits(t.hour);
    } else {
        const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        text = QString::number(h12).rightJustified(2, u' ');
    }
    text += locale.separator + twoDigits(t.minute);
    if (showSeconds)
        text += locale.separator + twoDigits(t.second);
    if (display == td12Hour)
        text += u' ' + (t.hour >= 12 ? locale.pm : locale.am);
    return text;
}

namespace {

struct Reader {
    const QString& s;
    qsizetype i = 0;

    void skipSpaces() {
        while (i < s.size() && s[i] == u' ')
            ++i;
    }
    // One or two ASCII digits.
    std::optional<int> number() {
        int value = 0, digits = 0;
        while (digits < 2 && i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            value = value * 10 + (s[i].unicode() - u'0');
            ++i;
            ++digits;
        }
        if (digits == 0 || (i < s.size() && s[i] >= u'0' && s[i] <= u'9'))
            return std::nullopt;
        return value;
    }
    bool take(QChar c) {
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool take(const QString& word) {
        if (s.mid(i, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        i += word.size();
        return true;
    }
};

} // namespace

std::optional<TimeOfDay> parseTimeOfDay(const QString& text, const TimeLocale& locale) {
    Reader r{text};
    r.skipSpaces();
    const auto hour = r.number();
    if (!hour || !r.take(locale.separator))
        return std::nullopt;
    const auto minute = r.number();
    if (!minute)
        return std::nullopt;
    std::optional<int> second = 0;
    if (r.take(locale.separator) && !(second = r.number()))
        return std::nullopt;
    r.skipSpaces();
    // The longer designator first, in case one begins with the other.
    const bool amFirst = locale.am.size() >= locale.pm.size();
    int designator = 0; // 1 morning, 2 afternoon
    if (r.take(amFirst ? locale.am : locale.pm))
        designator = amFirst ? 1 : 2;
    else if (r.take(amFirst ? locale.pm : locale.am))
        designator = amFirst ? 2 : 1;
    r.skipSpaces();
    if (r.i != text.size() || *minute > 59 || *second > 59)
        return std::nullopt;
    int h = *hour;
    if (designator == 0) {
        if (h > 23)
            return std::nullopt;
    } else {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (designator == 2 ? 12 : 0);
    }
    return TimeOfDay{h, *minute, *second};
}

} // namespace brimble
