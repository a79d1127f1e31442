// Pictures in the memo editor:
// - Insert Image with a 4000 x 3000 camera-sized JPEG (about 3 MB): from the dialog's answer
//   to the picture laid out and painted in the editor;
// - the size of the stored memo holding that photo against the JPEG file's (counter
//   "memo_to_jpeg");
// - the Quick Images dialog shown the first time (its 25 pictures read from the resources,
//   the 12 metafiles drawn).
#include "controls/richedit/richedit.h"
#include "dialogs/quickimages.h"
#include "editor/insertions.h"
#include "platform/platform.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace brimble;

namespace {

class BenchPlatform : public Platform {
public:
    QString picture;
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    QString programFilePath() const override { return {}; }
    QSize primaryScreenSize() const override { return {1024, 768}; }
    void beep() override {}
    void showError(const QString&) override {}
    void showInformation(const QString&) override {}
    std::optional<QFont> chooseFont(const QFont&) override { return {}; }
    std::optional<QColor> chooseColor(const QColor&) override { return {}; }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString openPictureName() override { return picture; }
    bool printDocument(const QTextDocument&) override { return false; }
    bool shellOpen(const QString&) override { return true; }
    bool startCharacterMap() override { return false; }
    AutorunStore& autorunStore() override { std::abort(); }
    bool trayAvailable() const override { return false; }
};

// A camera-like photo: smooth gradients with fine grain, which JPEG compresses about as much
// as a real photo (some 3 MB at quality 92).
QByteArray cameraJpeg() {
    QImage img(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int grain = int(rng.bounded(20)) - 10;
            line[x] = qRgb(std::clamp(x / 16 + grain, 0, 255), std::clamp(y / 12 + grain, 0, 255),
                           std::clamp((x + y) / 28 + grain, 0, 255));
        }
    }
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "JPEG", 92);
    return out;
}

struct Photo {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;
    Photo() {
        path = dir.filePath(QStringLiteral("photo.jpg"));
        const QByteArray jpeg = cameraJpeg();
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(jpeg);
        bytes = jpeg.size();
    }
};

Photo& photo() {
    static Photo p;
    return p;
}

void BM_InsertCameraJpeg(benchmark::State& state) {
    BenchPlatform platform;
    platform.picture = photo().path;
    double stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TRichEdit editor;
        editor.resize(500, 400);
        editor.show();
        QApplication::processEvents();
        Inserter inserter(editor, platform);
        state.ResumeTiming();
        inserter.insertImageFile();
        editor.viewport()->repaint(); // laid out and drawn
        state.PauseTiming();
        stored = double(editor.toRtf().toUtf8().size());
        state.ResumeTiming();
    }
    state.counters["jpeg_bytes"] = double(photo().bytes);
    state.counters["memo_to_jpeg"] = stored / double(photo().bytes);
}
BENCHMARK(BM_InsertCameraJpeg)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_QuickImagesFirstShow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Temoticon dialog([](const pictures::Picture&) {}, {});
        state.ResumeTiming();
        dialog.show();
        dialog.repaint();
        state.PauseTiming();
        dialog.hide();
        state.ResumeTiming();
    }
}
// Once per process: the first showing reads and draws the pictures, a later one reuses them.
BENCHMARK(BM_QuickImagesFirstShow)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
