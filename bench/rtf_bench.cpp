// Reading and writing a 2 MB text-heavy and a 5 MB picture-heavy RTF document.
//   rtf_bench                       the benchmarks (bytes per second of RTF)
//   rtf_bench --write-samples DIR   writes text-heavy.rtf and picture-heavy.rtf to DIR, for
//                                   timing whole converters on the same files
#include "rtf/rtf.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

// Memo text as a rich edit control writes it: short runs of formats, paragraphs, the odd
// accented letter as \'hh and the odd non-Latin one as \uN.
QByteArray textHeavy(qsizetype target) {
    static const char* words[] = {"remind", "meeting", "tomorrow", "call", "the", "doctor", "about",
                                  "results", "and", "bring", "documents", "caf\\'e9", "na\\'efve",
                                  "\\u1046?\\u1080?\\u1079?\\u1085?\\u1100?", "project", "deadline",
                                  "\\u26085?\\u26412?", "shopping", "list", "bread", "milk"};
    QRandomGenerator rng(7);
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                     "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fmodern\\fcharset0 Courier New;}}\r\n"
                     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}\r\n"
                     "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    out.reserve(target + 4096);
    while (out.size() < target) {
        const int align = int(rng.bounded(6));
        out += align == 0 ? "\\pard\\qc " : align == 1 ? "\\pard\\qr " : "\\pard ";
        const int n = int(rng.bounded(20, 80));
        for (int i = 0; i < n; ++i) {
            switch (rng.bounded(12)) {
            case 0: out += "\\b "; break;
            case 1: out += "\\b0 "; break;
            case 2: out += "\\i "; break;
            case 3: out += "\\i0 "; break;
            case 4: out += "\\cf" + QByteArray::number(rng.bounded(4)) + " "; break;
            case 5: out += "\\f" + QByteArray::number(rng.bounded(3)) + "\\fs" + QByteArray::number(16 + 2 * rng.bounded(8)) + " "; break;
            default: break;
            }
            out += words[rng.bounded(int(std::size(words)))];
            out += ' ';
        }
        out += "\\par\r\n";
    }
    out += "}";
    return out;
}

// Photographs pasted into a memo: PNG pictures of noise, which does not compress.
QByteArray pictureHeavy(qsizetype target) {
    QRandomGenerator rng(11);
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
                     "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (int i = 0; out.size() < target; ++i) {
        QImage image(320, 240, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = 0xFF000000u | (rng.generate() & 0x00FFFFFFu);
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        out += "Picture " + QByteArray::number(i) + ": {\\pict\\pngblip\\picw320\\pich240\\picwgoal4800\\pichgoal3600\r\n";
        const QByteArray hex = png.toHex();
        for (qsizetype at = 0; at < hex.size(); at += 128)
            out += hex.mid(at, 128) + "\r\n";
        out += "}\\par\r\n";
    }
    out += "}";
    return out;
}

const QByteArray& sample(bool pictures) {
    static const QByteArray text = textHeavy(2 * 1024 * 1024);
    static const QByteArray pics = pictureHeavy(5 * 1024 * 1024);
    return pictures ? pics : text;
}

void readBench(benchmark::State& state, bool pictures) {
    const QByteArray& rtf = sample(pictures);
    for (auto _ : state) {
        QTextDocument doc;
        brimble::rtf::read(QByteArrayView(rtf), doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void writeBench(benchmark::State& state, bool pictures) {
    QTextDocument doc;
    brimble::rtf::read(QByteArrayView(sample(pictures)), doc);
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray out = brimble::rtf::write(doc);
        written = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * written);
}

void BM_ReadTextHeavy(benchmark::State& s) { readBench(s, false); }
void BM_WriteTextHeavy(benchmark::State& s) { writeBench(s, false); }
void BM_ReadPictureHeavy(benchmark::State& s) { readBench(s, true); }
void BM_WritePictureHeavy(benchmark::State& s) { writeBench(s, true); }
BENCHMARK(BM_ReadTextHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTextHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPictureHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePictureHeavy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-samples") == 0) {
        for (const bool pictures : {false, true}) {
            QFile f(QString::fromLocal8Bit(argv[2]) + (pictures ? "/picture-heavy.rtf" : "/text-heavy.rtf"));
            if (!f.open(QIODevice::WriteOnly) || f.write(sample(pictures)) != sample(pictures).size())
                return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
