#include "controls/spinedit/timetext.h"

#include <cmath>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace brimble;

namespace {

const QLocale kUS(QLocale::English, QLocale::UnitedStates);
const QLocale kFinnish(QLocale::Finnish, QLocale::Finland);
const QLocale kGreek(QLocale::Greek, QLocale::Greece);
const QLocale kKorean(QLocale::Korean, QLocale::SouthKorea);

TEST(TimeLocale, SeparatorAndDesignatorsComeFromTheLocale) {
    const TimeLocale us = TimeLocale::from(kUS);
    EXPECT_EQ(us.separator, u':');
    EXPECT_EQ(us.am, "AM");
    EXPECT_EQ(us.pm, "PM");
    const TimeLocale fi = TimeLocale::from(kFinnish);
    EXPECT_EQ(fi.separator, u'.');
    EXPECT_EQ(fi.am, "ap.");
    EXPECT_EQ(fi.pm, "ip.");
    // The designator stands before the hour in this format; the separator is still found.
    const TimeLocale ko = TimeLocale::from(kKorean);
    EXPECT_EQ(ko.separator, u':');
    EXPECT_EQ(ko.am, QString::fromUtf8("오전"));
}

TEST(TimeText, BothModesWithAndWithoutSeconds) {
    const TimeLocale us = TimeLocale::from(kUS);
    EXPECT_EQ(formatTimeOfDay({9, 5, 7}, td24Hour, false, us), "09:05");
    EXPECT_EQ(formatTimeOfDay({0, 0, 0}, td24Hour, false, us), "00:00");
    EXPECT_EQ(formatTimeOfDay({23, 59, 7}, td24Hour, true, us), "23:59:07");
    EXPECT_EQ(formatTimeOfDay({0, 30, 0}, td12Hour, false, us), "12:30 AM");
    EXPECT_EQ(formatTimeOfDay({12, 30, 0}, td12Hour, false, us), "12:30 PM");
    EXPECT_EQ(formatTimeOfDay({9, 5, 0}, td12Hour, false, us), " 9:05 AM");
    EXPECT_EQ(formatTimeOfDay({13, 5, 0}, td12Hour, false, us), " 1:05 PM");
    EXPECT_EQ(formatTimeOfDay({23, 5, 9}, td12Hour, true, us), "11:05:09 PM");
    const TimeLocale fi = TimeLocale::from(kFinnish);
    EXPECT_EQ(formatTimeOfDay({21, 5, 9}, td12Hour, true, fi), " 9.05.09 ip.");
    EXPECT_EQ(formatTimeOfDay({7, 45, 0}, td24Hour, false, fi), "07.45");
}

// Whatever the control shows must read back as the same time, in every mode and locale.
TEST(TimeText, EveryShownFormReadsBack) {
    for (const QLocale& locale : {kUS, kFinnish, kGreek, kKorean}) {
        const TimeLocale loc = TimeLocale::from(locale);
        for (int secs = 0; secs < 86400; secs += 13) {
            const TimeOfDay t{secs / 3600, secs / 60 % 60, secs % 60};
            for (TTimeDisplay d : {td24Hour, td12Hour}) {
                for (bool seconds : {false, true}) {
                    const QString text = formatTimeOfDay(t, d, seconds, loc);
                    const auto back = parseTimeOfDay(text, loc);
                    ASSERT_TRUE(back) << qPrintable(text);
                    const TimeOfDay want{t.hour, t.minute, seconds ? t.second : 0};
                    ASSERT_EQ(*back, want) << qPrintable(text);
                }
            }
        }
    }
}

TEST(TimeText, RefusesLettersAndPartsOutOfRange) {
    const TimeLocale us = TimeLocale::from(kUS);
    for (const char* bad : {"29:30", "24:00", "09:60", "09:30:60", "0a:30", "09:3x", "x9:30",
                            "13:00 PM", "00:30 AM", "09-30", "09:", ":30", "09:30:", "09:30 XM",
                            "09:30 AM PM", "123:00", "09:300", "", "   "}) {
        EXPECT_FALSE(parseTimeOfDay(QString::fromLatin1(bad), us)) << bad;
    }
    // Digits of other scripts are not taken for ASCII ones.
    EXPECT_FALSE(parseTimeOfDay(QString::fromUtf8("٠٩:30"), us));
    // A Finnish text needs the Finnish separator, not ":".
    EXPECT_FALSE(parseTimeOfDay("09:30", TimeLocale::from(kFinnish)));
}

TEST(TimeText, DesignatorsAndTheirHours) {
    const TimeLocale us = TimeLocale::from(kUS);
    EXPECT_EQ(*parseTimeOfDay("12:15 AM", us), (TimeOfDay{0, 15, 0}));
    EXPECT_EQ(*parseTimeOfDay("12:15 PM", us), (TimeOfDay{12, 15, 0}));
    EXPECT_EQ(*parseTimeOfDay("11:15 pm", us), (TimeOfDay{23, 15, 0}));
    EXPECT_EQ(*parseTimeOfDay(" 1:02:03 Am", us), (TimeOfDay{1, 2, 3}));
    const TimeLocale el = TimeLocale::from(kGreek);
    EXPECT_EQ(*parseTimeOfDay(QString::fromUtf8(" 3:00 Μ.Μ."), el), (TimeOfDay{15, 0, 0}));
    EXPECT_FALSE(parseTimeOfDay(" 3:00 PM", el));
}

TEST(DayFraction, TakesTheTimeOfDayToTheNearestMillisecond) {
    EXPECT_EQ(timeOfDayFromDays(0.5), (TimeOfDay{12, 0, 0}));
    // The main window's stored value: 12:00:00 and one millisecond, which is dropped.
    EXPECT_EQ(timeOfDayFromDays(0.500000011574074), (TimeOfDay{12, 0, 0}));
    // Just under a second rounds up to it before the milliseconds go.
    EXPECT_EQ(timeOfDayFromDays((36000.0 * 1000 + 999.6) / kMsecsPerDay), (TimeOfDay{10, 0, 1}));
    EXPECT_EQ(timeOfDayFromDays((36000.0 * 1000 + 999.4) / kMsecsPerDay), (TimeOfDay{10, 0, 0}));
    // A full date-time gives its time part; days before the epoch count it the same way.
    EXPECT_EQ(timeOfDayFromDays(45123.75), (TimeOfDay{18, 0, 0}));
    EXPECT_EQ(timeOfDayFromDays(-1.25), (TimeOfDay{6, 0, 0}));
}

TEST(DayFraction, HalfAMillisecondBeforeMidnightIsMidnightNotHour24) {
    EXPECT_EQ(timeOfDayFromDays(1.0 - 0.4 / kMsecsPerDay), (TimeOfDay{0, 0, 0}));
    EXPECT_EQ(timeOfDayFromDays(45123.9999999999), (TimeOfDay{0, 0, 0}));
    EXPECT_EQ(timeOfDayFromDays(1.0 - 1.0 / kMsecsPerDay), (TimeOfDay{23, 59, 59}));
}

TEST(DayFraction, NotANumberIsAnError) {
    EXPECT_THROW(timeOfDayFromDays(std::nan("")), std::invalid_argument);
    EXPECT_THROW(timeOfDayFromDays(HUGE_VAL), std::invalid_argument);
}

TEST(DayFraction, RoundTripsEverySecond) {
    for (int secs = 0; secs < 86400; ++secs) {
        const TimeOfDay t{secs / 3600, secs / 60 % 60, secs % 60};
        ASSERT_EQ(timeOfDayFromDays(daysFromTimeOfDay(t)), t);
    }
}

} // namespace
