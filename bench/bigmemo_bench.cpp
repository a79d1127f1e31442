// A very large memo shown as a pop-up shows it: time from the text to the first paint, the
// time to write it back as RTF, and the process's peak memory. One memo kind per run, so that
// the peak belongs to it:  bigmemo_bench line|paragraphs [MB]
#include "controls/richedit/richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("paragraphs");
    const qsizetype mb = argc > 2 ? QByteArray(argv[2]).toLongLong() : 50;
    const QString memo = memoOf(kind, mb * 1024 * 1024);
    const long before = peakMb();

    QElapsedTimer t;
    t.start();
    TRichEdit viewer;
    viewer.setReadOnly(true);
    viewer.setLineWrapMode(QTextEdit::WidgetWidth);
    viewer.resize(300, 300);
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
