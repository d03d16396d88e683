// The record table: filling 100,000 rows of 90 columns; the heading sort of
// a column of numbers against a bare stable sort of the same numbers; and
// the load of an airport table into fresh memory, with the memory the table
// takes against its cell texts.
#include "database/DbdFile.h"
#include "platform/DecimalText.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "table/RecordTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
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

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The processor time of the process, which a busy machine disturbs less
// than the clock on the wall.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

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

// Each repetition shuffles the rows (untimed), then times the heading sort
// and, interleaved with it, the baseline: the same texts read with the same
// fast reader and a bare std::stable_sort of the doubles. The baseline does
// the work any number sort must do (read every text once, order the
// values) and nothing else: no row order, no texts, no row moves.
void BM_NumberSortVsStableSort(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    RecordTable t = LongitudeTable(rows);
    std::vector<int> order(static_cast<std::size_t>(rows) + 1);
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 random(11);
    std::vector<std::string_view> texts(static_cast<std::size_t>(rows));
    std::vector<double> numbers;
    double sort = 0, baseline = 0, sortCpu = 0, baselineCpu = 0;
    bool ascending = true, programFirst = true;
    for (auto _ : state) {
        state.PauseTiming();
        std::shuffle(order.begin() + 1, order.end(), random);
        t.ReorderRows(order);
        std::iota(order.begin(), order.end(), 0);
        for (int r = 1; r <= rows; ++r)
            texts[static_cast<std::size_t>(r - 1)] = t.Cell(4, r);
        const auto runBaseline = [&] {
            const double cpu = CpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            numbers.clear();
            numbers.reserve(texts.size());
            for (std::string_view text : texts) {
                double v = 0;
                if (ParsePlainDecimal(text, '.', v)) numbers.push_back(v);
            }
            if (ascending)
                std::stable_sort(numbers.begin(), numbers.end());
            else
                std::stable_sort(numbers.begin(), numbers.end(), std::greater<>());
            benchmark::DoNotOptimize(numbers.data());
            baseline += Seconds(std::chrono::steady_clock::now() - start);
            baselineCpu += CpuSeconds() - cpu;
        };
        const auto runSort = [&] {
            const double cpu = CpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            t.SortByColumn(4, ascending, '.');
            sort += Seconds(std::chrono::steady_clock::now() - start);
            sortCpu += CpuSeconds() - cpu;
        };
        if (!programFirst) runBaseline();
        state.ResumeTiming();
        runSort();
        state.PauseTiming();
        if (programFirst) runBaseline();
        state.ResumeTiming();
        programFirst = !programFirst;
        ascending = !ascending;
    }
    if (numbers.size() != static_cast<std::size_t>(rows)) state.SkipWithError("numbers missed");
    const auto runs = static_cast<double>(state.iterations());
    state.counters["sort_ms"] = sort / runs * 1000;
    state.counters["stable_sort_ms"] = baseline / runs * 1000;
    state.counters["sort_per_stable_sort"] = sort / baseline;
    state.counters["sort_per_stable_sort_cpu"] = sortCpu / baselineCpu;
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
BENCHMARK(BM_NumberSortVsStableSort)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIntoFreshMemory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
