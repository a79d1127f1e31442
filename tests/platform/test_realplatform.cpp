#include "platform/realplatform.h"
#include "support/printers.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTextDocument>
#include <memory>
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

namespace {

QPrinter* pdfPrinter(const QString& file) {
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setOutputFileName(file);
    return printer;
}

int pdfPages(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = pdf.readAll();
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "));
}

// The text of one page, read back with poppler's pdftotext.
QString pdfText(const QString& file, int page) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page),
                                          QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(PrintMemo, WritesOnePageEvenForEmptyText) {
    QTemporaryDir dir;
    for (const QString& text : {QString(), QStringLiteral("first line\nsecond line")}) {
        const QString file = dir.filePath(text.isEmpty() ? "empty.pdf" : "text.pdf");
        std::unique_ptr<QPrinter> printer(pdfPrinter(file));
        QTextDocument doc;
        doc.setPlainText(text);
        ASSERT_TRUE(printMemo(doc, *printer));
        printer.reset();
        QFile pdf(file);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
        EXPECT_EQ(pdfPages(file), 1) << text.toStdString();
    }
}

// Every line of a memo longer than a page reaches paper, the end of a long line included:
// wrapped inside the margins and continued on a second page.
TEST(PrintMemo, WrapsAndContinuesOnAnotherPage) {
    QTemporaryDir dir;
    const QString file = dir.filePath("long.pdf");
    QStringList lines;
    for (int i = 1; i <= 70; ++i)
        lines << QStringLiteral("Line %1 of the memo").arg(i, 3, 10, QChar(u'0'));
    QStringList words;
    for (int i = 1; i <= 60; ++i)
        words << QStringLiteral("w%1").arg(i);
    lines.insert(10, words.join(u' ') + QStringLiteral(" LASTWORD"));
    QTextDocument doc;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(12);
    doc.setDefaultFont(font);
    doc.setPlainText(lines.join(u'\n'));
    std::unique_ptr<QPrinter> printer(pdfPrinter(file));
    ASSERT_TRUE(printMemo(doc, *printer));
    printer.reset();
    ASSERT_EQ(pdfPages(file), 2);
    const QString text = pdfText(file, 1) + pdfText(file, 2);
    for (int i = 1; i <= 70; ++i)
        EXPECT_TRUE(text.contains(QStringLiteral("Line %1 of the memo").arg(i, 3, 10, QChar(u'0'))))
            << "line " << i;
    EXPECT_TRUE(text.contains(QStringLiteral("LASTWORD")));
    EXPECT_TRUE(pdfText(file, 2).contains(QStringLiteral("Line 070")));
    EXPECT_FALSE(pdfText(file, 1).contains(QStringLiteral("Line 070")));
}

TEST(PrintMemo, AFailingPrinterIsReportedAsFailure) {
    std::unique_ptr<QPrinter> printer(pdfPrinter(QStringLiteral("/nonexistent-dir/out.pdf")));
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("x"));
    EXPECT_FALSE(printMemo(doc, *printer));
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
