#include "rtftest.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brimble::rtf;
using namespace brimble::rtf::test;

namespace {

struct Result {
    int code = -1;
    QByteArray out, err;
};

Result rtfconv(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(RTFCONV_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString passPath(const char* name) { return dataDir() + "/pass/" + name; }

} // namespace

TEST(RtfConv, TextRtfAndFromText) {
    const Result text = rtfconv({"--text", passPath("riched-cyrillic.rtf")});
    EXPECT_EQ(text.code, 0);
    EXPECT_EQ(QString::fromUtf8(text.out), QString::fromUtf8("Привет, мир!\r\nHello, café"));

    const Result again = rtfconv({"--rtf", passPath("riched-basic.rtf")});
    EXPECT_EQ(again.code, 0);
    EXPECT_TRUE(again.out.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_EQ(readText(again.out), readText(testData("pass/riched-basic.rtf")));

    const Result fromText = rtfconv({"--from-text", "-"}, QString::fromUtf8("one\ntwo é").toUtf8());
    EXPECT_EQ(fromText.code, 0);
    EXPECT_EQ(readText(fromText.out), QString::fromUtf8("one\r\ntwo é"));

    const Result piped = rtfconv({"--text", "-"}, "{\\rtf1 from standard input}");
    EXPECT_EQ(piped.out, "from standard input");
}

TEST(RtfConv, FailuresExitNonZeroWithOneLineNamingTheCause) {
    const Result missing = rtfconv({"--text", "/nonexistent/memo.rtf"});
    EXPECT_NE(missing.code, 0);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_EQ(missing.err.count('\n'), 1);
    EXPECT_TRUE(missing.err.contains("/nonexistent/memo.rtf")) << missing.err.constData();
    EXPECT_TRUE(missing.err.contains("No such file")) << missing.err.constData();

    for (const char* mode : {"--text", "--rtf"}) {
        const Result refused = rtfconv({mode, dataDir() + "/fail/plain-text.txt"});
        EXPECT_NE(refused.code, 0) << mode;
        EXPECT_EQ(refused.err.count('\n'), 1);
        EXPECT_TRUE(refused.err.contains("not RTF")) << refused.err.constData();
    }
    EXPECT_EQ(rtfconv({"--from-text", dataDir() + "/fail/plain-text.txt"}).code, 0)
        << "any text can be written as RTF";

    QTemporaryDir dir;
    const Result directory = rtfconv({"--text", dir.path()});
    EXPECT_NE(directory.code, 0) << "a directory is no readable file";
    EXPECT_NE(rtfconv({"--bogus", "x"}).code, 0);
    EXPECT_NE(rtfconv({"--text"}).code, 0);
}
