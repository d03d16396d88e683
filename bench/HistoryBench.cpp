// Undo on a large table: "erase all" on 1,000,000 rows taken back, with the
// memory the history holds against the table's own; and two tables of
// 100,000 rows with 1% changed compared record by record.
#include "support/ScriptedInteraction.h"
#include "table/History.h"
#include "table/TableDiff.h"
#include "table/TableOperations.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace orvane;

// Rows packed as a load makes them: key, name and a dozen numbers.
RecordTable LoadedTable(int rows, int changeEvery = 0) {
    constexpr int kFields = 14;
    RecordTable t;
    t.SetColumnCount(kFirstFieldColumn + kFields);
    t.SetRowCount(rows + 1);
    t.SetCell(kFirstFieldColumn, 0, "Airport key (unique)");
    std::string texts;
    std::vector<std::uint32_t> ends;
    for (int r = 1; r <= rows; ++r) {
        texts.clear();
        ends.clear();
        const auto add = [&](const std::string& cell) {
            texts += cell;
            ends.push_back(static_cast<std::uint32_t>(texts.size()));
        };
        add(std::to_string(r)), add("0"), add(""), add("0");
        add("K" + std::to_string(1000000 + r));
        add("Airport number " + std::to_string(r));
        const bool changed = changeEvery && r % changeEvery == 0;
        for (int f = 2; f < kFields; ++f)
            add(std::to_string((r * 37 + f * 11) % 100000 + (changed && f == 5)) + ".2500");
        t.SetRowPacked(r, texts, ends.data(), ends.size());
    }
    return t;
}

void BM_UndoEraseAll(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    RecordTable t = LoadedTable(rows);
    orvane::testing::ScriptedInteraction ui;
    History h;
    h.Reset(t);
    const std::size_t tableBytes = t.MemoryUsage();
    std::size_t peak = 0;
    for (auto _ : state) {
        {
            HistoryStep step(h, t, {txt::StepEraseAll});
            EraseAll(t, ui, Lang::English);
        }
        peak = std::max(peak, t.MemoryUsage() + h.MemoryUsage());
        h.Undo(t);
        if (t.RowCount() != rows + 1) state.SkipWithError("rows not restored");
    }
    state.counters["table_MB"] = double(tableBytes) / 1e6;
    state.counters["peak_MB"] = double(peak) / 1e6; // the table and its history after the erase
    state.counters["peak_x_table"] = double(peak) / double(tableBytes);
}

void BM_CompareTables(benchmark::State& state) {
    const RecordTable a = LoadedTable(100000);
    const RecordTable b = LoadedTable(100000, 100); // 1% changed
    const int key = DefaultKeyColumn(a);
    std::size_t changed = 0;
    for (auto _ : state) {
        const TableDifference d = CompareTables(a, b, key);
        changed = d.changed.size();
        benchmark::DoNotOptimize(changed);
    }
    state.counters["changed"] = double(changed);
}

} // namespace

BENCHMARK(BM_UndoEraseAll)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CompareTables)->Unit(benchmark::kMillisecond);
