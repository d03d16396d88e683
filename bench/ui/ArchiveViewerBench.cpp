// The archive viewer on an archive of 20,000 entries: listing it (the
// archive read and the entry model filled and painted) and sorting it by a
// heading click. Runs offscreen.
#include "database/ArchiveWriter.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "support/Widgets.h"
#include "ui/dialogs/ArchiveViewer.h"

#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kEntries = 20000;

const std::string& ManyEntries() {
    static TempDir dir;
    static std::string path = [] {
        std::vector<ArchiveSourceEntry> entries;
        entries.reserve(kEntries);
        for (int n = 0; n < kEntries; ++n)
            entries.push_back({"FOLDER" + std::to_string(n % 37) + "\\FILE" +
                                   std::to_string((n * 7919) % kEntries) + ".DAT",
                               std::string(std::size_t(n % 61), 'x'), 1000000000 + n * 97 % 5000});
        std::string p = dir.File("MANY.POD");
        WriteArchive(p, ArchiveLayout::Pod3, entries);
        return p;
    }();
    return path;
}

struct Viewer {
    SessionState session;
    ScriptedInteraction ui;
    ArchiveViewer dialog{session, ui, &ui};
    QTableView* list = Child<QTableView>(&dialog, "sgPodview");
    Viewer() {
        session.Language = "english";
        dialog.show();
        QCoreApplication::processEvents();
    }
};

void BM_ViewerOpen20000(benchmark::State& state) {
    const std::string& archive = ManyEntries();
    Viewer v;
    for (auto _ : state) {
        v.dialog.OpenArchive(archive);
        v.list->viewport()->repaint();
        benchmark::DoNotOptimize(v.dialog.Model()->rowCount());
    }
    state.counters["entries/s"] =
        benchmark::Counter(double(kEntries) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_ViewerSort20000(benchmark::State& state) {
    Viewer v;
    v.dialog.OpenArchive(ManyEntries());
    v.dialog.HeadingClick(0); // every entry marked: the marks move with them
    int column = 1;
    for (auto _ : state) {
        column = column == 4 ? 1 : column + 1; // name, folder, size, date
        v.dialog.HeadingClick(column);
        v.list->viewport()->repaint();
    }
}

} // namespace

BENCHMARK(BM_ViewerOpen20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerSort20000)->Unit(benchmark::kMillisecond);
