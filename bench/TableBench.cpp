// The record table on 100,000 rows: filling 90 columns, and a heading sort
// of a column with many equal values, in both directions.
#include "support/TableCells.h"
#include "table/RecordTable.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using orvane::RecordTable;

void BM_TableFill(benchmark::State& state) {
    const int rows = 100000, columns = 90;
    std::vector<std::string> texts(columns);
    std::vector<std::string_view> views(columns);
    for (auto _ : state) {
        RecordTable t;
        t.SetColumnCount(columns);
        t.SetRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                texts[c] = std::to_string((r * 31 + c * 7) % 100000) + ".1250";
                views[c] = texts[c];
            }
            t.SetRowCells(r, views);
        }
        benchmark::DoNotOptimize(t.MemoryUsage());
    }
}

void BM_TableSort(benchmark::State& state) {
    RecordTable t = orvane::testing::TableOfEqualValues(100000);
    bool ascending = true;
    for (auto _ : state) {
        t.SortByColumn(4, ascending, '.');
        ascending = !ascending;
    }
}

} // namespace

BENCHMARK(BM_TableFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableSort)->Unit(benchmark::kMillisecond);
