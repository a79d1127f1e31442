#include "store/datetime.h"

#include "support/printers.h"

#include <gtest/gtest.h>

using namespace brimble;

TEST(Days, KnownValuesBothWays) {
    const QDateTime noon(QDate(1899, 12, 30), QTime(12, 0));
    EXPECT_DOUBLE_EQ(toDays(noon), 0.5);
    const QDateTime t(QDate(2026, 12, 9), QTime(10, 15, 40));
    const double d = toDays(t);
    EXPECT_EQ(int(d), 46365);
    EXPECT_EQ(fromDays(d), t);
    // A value a hair below midnight rounds to the next day, not to 24:00.
    EXPECT_EQ(fromDays(46366.0 - 1e-10), QDateTime(QDate(2026, 12, 10), QTime(0, 0)));
    // Before the epoch the whole part counts days back and the fraction still runs forward.
    EXPECT_EQ(fromDays(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(toDays(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_DOUBLE_EQ(timeOfDay(-1.25), 0.25);
    EXPECT_FALSE(fromDays(std::numeric_limits<double>::quiet_NaN()).isValid());
}

TEST(Patterns, ProgramPatternsInTwoLocales) {
    const QDateTime t(QDate(2026, 12, 9), QTime(9, 5, 7)); // a Wednesday
    FormatSettings us = FormatSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    us.shortTimeFormat = us.longTimeFormat = "hh:mm";
    EXPECT_EQ(formatDateTime(patterns::listEntry, t, us), "09/12/26 09:05 Wed");
    EXPECT_EQ(formatDateTime(patterns::datePicker, t, us), "09/12/26 Wed");
    EXPECT_EQ(formatDateTime(patterns::clock, t, us), "09/12/26 Wed 09:05:07");
    EXPECT_EQ(formatDateTime(patterns::dueMinute, t, us), "09/12/26 09:05 09:05");

    FormatSettings fi = FormatSettings::fromLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    EXPECT_EQ(fi.dateSeparator, QChar('.'));
    EXPECT_EQ(fi.timeSeparator, QChar('.'));
    fi.shortTimeFormat = fi.longTimeFormat = "hh:mm";
    EXPECT_EQ(formatDateTime(patterns::listEntry, t, fi),
              "09.12.26 09.05 " + QLocale(QLocale::Finnish).dayName(3, QLocale::ShortFormat));
    EXPECT_EQ(formatDateTime(patterns::dueMinute, t, fi), "09.12.26 09.05 09.05");
}

TEST(Patterns, DueMinuteEqualExactlyWithinOneMinute) {
    FormatSettings s = FormatSettings::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    s.shortTimeFormat = s.longTimeFormat = "hh:mm";
    const QDateTime a(QDate(2026, 12, 9), QTime(10, 15, 0));
    const QDateTime b(QDate(2026, 12, 9), QTime(10, 15, 59, 999));
    const QDateTime c(QDate(2026, 12, 9), QTime(10, 16, 0));
    const QDateTime century(QDate(2126, 12, 9), QTime(10, 15, 0));
    EXPECT_EQ(formatDateTime(patterns::dueMinute, a, s), formatDateTime(patterns::dueMinute, b, s));
    EXPECT_NE(formatDateTime(patterns::dueMinute, a, s), formatDateTime(patterns::dueMinute, c, s));
    EXPECT_EQ(formatDateTime(patterns::dueMinute, a, s),
              formatDateTime(patterns::dueMinute, century, s)) << "years compare by two digits";
    // The locale's own long format, before start-up replaces it, prints with designators.
    s.longTimeFormat = "h:mm:ss AP";
    EXPECT_EQ(formatDateTime("tt", QDateTime(QDate(2026, 1, 1), QTime(13, 4, 5)), s), "1:04:05 PM");
}
