// The search of the main window on 100,000 rows: a press that scans from the
// top to a hit on the last row, exact and partial.
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "table/Search.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

void BM_SearchFromTopToLastRow(benchmark::State& state) {
    const auto mode = static_cast<SearchMode>(state.range(0));
    const int rows = 100000;
    RecordTable t = testing::TableOfEqualValues(rows);
    testing::ScriptedInteraction ui;
    const std::string last = std::to_string(rows); // column 5 holds the row number
    for (auto _ : state) {
        SearchState search; // in its find state: the scan starts at row 1
        search.SearchColumn = 5;
        const SearchResult r = search.Press(mode, t, last, ui);
        if (r.hit.row != rows) state.SkipWithError("no hit on the last row");
    }
    state.counters["rows/s"] =
        benchmark::Counter(double(rows) * state.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_SearchFromTopToLastRow)
    ->Arg(int(SearchMode::Exact))
    ->Arg(int(SearchMode::Partial))
    ->Unit(benchmark::kMillisecond);
