// The record table on 100,000 rows: filling 90 columns, and a heading sort
// of a column with many equal values, in both directions.
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
    const int n = 100000;
    RecordTable t;
    t.SetColumnCount(6);
    t.SetRowCount(n + 1);
    std::uint32_t seed = 12345;
    for (int r = 1; r <= n; ++r) {
        seed = seed * 1664525u + 1013904223u;
        const std::string value =
            std::to_string(seed >> 22) + "." + std::to_string((seed >> 8) % 2 * 5);
        const std::string number = std::to_string(r);
        t.SetRowCells(r, {number, "", "", "0", value, number});
    }
    bool ascending = true;
    for (auto _ : state) {
        t.SortByColumn(4, ascending, '.');
        ascending = !ascending;
    }
}

} // namespace

BENCHMARK(BM_TableFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableSort)->Unit(benchmark::kMillisecond);
