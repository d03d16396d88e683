// The check of 100,000 rows, and the map's visible-item query at world and
// city scale on 100,000 places.
#include "database/TableCheck.h"
#include "support/MapFixtures.h"
#include "table/MapView.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

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
BENCHMARK(BM_MapBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapVisible)->Arg(5)->Arg(20000)->Unit(benchmark::kMicrosecond);
