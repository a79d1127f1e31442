// The reminder scan over many pending memos, "Open All Popups" with its memory cost, and one
// pop-up of a memo holding a 390 KB screenshot, from the tick to the window shown.
#include "picturememo.h"
#include "platform/platform.h"
#include "platform/realplatform.h"
#include "reminders/hooks.h"
#include "reminders/popups.h"
#include "reminders/scheduler.h"
#include "store/database.h"
#include "store/datetime.h"
#include "store/maker.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace brimble;

namespace {

// The clock is the real one: reading it goes through the local time zone, as in the program.
class BenchPlatform : public Platform {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    double nowDays() const override { return localNowDays(); }
    QString programFilePath() const override { return {}; }
    QSize primaryScreenSize() const override { return {1024, 768}; }
    void beep() override {}
    void showError(const QString&) override {}
    void showInformation(const QString&) override {}
    std::optional<QFont> chooseFont(const QFont&) override { return {}; }
    std::optional<QColor> chooseColor(const QColor&) override { return {}; }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString openPictureName() override { return {}; }
    bool printDocument(const QTextDocument&) override { return false; }
    bool shellOpen(const QString&) override { return true; }
    bool startCharacterMap() override { return false; }
    AutorunStore& autorunStore() override { std::abort(); }
    bool trayAvailable() const override { return false; }
};

struct NoHooks : MemoListHooks {
    void gridchange2() override {}
    void setEditorColor(int) override {}
};

const char* kMemo = R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}{\colortbl;\red200\green0\blue0;})"
                    R"(\f0\fs20 Call the \b dentist\b0  about the \cf1 appointment\cf0 , then )"
                    R"(see http://example.org/booking for the form.\par Second line.\par})";

struct Fixture {
    QTemporaryDir dir;
    BenchPlatform platform;
    NoHooks hooks;
    Database db;
    PopupManager popups{db, platform, hooks, nullptr};
    Scheduler scheduler{db, platform, popups};

    // `repeatEvery`: every n-th memo repeats (0: none). `pictures`: the memos hold a
    // screenshot each.
    Fixture(int memos, int repeatEvery, bool pictures = false) {
        formatSettings().shortTimeFormat = QStringLiteral("hh:mm");
        formatSettings().longTimeFormat = QStringLiteral("hh:mm");
        makeDeliveredDatabase(dir.path() + "/bm.mdb");
        db.ADOConnection1.setConnectionString(Connection::connectionStringFor(dir.path() + "/"));
        db.ADOConnection1.open();
        db.ADOConnection1.exec("BEGIN;");
        View& v = db.bms;
        v.open();
        // Due over the coming days, one a minute apart, none in the current minute.
        const double from = toDays(platform.now()) + 1.0;
        for (int i = 0; i < memos; ++i) {
            v.append();
            v.setValue("datetime", from + i / 1440.0);
            v.setValue("memo",
                       pictures ? bench::pictureMemo(quint32(i + 1)) : QString::fromLatin1(kMemo));
            v.setValue("bgcolor", 0x00C0FFFF);
            v.setValue("repeated", repeatEvery > 0 && i % repeatEvery == 0);
            v.setValue("left", 20 + (i % 20) * 30);
            v.setValue("top", 20 + (i % 15) * 30);
            v.setValue("lebar", 200);
            v.setValue("tinggi", 200);
            v.post();
        }
        db.ADOConnection1.exec("COMMIT;");
        Database::reopen(v);
        db.BM.open();
        scheduler.setEnabled(false);
    }
    ~Fixture() { popups.release(); }
};

// Heap in use, mapped blocks included: what the open windows hold, whatever the allocator
// keeps around from earlier rounds.
double heapKb() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / 1024.0;
}

// Arguments: pending memos, every n-th repeats (0: none); none of them is due.
void BM_TickNoneDue(benchmark::State& state) {
    Fixture f(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        f.scheduler.Timer1Timer();
        if (!f.popups.poplist().empty())
            state.SkipWithError("a memo popped");
    }
}
BENCHMARK(BM_TickNoneDue)
    ->Args({10000, 0})
    ->Args({10000, 3})
    ->Args({10000, 1})
    ->Unit(benchmark::kMillisecond);

// 100 memos of a screenshot each, the last one overdue and repeating: the tick that shows it.
void BM_PopupOfPictureMemo(benchmark::State& state) {
    Fixture f(100, 0, true);
    f.db.ADOConnection1.exec("UPDATE bm SET datetime = datetime - 10, repeated = 1 "
                             "WHERE idx = (SELECT max(idx) FROM bm);");
    Database::reopen(f.db.bms);
    for (auto _ : state) {
        f.scheduler.Timer1Timer();
        QApplication::processEvents(); // shown and drawn
        state.PauseTiming();
        if (f.popups.poplist().size() != 1)
            state.SkipWithError("the memo did not pop");
        f.popups.closepop();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PopupOfPictureMemo)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_OpenAllPopups(benchmark::State& state) {
    const int n = int(state.range(0));
    Fixture f(n, 3);
    double grown = 0;
    for (auto _ : state) {
        const double before = heapKb();
        f.popups.ToolButton6Click();
        QApplication::processEvents(); // the windows are drawn once
        state.PauseTiming();
        grown = heapKb() - before;
        f.popups.closepop();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["KB_per_popup"] = grown / n;
}
BENCHMARK(BM_OpenAllPopups)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
