// The main window's grid on a table of 100,000 airport records: opening the
// archive into the grid, sorting by a heading click and scrolling the view
// from top to bottom, a search to the last row. Runs offscreen.
#include "../Interleaved.h"
#include "database/ArchiveWriter.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"
#include "ui/commands/CommandFamilies.h"
#include "ui/commands/FileCommands.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"

#include "database/DbdFile.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include <malloc.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kRows = 100000;

// The archive of `rows` airport records, made once per size.
const std::string& Archive(int rows = kRows) {
    static TempDir dir;
    static std::map<int, std::string> paths;
    auto found = paths.find(rows);
    if (found != paths.end()) return found->second;
    std::string dbd = DbdHeaderBytes("aprt", rows, kAirportLikeRecordSize);
    dbd.reserve(dbd.size() + std::size_t(rows) * kAirportLikeRecordSize);
    for (int n = 0; n < rows; ++n)
        dbd += AirportLikeRecord(n);
    // The data type comes from the archive's name: one folder per size.
    const std::string folder = dir.File(std::to_string(rows));
    std::filesystem::create_directories(folder);
    std::string p = folder + "/AIRPORT.POD";
    WriteArchive(p, ArchiveLayout::Pod3,
                 {{"DATABASE\\AIRPORT.DBT", TemplateText(AirportLikeFields()), 0},
                  {"DATABASE\\AIRPORT.DBD", dbd, 0}});
    ::sync(); // on the disk now, not by the writeback in the middle of the runs
    return paths.emplace(rows, p).first->second;
}

struct Window {
    SessionState session;
    ScriptedInteraction ui;
    TempDir dir;
    MainWindow window{session, ui, &ui, dir.File("Orvane.ini")};
    RecordGridView* grid = window.findChild<RecordGridView*>("DataGrid");
    QComboBox* searchBox = window.findChild<QComboBox*>("cbSrch");
    Window() {
        window.resize(1024, 700);
        window.show();
        QCoreApplication::processEvents();
    }
    void ClickHeading(int col) {
        QHeaderView* h = grid->horizontalHeader();
        grid->scrollTo(window.Model()->index(0, col));
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, {},
            QPoint(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2));
        QCoreApplication::processEvents();
    }
};

void BM_GridOpen(benchmark::State& state) {
    const int rows = int(state.range(0));
    const std::string& archive = Archive(rows);
    Window w;
    for (auto _ : state) {
        if (!w.window.Commands().files->LoadArchive(archive)) state.SkipWithError("not loaded");
        QCoreApplication::processEvents();
    }
    state.counters["rows/s"] =
        benchmark::Counter(double(rows) * state.iterations(), benchmark::Counter::kIsRate);
}

// The same archive loaded by the core alone, with no window: what the
// grid's open is measured against.
void BM_CoreLoad(benchmark::State& state) {
    const int rows = int(state.range(0));
    const std::string& archive = Archive(rows);
    SessionState s;
    s.Language = "english";
    ScriptedInteraction ui;
    for (auto _ : state)
        if (!OpenDbdFromArchive(s, archive, "", ui).loaded) state.SkipWithError("not loaded");
    state.counters["rows/s"] =
        benchmark::Counter(double(rows) * state.iterations(), benchmark::Counter::kIsRate);
}

// Bytes the heap holds in use, the large blocks included.
double HeapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd);
}

