// The memo list and editor over 10,000 pending memos of 2 KB of RTF: a selection change,
// "Create new memo", "Save changes" and "Delete Memo", each with the view reopenings it does.
// With BRIMBLE_BENCH_PICTURES set: over 100 memos holding a 390 KB screenshot each.
#include "controls/richedit/dbrichedit.h"
#include "editor/memoeditor.h"
#include "editor/memolist.h"
#include "picturememo.h"
#include "platform/realplatform.h"
#include "store/database.h"
#include "store/maker.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <memory>

using namespace brimble;

namespace {

const bool kPictures = qEnvironmentVariableIsSet("BRIMBLE_BENCH_PICTURES");
const int kMemos = kPictures ? 100 : 10000;

QString rtfBody() {
    QString text;
    while (text.size() < 2000)
        text += QStringLiteral("Remember the milk, the bread and the meeting at ten. ");
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + text.left(2000) +
           QStringLiteral("\\par }");
}

struct Fixture {
    QTemporaryDir dir;
    Database db;
    RealPlatform platform;
    QWidget window;
    MemoEditorHosts hosts;
    std::unique_ptr<MemoEditor> editor;

    Fixture() {
        makeDeliveredDatabase(dir.path() + "/bm.mdb");
        db.ADOConnection1.setConnectionString(Connection::connectionStringFor(dir.path() + "/"));
        db.ADOConnection1.open();
        db.ADOConnection1.exec("BEGIN;");
        View& v = db.bms;
        v.open();
        const QString text = rtfBody();
        for (int i = 0; i < kMemos; ++i) {
            const QString body = kPictures ? bench::pictureMemo(quint32(i + 1)) : text;
            v.append();
            v.setValue("datetime", 46000.0 + i * 0.01);
            v.setValue("memo", body);
            v.setValue("bgcolor", 0x00FFFFFF);
            v.post();
        }
        db.ADOConnection1.exec("COMMIT;");
        Database::reopen(v);
        db.BM.open();
        db.bmall.open();

        auto* row = new QHBoxLayout(&window);
        for (QWidget** w : {&hosts.list, &hosts.panel3})
            row->addWidget(*w = new QWidget(&window));
        new QVBoxLayout(hosts.list);
        auto* side = new QVBoxLayout(hosts.panel3);
        for (QWidget** w : {&hosts.toolBar2, &hosts.editor, &hosts.panel7, &hosts.panel4,
                            &hosts.panel1})
            side->addWidget(*w = new QWidget(hosts.panel3));
        hosts.toolBar2->setFixedHeight(30);
        hosts.panel7->setFixedSize(20, 300);
        new QVBoxLayout(hosts.editor);
        editor = std::make_unique<MemoEditor>(db, platform, hosts, [](bool) {});
        window.resize(600, 470);
        window.show();
        QApplication::processEvents();
        editor->FormActivate();
        editor->gridchange2();
    }
    ~Fixture() { editor.reset(); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_SelectionChange(benchmark::State& state) {
    Fixture& f = fixture();
    int row = 0;
    for (auto _ : state) {
        row = (row + 4999) % f.db.BM.recordCount();
        f.db.BM.moveTo(row);
        f.editor->DBCtrlGrid1Click();
        QApplication::processEvents(); // the list and the editor repaint
    }
}
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_CreateNewMemo(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        f.editor->ToolButton1Click();
        QApplication::processEvents();
        state.PauseTiming();
        f.editor->ToolButton3Click(); // back to browsing for the next round
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateNewMemo)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SaveChanges(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.db.BM.moveTo(f.db.BM.recordCount() / 2);
        f.editor->gridchange2();
        f.editor->editmode();
        f.editor->memo1()->insertPlainText(QStringLiteral("x"));
        state.ResumeTiming();
        f.editor->ToolButton3Click();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SaveChanges)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DeleteMemo(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.db.BM.moveTo(f.db.BM.recordCount() / 3);
        f.editor->gridchange2();
        state.ResumeTiming();
        f.editor->ToolButton2Click();
        QApplication::processEvents();
    }
    state.counters["memos_left"] = f.db.BM.recordCount();
}
BENCHMARK(BM_DeleteMemo)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The store's share of "Delete Memo": its three view reopenings alone, with a write before
// the second as the delete has (the others find the rows already read).
void BM_ThreeReopensAlone(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        Database::reopen(f.db.bmall);
        state.PauseTiming();
        f.db.ADOConnection1.exec("UPDATE bm SET repeatcount = NULL WHERE rowid = 1;");
        state.ResumeTiming();
        Database::reopen(f.db.BM);
        Database::reopen(f.db.bms);
    }
}
BENCHMARK(BM_ThreeReopensAlone)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)
    ->ReportAggregatesOnly(true);

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
