// The check of 100,000 rows, against the load of the same table from its
// DBD file, one row checked again after an edit, and the map's visible-item
// query at world and city scale on 100,000 places.
#include "database/DbdFile.h"
#include "database/TableCheck.h"
#include "forms/MapView.h"
#include "support/DbdFixtures.h"
#include "support/MapFixtures.h"
#include "support/ScriptedInteraction.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

using namespace orvane;

constexpr int kAirports = 100000;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The processor time of both, which a loaded machine disturbs less than the
// clock on the wall.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// The 100,000-row airport table, as the editor loads it.
void LoadAirports(SessionState& s, const testing::AirportLikeFiles& files) {
    s.Language = "english";
    testing::ScriptedInteraction ui;
    OpenDbdFromDisk(s, files.dbd, files.dbt, ui);
}

// A full check of the table just loaded, against the load itself (the best
// of three): both in processor time and on the wall, and the check's share
// of the load in each.
void BM_CheckAgainstLoad(benchmark::State& state) {
    const testing::AirportLikeFiles files(kAirports);
    SessionState s;
    double load = 1e9, loadCpu = 1e9;
    for (int i = 0; i < 3; ++i) {
        SessionState fresh;
        const double cpu = CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        LoadAirports(fresh, files);
        load = std::min(load, Seconds(std::chrono::steady_clock::now() - start));
        loadCpu = std::min(loadCpu, CpuSeconds() - cpu);
    }
    LoadAirports(s, files);
    TableChecker checker;
    double check = 0, checkCpu = 0;
    for (auto _ : state) {
        const double cpu = CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        checker.CheckAll(s.Table, s.Fields(), s.DataType, s.DecimalSeparator());
        check += Seconds(std::chrono::steady_clock::now() - start);
        checkCpu += CpuSeconds() - cpu;
        benchmark::DoNotOptimize(checker.Count());
    }
    const auto runs = static_cast<double>(state.iterations());
    check /= runs;
    checkCpu /= runs;
    state.counters["rows"] = s.Table.RowCount() - 1;
    state.counters["findings"] = static_cast<double>(checker.Count());
    state.counters["load_cpu_ms"] = loadCpu * 1000;
    state.counters["check_cpu_ms"] = checkCpu * 1000;
    state.counters["check_per_load_cpu"] = checkCpu / loadCpu;
    state.counters["load_ms"] = load * 1000;
    state.counters["check_ms"] = check * 1000;
    state.counters["check_per_load"] = check / load;
}

// One typed key checked again in the 100,000-row table: the row and the rows
// that share its old or its new key.
void BM_CheckOneEdit(benchmark::State& state) {
    const testing::AirportLikeFiles files(kAirports);
    SessionState s;
    LoadAirports(s, files);
    TableChecker checker;
    checker.CheckAll(s.Table, s.Fields(), s.DataType, s.DecimalSeparator());
    const int keyColumn = KeyColumn(s.Fields(), s.DataType);
    const std::string own(s.Table.Cell(keyColumn, 500)), other(s.Table.Cell(keyColumn, 90000));
    bool repeated = false;
    for (auto _ : state) {
        repeated = !repeated;
        s.Table.SetCell(keyColumn, 500, repeated ? other : own);
        checker.RecheckRows(s.Table, 500, 500);
        benchmark::DoNotOptimize(checker.Findings().size());
    }
}

void BM_CheckTable(benchmark::State& state) {
    const testing::PlacesTable p = testing::ManyPlaces(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckTable(p.table, p.fields, "NAVAID", '.').size());
}

void BM_MapBuild(benchmark::State& state) {
    const testing::PlacesTable p = testing::ManyPlaces(100000);
    MapPoints points;
    for (auto _ : state) {
        points.Build(p.table, '.');
        benchmark::DoNotOptimize(points.Items().size());
    }
}

// Arg: pixels per degree (5 the world on 1800 pixels, 20000 a city).
void BM_MapVisible(benchmark::State& state) {
    const testing::PlacesTable p = testing::ManyPlaces(100000);
    MapPoints points;
    points.Build(p.table, '.');
    MapProjection view;
    view.SetViewport(1280, 800);
    view.SetView({2.35, 48.85}, static_cast<double>(state.range(0)));
    std::vector<std::uint32_t> visible;
    for (auto _ : state) {
        points.Visible(view, 8, visible);
        benchmark::DoNotOptimize(visible.size());
    }
    state.counters["visible"] = static_cast<double>(visible.size());
}

} // namespace

BENCHMARK(BM_CheckTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckAgainstLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckOneEdit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MapBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapVisible)->Arg(5)->Arg(20000)->Unit(benchmark::kMicrosecond);
