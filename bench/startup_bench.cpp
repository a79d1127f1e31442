// Start-up to the tray and peak memory, as whole processes: the program with 0, 1,000 and
// 10,000 pending memos of 2 KB, and with 100 memos holding a 390 KB screenshot each, beside a
// bare Qt Widgets program with one window. Each is run several times; medians are printed.
//
//   startup_bench PATH/TO/brimble PATH/TO/bare_qt [runs]
#include "store/connection.h"
#include "store/maker.h"
#include "store/view.h"
#include "picturememo.h"

#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace {

struct Sample {
    double ms;
    long peakKb;
};

// Runs the program until it reports being idle, then lets it close itself.
Sample runOnce(const QString& program) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("BRIMBLE_PROBE_STARTUP", "1");
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, {});
    p.waitForStarted();
    double ready = -1;
    while (p.waitForReadyRead(30000)) {
        const QByteArray out = p.readAllStandardOutput();
        if (out.contains("ready")) {
            ready = double(t.nsecsElapsed()) / 1e6;
            break;
        }
    }
    p.waitForFinished(30000);
    // This runs in a fresh fork per sample, so the children's peak is this program's own.
    rusage ru{};
    getrusage(RUSAGE_CHILDREN, &ru);
    return {ready, ru.ru_maxrss};
}

void fill(const QString& dir, int memos, bool pictures = false) {
    brimble::makeDeliveredDatabase(dir + "/bm.mdb");
    brimble::Connection c;
    c.setConnectionString(brimble::Connection::connectionStringFor(dir + "/"));
    c.open();
    c.exec("PRAGMA synchronous=OFF;");
    c.exec("BEGIN;");
    brimble::View v(c, "bm", "fill");
    v.open();
    const QString body = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") +
                         QString(2000, QLatin1Char('x')) + QStringLiteral("\\par}");
    for (int i = 0; i < memos; ++i) {
        v.append();
        v.setValue("datetime", 40000.0 + i);
        v.setValue("memo", pictures ? brimble::bench::pictureMemo(quint32(i + 1)) : body);
        v.setValue("bgcolor", 0xFFFFFF);
        v.post();
    }
    c.exec("COMMIT;");
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench BRIMBLE BARE_QT [runs]\n");
        return 2;
    }
    const QString brimble = QString::fromLocal8Bit(argv[1]);
    const QString bare = QString::fromLocal8Bit(argv[2]);
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;

    std::printf("%-28s %12s %12s\n", "program", "median ms", "peak MB");
    auto measure = [&](const char* name, const QString& program) {
        std::vector<double> times, peaks;
        for (int i = 0; i < runs; ++i) {
            int fds[2];
            if (pipe(fds) != 0)
                return;
            const pid_t pid = fork();
            if (pid == 0) {
                close(fds[0]);
                const Sample s = runOnce(program);
                dprintf(fds[1], "%f %ld\n", s.ms, s.peakKb);
                _exit(0);
            }
            close(fds[1]);
            char buf[128] = {};
            ssize_t n = read(fds[0], buf, sizeof buf - 1);
            close(fds[0]);
            waitpid(pid, nullptr, 0);
            double ms = 0;
            long kb = 0;
            if (n > 0 && std::sscanf(buf, "%lf %ld", &ms, &kb) == 2) {
                times.push_back(ms);
                peaks.push_back(kb / 1024.0);
            }
        }
        if (!times.empty())
            std::printf("%-28s %12.1f %12.1f\n", name, median(times), median(peaks));
    };

    measure("bare Qt Widgets window", bare);
    for (int memos : {0, 1000, 10000}) {
        QTemporaryDir dir;
        const QString exe = dir.path() + "/brimble";
        QFile::copy(brimble, exe);
        QFile::setPermissions(exe, QFile::permissions(brimble));
        fill(dir.path(), memos);
        measure(QStringLiteral("brimble, %1 memos").arg(memos).toLocal8Bit().constData(), exe);
    }
    {
        QTemporaryDir dir;
        const QString exe = dir.path() + "/brimble";
        QFile::copy(brimble, exe);
        QFile::setPermissions(exe, QFile::permissions(brimble));
        fill(dir.path(), 100, true);
        measure("brimble, 100 x 390 KB picture", exe);
    }
    return 0;
}
