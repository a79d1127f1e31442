// Views over 10,000 pending memos of 2 KB: opening a snapshot, and the popped-mark resets of
// start-up and exit after a crash left every memo marked.
#include "store/database.h"
#include "store/maker.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace brimble;

namespace {

struct Fixture {
    QTemporaryDir dir;
    Database db;
    explicit Fixture(int memos) {
        makeDeliveredDatabase(dir.path() + "/bm.mdb");
        db.ADOConnection1.setConnectionString(Connection::connectionStringFor(dir.path() + "/"));
        db.ADOConnection1.open();
        db.ADOConnection1.exec("BEGIN;");
        View& v = db.bms;
        v.open();
        const QString body = QString(2048, QLatin1Char('m'));
        for (int i = 0; i < memos; ++i) {
            v.append();
            v.setValue("datetime", 46000.0 + i);
            v.setValue("memo", body);
            v.post();
        }
        db.ADOConnection1.exec("COMMIT;");
        v.close();
    }
    void markAll() {
        db.ADOConnection1.exec("UPDATE bm SET popped = 1;");
    }
};

// After a write, so that the table is read.
void BM_OpenView(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        f.db.ADOConnection1.exec("UPDATE bm SET bgcolor = 1 WHERE rowid = 1;");
        state.ResumeTiming();
        f.db.BM.open();
        benchmark::DoNotOptimize(f.db.BM.recordCount());
        f.db.BM.close();
    }
}
BENCHMARK(BM_OpenView)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Nothing written since the last read: the rows already read are shared.
void BM_OpenViewUnchanged(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    for (auto _ : state) {
        f.db.BM.open();
        benchmark::DoNotOptimize(f.db.BM.recordCount());
        f.db.BM.close();
    }
}
BENCHMARK(BM_OpenViewUnchanged)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ResetAllPopped(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        f.markAll();
        f.db.bms.open();
        state.ResumeTiming();
        Database::clearPopped(f.db.bms);
        state.PauseTiming();
        f.db.bms.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ResetAllPopped)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
