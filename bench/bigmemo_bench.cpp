// A very large memo shown as a pop-up shows it: time from the text to the first paint, the
// time to write it back as RTF, and the process's peak memory. One memo kind per run, so that
// the peak belongs to it:  bigmemo_bench line|paragraphs [MB [shown]]
// ("shown": into a control already on screen, as the editor's)
//
// The whole program with such a memo due in its database, from start to the memo shown in its
// pop-up and marked shown, then the time it takes to end on SIGTERM:
//   bigmemo_bench line|paragraphs MB PATH/TO/brimble
#include "controls/richedit/richedit.h"
#include "store/connection.h"
#include "store/maker.h"
#include "store/view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <exception>
#include <cstdio>
#include <sqlcipher/sqlite3.h>
#include <sys/resource.h>

using namespace brimble;

namespace {

QString memoOf(const QString& kind, qsizetype bytes) {
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ");
    rtf.reserve(bytes + 64);
    if (kind == QLatin1String("line")) {
        // One line with no place to break it.
        rtf += QString(bytes, QLatin1Char('x'));
        rtf += QStringLiteral("\\par}");
        return rtf;
    }
    const QString para = QStringLiteral("Some ordinary words of a long memo, one paragraph of "
                                        "several lines that wrap in the window as text does.\\par\n");
    while (rtf.size() < bytes)
        rtf += para;
    rtf += QLatin1Char('}');
    return rtf;
}

long peakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

long childrenPeakMb() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_maxrss / 1024;
}

// One connection for every look, so that each costs a query and not a key derivation.
bool popped(brimble::Connection& c) {
    sqlite3_stmt* st = nullptr;
    bool yes = false;
    if (sqlite3_prepare_v2(c.handle(), "SELECT popped FROM bm", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        yes = sqlite3_column_int(st, 0) != 0;
    sqlite3_finalize(st);
    return yes; // busy: asked again on the next round
}

int runProgram(const QString& program, const QString& memo) {
    QTemporaryDir dir;
    const QString exe = dir.path() + "/brimble";
    QFile::copy(program, exe);
    QFile::setPermissions(exe, QFile::permissions(program));
    brimble::makeDeliveredDatabase(dir.path() + "/bm.mdb");
    {
        brimble::Connection c;
        c.setConnectionString(brimble::Connection::connectionStringFor(dir.path() + "/"));
        c.open();
        c.exec("UPDATE config SET repeatsecond=1;"); // a scan every second
        brimble::View v(c, "bm", "fill");
        v.open();
        v.append();
        v.setValue("datetime", 40000.0); // long past and repeating: due at once
        v.setValue("repeated", true);
        v.setValue("memo", memo);
        v.setValue("bgcolor", 0xFFFFFF);
        v.post();
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("QT_QPA_PLATFORM"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer t;
    t.start();
    p.start(exe, {});
    p.waitForStarted();
    brimble::Connection c;
    c.setConnectionString(brimble::Connection::connectionStringFor(dir.path() + "/"));
    c.open();
    qint64 shown = -1;
    while (shown < 0 && t.elapsed() < 600000 && p.state() == QProcess::Running) {
        if (popped(c))
            shown = t.elapsed();
        else
            p.waitForFinished(100);
    }
    // Then a termination signal, as at log-off: how long until the program has gone.
    t.restart();
    p.terminate();
    p.waitForFinished(60000);
    const qint64 ended = t.elapsed();
    std::printf("program: marked shown after %lld ms (scans every second), ended %lld ms after "
                "SIGTERM, peak %ld MB\n",
                (long long)shown, (long long)ended, childrenPeakMb());
    return shown < 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("paragraphs");
    const qsizetype mb = argc > 2 ? QByteArray(argv[2]).toLongLong() : 50;
    const QString memo = memoOf(kind, mb * 1024 * 1024);
    const bool onScreen = argc > 3 && QByteArray(argv[3]) == "shown";
    if (argc > 3 && !onScreen)
        return runProgram(QString::fromLocal8Bit(argv[3]), memo);
    const long before = peakMb();

    QElapsedTimer t;
    t.start();
    TRichEdit viewer;
    viewer.setReadOnly(true);
    viewer.setLineWrapMode(QTextEdit::WidgetWidth);
    viewer.resize(300, 300);
    if (onScreen) { // as the editor, which is on screen when the user moves to the memo
        viewer.show();
        QApplication::processEvents();
    }
    viewer.setText(memo);
    const qint64 loaded = t.elapsed();
    viewer.show();
    viewer.viewport()->repaint();
    QApplication::processEvents();
    const qint64 shown = t.elapsed();
    t.restart();
    const QString back = viewer.toRtf();
    const qint64 written = t.elapsed();
    std::printf("%s %lld MB: loaded %lld ms, shown %lld ms, written %lld ms (%lld MB), "
                "peak %ld MB (memo text alone %ld MB)\n",
                qPrintable(kind), (long long)mb, (long long)loaded, (long long)shown,
                (long long)written, (long long)(back.size() / (1024 * 1024)), peakMb(), before);
    return 0;
}
