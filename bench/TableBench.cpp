// The record table: filling 100,000 rows of 90 columns; the heading sort of
// a column of numbers against a bare stable sort of the same numbers; and
// the load of an airport table into fresh memory, with the memory the table
// takes against its cell texts.
#include "Interleaved.h"
#include "database/DbdFile.h"
#include "platform/DecimalText.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "table/RecordTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#include <sys/resource.h>
#endif

namespace {

using namespace orvane;

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

// A table of `rows` records whose column 4 holds longitudes with four
// decimals, as a load shows them (a few repeat, most differ).
RecordTable LongitudeTable(int rows) {
    RecordTable t;
    t.SetColumnCount(6);
    t.SetRowCount(rows + 1);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> tenThousandths(-1800000, 1800000);
    char value[32];
    for (int r = 1; r <= rows; ++r) {
        const int v = tenThousandths(random);
        std::snprintf(value, sizeof value, "%s%d.%04d", v < 0 ? "-" : "", std::abs(v) / 10000,
                      std::abs(v) % 10000);
        const std::string number = std::to_string(r);
        t.SetRowCells(r, {number, "", "", "1", value, number});
    }
    return t;
}

// The heading sort of a number column, interleaved with its baseline: the
// same texts read with the same fast reader and a bare std::stable_sort of
// the doubles. The baseline does the work any number sort must do (read
// every text once, order the values) and nothing else: no row order, no
// texts, no row moves. The rows are shuffled (untimed) before every run, so
// neither ever sorts rows already sorted.
void BM_NumberSortRatio(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    RecordTable t = LongitudeTable(rows);
    std::vector<int> order(static_cast<std::size_t>(rows) + 1);
    std::mt19937 random(11);
    std::vector<std::string_view> texts(static_cast<std::size_t>(rows));
    std::vector<double> numbers;
    const auto shuffle = [&] {
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin() + 1, order.end(), random);
        t.ReorderRows(order);
        for (int r = 1; r <= rows; ++r)
            texts[static_cast<std::size_t>(r - 1)] = t.Cell(4, r);
    };
    shuffle();
    bool ascending = true, baselineAscending = true;
    bench::Interleave(
        state, "number_sort", bench::Memory::Warm,
        [&] {
            t.SortByColumn(4, ascending, '.');
            ascending = !ascending;
        },
        [&] {
            numbers.clear();
            numbers.reserve(texts.size());
            for (std::string_view text : texts) {
                double v = 0;
                if (ParsePlainDecimal(text, '.', v)) numbers.push_back(v);
            }
            if (baselineAscending)
                std::stable_sort(numbers.begin(), numbers.end());
            else
                std::stable_sort(numbers.begin(), numbers.end(), std::greater<>());
            benchmark::DoNotOptimize(numbers.data());
            baselineAscending = !baselineAscending;
        },
        shuffle);
    if (numbers.size() != static_cast<std::size_t>(rows)) state.SkipWithError("numbers missed");
}

// The load of an airport DBD, each repetition into memory the process has
// just been given back (the heap trimmed after the previous table went), so
// the first-touch page faults of a real run count. Also the bytes the load
// allocates, and their ratio to the bytes of the cell texts.
void BM_LoadIntoFreshMemory(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const testing::AirportLikeFiles files(rows);
    double faults = 0, allocated = 0, texts = 0;
    for (auto _ : state) {
        state.PauseTiming();
#ifdef __GLIBC__
        malloc_trim(0);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const struct mallinfo2 heapBefore = mallinfo2();
#endif
        {
            SessionState s;
            s.Language = "english";
            testing::ScriptedInteraction ui;
            state.ResumeTiming();
            OpenDbdFromDisk(s, files.dbd, files.dbt, ui);
            state.PauseTiming();
#ifdef __GLIBC__
            rusage after{};
            getrusage(RUSAGE_SELF, &after);
            const struct mallinfo2 heapAfter = mallinfo2();
            faults += static_cast<double>(after.ru_minflt - before.ru_minflt);
            allocated += static_cast<double>((heapAfter.uordblks + heapAfter.hblkhd) -
                                             (heapBefore.uordblks + heapBefore.hblkhd));
#endif
            double bytes = 0;
            for (int r = 0; r < s.Table.RowCount(); ++r)
                bytes += static_cast<double>(s.Table.RowTextBytes(r));
            texts += bytes;
        }
        state.ResumeTiming();
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["page_faults"] = faults / runs;
    state.counters["text_MB"] = texts / runs / 1e6;
    state.counters["allocated_MB"] = allocated / runs / 1e6;
    state.counters["allocated_per_text"] = allocated / texts;
}

} // namespace

BENCHMARK(BM_TableFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberSortRatio)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIntoFreshMemory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
