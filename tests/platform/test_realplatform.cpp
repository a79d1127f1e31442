#include "platform/realplatform.h"
#include "support/printers.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <gtest/gtest.h>

using namespace brimble;

TEST(ShellOpenUrl, KeepsUrlsAndTurnsPathsIntoFileUrls) {
    EXPECT_EQ(shellOpenUrl(QStringLiteral("http://example.com/a?b=1")),
              QUrl(QStringLiteral("http://example.com/a?b=1")));
    EXPECT_EQ(shellOpenUrl(QStringLiteral("mailto:ann@example.com")).scheme(), "mailto");
    EXPECT_EQ(shellOpenUrl(QStringLiteral("file:///tmp/a.txt")).toLocalFile(), "/tmp/a.txt");
    EXPECT_EQ(shellOpenUrl(QStringLiteral("/tmp/my notes.txt")).toLocalFile(),
              "/tmp/my notes.txt");
    EXPECT_EQ(shellOpenUrl(QStringLiteral("www.example.com")),
              QUrl(QStringLiteral("http://www.example.com")));
    EXPECT_EQ(shellOpenUrl(QStringLiteral("ftp.example.com")).scheme(), "ftp");
    // A drive letter is no scheme.
    const QUrl drive = shellOpenUrl(QStringLiteral("C:\\dir\\a.txt"));
    EXPECT_TRUE(drive.isLocalFile());
    EXPECT_TRUE(shellOpenUrl(QStringLiteral("   ")).isEmpty());
    const QUrl relative = shellOpenUrl(QStringLiteral("notes.txt"));
    EXPECT_TRUE(relative.isLocalFile());
    EXPECT_TRUE(QFileInfo(relative.toLocalFile()).isAbsolute());
}

TEST(CharacterMap, FirstFoundOfTheKnownProgramsInPathOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    EXPECT_TRUE(characterMapProgram().isEmpty());
    auto makeProgram = [&](const char* name) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    };
    makeProgram("kcharselect");
    EXPECT_EQ(characterMapProgram(), dir.filePath(QStringLiteral("kcharselect")));
    makeProgram("gnome-characters");
    EXPECT_EQ(characterMapProgram(), dir.filePath(QStringLiteral("gnome-characters")));
    qputenv("PATH", path);
}

TEST(PictureFilters, AllFirstThenOneEntryPerExtension) {
    const QStringList filters = pictureFilters();
    ASSERT_EQ(filters.size(), 8);
    EXPECT_EQ(filters.first(), "All (*.gif *.jpg *.jpeg *.bmp *.ico *.emf *.wmf)");
    EXPECT_EQ(filters.at(1), "CompuServe GIF Image (*.gif)");
    EXPECT_EQ(filters.at(2), "JPEG Image File (*.jpg)");
    EXPECT_EQ(filters.at(3), "JPEG Image File (*.jpeg)");
    EXPECT_EQ(filters.at(7), "Metafiles (*.wmf)");
}

TEST(PrintPlainText, WritesOnePageEvenForEmptyText) {
    QTemporaryDir dir;
    for (const QString& text : {QString(), QStringLiteral("first line\nsecond line")}) {
        const QString file = dir.filePath(text.isEmpty() ? "empty.pdf" : "text.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        ASSERT_TRUE(printPlainText(text, printer));
        QFile pdf(file);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1) << text.toStdString();
    }
}

TEST(PrintPlainText, AFailingPrinterIsReportedAsFailure) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-dir/out.pdf"));
    EXPECT_FALSE(printPlainText(QStringLiteral("x"), printer));
}

TEST(RealPlatform, AnswersFromTheRunningProgram) {
    RealPlatform platform;
    EXPECT_EQ(QFileInfo(platform.programFilePath()).fileName(), "platform_tests");
    EXPECT_FALSE(platform.primaryScreenSize().isEmpty());
    const QDateTime before = QDateTime::currentDateTime();
    EXPECT_LE(qAbs(platform.now().msecsTo(before)), 1000);
    // The autorun store is this system's and stays the same object.
    EXPECT_EQ(&platform.autorunStore(), &platform.autorunStore());
}

TEST(LocalClock, DaysFollowTheClockAndTheTimeZone) {
    auto expected = [] {
        const QDateTime t = QDateTime::currentDateTime();
        return double(QDate(1899, 12, 30).daysTo(t.date())) +
               t.time().msecsSinceStartOfDay() / 86400000.0;
    };
    const QByteArray tz = qgetenv("TZ");
    qputenv("TZ", "UTC");
    tzset();
    QTest::qWait(1100);
    const double utc = localNowDays();
    EXPECT_NEAR(utc, expected(), 1.0 / 86400);
    // Another zone shows within a second.
    qputenv("TZ", "EST5");
    tzset();
    QTest::qWait(1100);
    const double est = localNowDays();
    EXPECT_NEAR(est, expected(), 1.0 / 86400);
    EXPECT_NEAR(utc - est, 5.0 / 24, 3.0 / 86400);
    if (tz.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", tz);
    tzset();
}
