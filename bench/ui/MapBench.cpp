// A full repaint of the map on 100,000 places, at world and at city scale.
#include "database/SessionState.h"
#include "support/MapFixtures.h"
#include "ui/map/MapWidget.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

// Arg: pixels per degree (the whole world, then Paris about 5 km across).
void BM_MapRepaint(benchmark::State& state) {
    SessionState session;
    session.Display.decimalSeparator = '.';
    session.Table = testing::ManyPlaces(100000).table;
    MapWidget map(session, nullptr);
    map.resize(1280, 800);
    map.View().SetViewport(1280, 800);
    map.Refresh();
    map.View().SetView({2.35, 48.85}, static_cast<double>(state.range(0)));
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        map.Render(painter);
    }
}

} // namespace

BENCHMARK(BM_MapRepaint)->Arg(3)->Arg(250000)->Unit(benchmark::kMillisecond);