// The editor's open against the core's load of the same archive,
// interleaved (which goes first alternates), each into memory just given back
// to the system: the ratio of their median times (`open_ratio`). Also the
// memory the editor holds for the open table against the bytes of its cell
// texts (`editor_memory_ratio`): what the heap holds with the table open less
// what it held with the window shown before the first open.
void BM_EditorOpenRatio(benchmark::State& state) {
    const std::string& archive = Archive(int(state.range(0)));
    std::optional<Window> w;
    w.emplace();
    std::optional<SessionState> core;
    ScriptedInteraction ui;
    malloc_trim(0);
    const double windowBytes = HeapInUse();
    double editorBytes = 0, textBytes = 0;
    bench::Interleave(
        state, "open", bench::Memory::Fresh,
        [&] {
            if (!w->window.Commands().files->LoadArchive(archive))
                state.SkipWithError("not loaded");
            QCoreApplication::processEvents();
        },
        [&] {
            core.emplace();
            core->Language = "english";
            if (!OpenDbdFromArchive(*core, archive, "", ui).loaded)
                state.SkipWithError("not loaded");
        },
        [&] {
            if (core) {
                core.reset();
                return;
            }
            editorBytes = HeapInUse() - windowBytes;
            textBytes = 0;
            for (int r = 0; r < w->session.Table.RowCount(); ++r)
                textBytes += static_cast<double>(w->session.Table.RowTextBytes(r));
            // The next open starts from an empty window, as the first one did.
            w.reset();
            w.emplace();
        });
    state.counters["text_MB"] = textBytes / 1e6;
    state.counters["editor_MB"] = editorBytes / 1e6;
    state.counters["editor_memory_ratio"] = editorBytes / textBytes;
}

// A heading click on a text column of distinct names, in both directions,
// against a bare stable sort of that column's texts.
constexpr int kNameColumn = 7;

void BM_GridSortText(benchmark::State& state) {
    Window w;
    w.window.Commands().files->LoadArchive(Archive(int(state.range(0))));
    for (auto _ : state)
        w.ClickHeading(kNameColumn);
}

void BM_BareStableSortOfTexts(benchmark::State& state) {
    SessionState s;
    s.Language = "english";
    ScriptedInteraction ui;
    OpenDbdFromArchive(s, Archive(int(state.range(0))), "", ui);
    std::vector<std::string_view> texts;
    bool ascending = true;
    for (auto _ : state) {
        state.PauseTiming();
        texts.clear();
        for (int r = 1; r < s.Table.RowCount(); ++r)
            texts.push_back(s.Table.Cell(kNameColumn, r));
        state.ResumeTiming();
        if (ascending)
            std::stable_sort(texts.begin(), texts.end());
        else
            std::stable_sort(texts.begin(), texts.end(), std::greater<>());
        ascending = !ascending;
        benchmark::DoNotOptimize(texts.data());
    }
}

void BM_GridSortByHeading(benchmark::State& state) {
    Window w;
    w.window.Commands().files->LoadArchive(Archive());
    int col = 4;
    for (auto _ : state) {
        // Alternate a text column and a numeric one, as a user clicking around.
        col = col == 5 ? 12 : 5;
        w.ClickHeading(col);
    }
}

void BM_GridScrollTopToBottom(benchmark::State& state) {
    Window w;
    w.window.Commands().files->LoadArchive(Archive());
    QScrollBar* bar = w.grid->verticalScrollBar();
    for (auto _ : state) {
        for (int step = 0; step <= 100; ++step) {
            bar->setValue(bar->maximum() * step / 100);
            w.grid->viewport()->repaint();
        }
    }
    state.counters["pages/s"] =
        benchmark::Counter(101.0 * state.iterations(), benchmark::Counter::kIsRate);
}

// "Find =" pressed in the window, from the top to a hit on the last row:
// the scan, the current row, the whole-row selection and the scroll.
void BM_GridFindLastRow(benchmark::State& state) {
    Window w;
    w.window.Commands().files->LoadArchive(Archive());
    for (auto _ : state) {
        state.PauseTiming();
        w.searchBox->clearEditText();
        QTest::keyClicks(w.searchBox, QString::number(kRows)); // "n°" of the last row
        state.ResumeTiming();
        w.window.findChild<QPushButton*>("btnChercher1")->click();
        QCoreApplication::processEvents();
        if (w.grid->currentIndex().row() != kRows - 1)
            state.SkipWithError("no hit on the last row");
    }
}

} // namespace

BENCHMARK(BM_GridOpen)->Arg(kRows)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreLoad)->Arg(kRows)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorOpenRatio)
    ->Arg(kRows)
    ->Arg(1000000)
    ->Iterations(16)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortText)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareStableSortOfTexts)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFindLastRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortByHeading)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScrollTopToBottom)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
