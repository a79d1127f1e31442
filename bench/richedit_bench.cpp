// Loading a large picture-heavy memo into the rich text control and writing it back, and
// the time one keystroke takes in a 200 KB memo (handling, layout and repaint).
#include "controls/richedit/richedit.h"
#include "rtf/rtf.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <benchmark/benchmark.h>

using namespace brimble;

namespace {

// Noise does not compress, so the pictures keep the memo at the size asked for.
QImage noise(int w, int h, quint32 seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = 0xFF000000u | (rng.generate() & 0x00FFFFFFu);
    }
    return image;
}

QString pictureMemo(qsizetype targetBytes) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QString rtf;
    for (int i = 0; rtf.size() < targetBytes; ++i) {
        c.insertText(
            QStringLiteral("Picture %1 of the memo, with a line of text beside it. ").arg(i));
        const QString name = QStringLiteral("bench:%1").arg(i);
        doc.addResource(QTextDocument::ImageResource, QUrl(name), noise(160, 120, quint32(i + 1)));
        QTextImageFormat f;
        f.setName(name);
        f.setWidth(160);
        f.setHeight(120);
        c.insertImage(f);
        c.insertBlock();
        if (i % 8 == 7)
            rtf = rtf::writeString(doc);
    }
    return rtf;
}

QString textMemo(qsizetype targetBytes) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold, plain;
    bold.setFontWeight(QFont::Bold);
    QString rtf;
    for (int i = 0; rtf.size() < targetBytes; ++i) {
        c.insertText(QStringLiteral("Paragraph %1: ").arg(i), bold);
        c.insertText(
            QStringLiteral("some ordinary words of a long memo, a link http://example.org/%1 "
                           "and more words so that the line wraps in the editor window.")
                .arg(i),
            plain);
        c.insertBlock();
        if (i % 50 == 49)
            rtf = rtf::writeString(doc);
    }
    return rtf;
}

void BM_LoadAndWritePictureMemo(benchmark::State& state) {
    const QString memo = pictureMemo(5 * 1024 * 1024);
    TRichEdit e;
    e.resize(600, 400);
    e.show();
    for (auto _ : state) {
        e.setText(memo);
        const QString back = e.toRtf();
        benchmark::DoNotOptimize(back.size());
    }
    state.SetBytesProcessed(state.iterations() * memo.size());
    state.counters["memo_MB"] = double(memo.size()) / (1024 * 1024);
}
BENCHMARK(BM_LoadAndWritePictureMemo)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KeystrokeIn200KBMemo(benchmark::State& state) {
    const QString memo = textMemo(200 * 1024);
    TRichEdit e;
    e.resize(600, 400);
    e.show();
    e.setText(memo);
    QApplication::processEvents();
    // Type in the middle of the memo, as an edit of a long note would.
    QTextCursor c(e.document());
    c.setPosition(e.document()->characterCount() / 2);
    e.setTextCursor(c);
    e.setFocus();
    int i = 0;
    for (auto _ : state) {
        const QChar ch = QLatin1Char("memo text "[i++ % 10]);
        QKeyEvent press(QEvent::KeyPress, ch == u' ' ? Qt::Key_Space : Qt::Key_A, Qt::NoModifier,
                        ch);
        QKeyEvent release(QEvent::KeyRelease, ch == u' ' ? Qt::Key_Space : Qt::Key_A,
                          Qt::NoModifier, ch);
        QApplication::sendEvent(&e, &press);
        QApplication::sendEvent(&e, &release);
        e.viewport()->repaint();
    }
    state.counters["memo_KB"] = double(memo.size()) / 1024;
}
BENCHMARK(BM_KeystrokeIn200KBMemo)->Unit(benchmark::kMillisecond)->Iterations(500);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
