// The main window's grid on a table of 100,000 airport records: opening the
// archive into the grid, sorting by a heading click and scrolling the view
// from top to bottom, a search to the last row. Runs offscreen.
#include "database/ArchiveWriter.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kRows = 100000;

const std::string& Archive() {
    static TempDir dir;
    static std::string path = [] {
        std::vector<std::string> records;
        records.reserve(kRows);
        for (int n = 0; n < kRows; ++n)
            records.push_back(AirportLikeRecord(n));
        std::string p = dir.File("AIRPORT.POD");
        WriteArchive(
            p, ArchiveLayout::Pod3,
            {{"DATABASE\\AIRPORT.DBT", TemplateText(AirportLikeFields()), 0},
             {"DATABASE\\AIRPORT.DBD", DbdBytes("aprt", kAirportLikeRecordSize, records), 0}});
        return p;
    }();
    return path;
}

struct Window {
    SessionState session;
    ScriptedInteraction ui;
    TempDir dir;
    TForm_main window{session, ui, &ui, dir.File("Orvane.ini")};
    Window() {
        window.resize(1024, 700);
        window.show();
        QCoreApplication::processEvents();
    }
    void ClickHeading(int col) {
        QHeaderView* h = window.DataGrid->horizontalHeader();
        window.DataGrid->scrollTo(window.Model()->index(0, col));
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, {},
            QPoint(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2));
        QCoreApplication::processEvents();
    }
};

void BM_GridOpen(benchmark::State& state) {
    const std::string& archive = Archive();
    Window w;
    for (auto _ : state) {
        w.window.LoadArchive(archive);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.window.Model()->rowCount());
    }
    state.counters["rows/s"] =
        benchmark::Counter(double(kRows) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_GridSortByHeading(benchmark::State& state) {
    Window w;
    w.window.LoadArchive(Archive());
    int col = 4;
    for (auto _ : state) {
        // Alternate a text column and a numeric one, as a user clicking around.
        col = col == 5 ? 12 : 5;
        w.ClickHeading(col);
    }
}

void BM_GridScrollTopToBottom(benchmark::State& state) {
    Window w;
    w.window.LoadArchive(Archive());
    QScrollBar* bar = w.window.DataGrid->verticalScrollBar();
    for (auto _ : state) {
        for (int step = 0; step <= 100; ++step) {
            bar->setValue(bar->maximum() * step / 100);
            w.window.DataGrid->viewport()->repaint();
        }
    }
    state.counters["pages/s"] =
        benchmark::Counter(101.0 * state.iterations(), benchmark::Counter::kIsRate);
}

// "Find =" pressed in the window, from the top to a hit on the last row:
// the scan, the current row, the whole-row selection and the scroll.
void BM_GridFindLastRow(benchmark::State& state) {
    Window w;
    w.window.LoadArchive(Archive());
    for (auto _ : state) {
        state.PauseTiming();
        w.window.cbSrch->clearEditText();
        QTest::keyClicks(w.window.cbSrch, QString::number(kRows)); // "n°" of the last row
        state.ResumeTiming();
        w.window.btnChercher1->click();
        QCoreApplication::processEvents();
        if (w.window.DataGrid->currentIndex().row() != kRows - 1)
            state.SkipWithError("no hit on the last row");
    }
}

} // namespace

BENCHMARK(BM_GridFindLastRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridOpen)->Unit(benchmark::kMillisecond);
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
