#include "platform/commandline.h"

#include "support/printers.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace brimble;

namespace {

// Splits an Exec value the way a desktop's launcher does: blanks separate arguments outside
// double quotes; inside them a backslash takes the next character literally; "%%" is "%".
QStringList execArguments(const QString& exec) {
    QStringList args;
    QString current;
    bool inQuotes = false, started = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (inQuotes) {
            if (c == u'\\' && i + 1 < exec.size()) {
                current += exec.at(++i);
            } else if (c == u'"') {
                inQuotes = false;
            } else if (c == u'%' && i + 1 < exec.size() && exec.at(i + 1) == u'%') {
                current += u'%';
                ++i;
            } else {
                current += c;
            }
        } else if (c == u' ') {
            if (started)
                args << current;
            current.clear();
            started = false;
        } else if (c == u'"') {
            inQuotes = started = true;
        } else if (c == u'%' && i + 1 < exec.size() && exec.at(i + 1) == u'%') {
            current += u'%';
            started = true;
            ++i;
        } else {
            current += c;
            started = true;
        }
    }
    EXPECT_FALSE(inQuotes) << "unbalanced quotes in " << exec.toStdString();
    if (started)
        args << current;
    return args;
}

} // namespace

TEST(CommandLine, WindowsPathIsQuotedOnlyWithABlank) {
    EXPECT_EQ(windowsCommandLine(QStringLiteral("C:\\Brimble\\brimble.exe")),
              QStringLiteral("C:\\Brimble\\brimble.exe"));
    EXPECT_EQ(windowsCommandLine(QStringLiteral("C:\\Program Files\\Brimble\\brimble.exe")),
              QStringLiteral("\"C:\\Program Files\\Brimble\\brimble.exe\""));
    // Qt spells the program path with forward slashes; the registry wants the native form.
    EXPECT_EQ(windowsCommandLine(QStringLiteral("C:/Program Files/Brimble/brimble.exe")),
              QStringLiteral("\"C:\\Program Files\\Brimble\\brimble.exe\""));
}

TEST(CommandLine, ExecLeavesAPlainPathAsItStands) {
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/brimble/brimble")),
              QStringLiteral("/opt/brimble/brimble"));
    EXPECT_EQ(execCommandLine(QStringLiteral("/home/ann/bin/brimble-1.0_x+y=z,@")),
              QStringLiteral("/home/ann/bin/brimble-1.0_x+y=z,@"));
}

TEST(CommandLine, ExecQuotesReservedCharacters) {
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/my apps/brimble")),
              QStringLiteral("\"/opt/my apps/brimble\""));
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/a$b/brimble")),
              QStringLiteral("\"/opt/a\\$b/brimble\""));
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/say \"hi\"/brimble")),
              QStringLiteral("\"/opt/say \\\"hi\\\"/brimble\""));
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/a`b\\c/brimble")),
              QStringLiteral("\"/opt/a\\`b\\\\c/brimble\""));
    // Reserved without a blank still needs quotes; a single quote is not escaped inside.
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/ann's/brimble")),
              QStringLiteral("\"/opt/ann's/brimble\""));
    EXPECT_EQ(execCommandLine(QStringLiteral("~/x(1)")), QStringLiteral("\"~/x(1)\""));
}

TEST(CommandLine, ExecDoublesPercentSigns) {
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/100%/brimble")),
              QStringLiteral("/opt/100%%/brimble"));
    EXPECT_EQ(execCommandLine(QStringLiteral("/opt/100% sure/brimble")),
              QStringLiteral("\"/opt/100%% sure/brimble\""));
}

TEST(CommandLine, ExecParsesBackToOneArgumentHoldingThePath) {
    const QStringList paths = {
        QStringLiteral("/opt/brimble/brimble"),
        QStringLiteral("/home/ann/My Programs/brimble"),
        QStringLiteral("/tmp/a$HOME b/brimble"),
        QStringLiteral("/tmp/q\"u`o\\te/b r"),
        QStringLiteral("/tmp/semi;colon&pipe|hash#star*ask?/x"),
        QStringLiteral("/tmp/50% off/x"),
        QStringLiteral("/tmp/tab\there"),
    };
    for (const QString& path : paths) {
        const QStringList args = execArguments(execCommandLine(path));
        ASSERT_EQ(args.size(), 1) << path.toStdString();
        EXPECT_EQ(args.first(), path);
    }
}
