// The comparison with the real world on the largest tables: 100,000 airports
// beside an 80,000-line airports.csv (read and matched), against the load of
// the same table from its DBD file.
#include "database/DbdFile.h"
#include "realworld/Reconcile.h"
#include "support/DbdFixtures.h"
#include "support/RealWorldFixtures.h"
#include "support/ScriptedInteraction.h"
#include "table/ValueDisplay.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using namespace orvane;

constexpr int kAirports = 100000;
constexpr int kRealAirports = 80000;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void LoadAirports(SessionState& s, const testing::AirportLikeFiles& files) {
    s.Language = "english";
    testing::ScriptedInteraction ui;
    OpenDbdFromDisk(s, files.dbd, files.dbt, ui);
}

// Codes and places as real airports have them: unique four-letter codes,
// spread over the inhabited latitudes.
void MakeRealistic(RecordTable& t, const ReconcileColumns& c) {
    for (int r = 1; r < t.RowCount(); ++r) {
        std::string code(4, 'A');
        for (int i = 3, n = r; i >= 0; --i, n /= 26)
            code[std::size_t(i)] = char('A' + n % 26);
        t.SetCell(c.code, r, code);
        t.SetCell(c.positions[0].latitude, r,
                  FormatFixed((r % 1400 - 700) * 360.0 + r % 97, 4, '.'));
        t.SetCell(c.positions[0].longitude, r,
                  FormatFixed((r % 3500 - 1750) * 360.0 + r % 89, 4, '.'));
        t.SetCell(c.elevation, r, std::to_string(r % 3000));
    }
}

void BM_ReconcileAgainstLoad(benchmark::State& state) {
    const testing::AirportLikeFiles files(kAirports);
    double load = 1e9;
    for (int i = 0; i < 3; ++i) {
        SessionState fresh;
        const auto start = std::chrono::steady_clock::now();
        LoadAirports(fresh, files);
        load = std::min(load, Seconds(std::chrono::steady_clock::now() - start));
    }
    SessionState s;
    LoadAirports(s, files);
    MakeRealistic(s.Table, FindReconcileColumns(s.Table, "AIRPORT"));
    auto records = testing::MirrorTable(s.Table, "AIRPORT");
    records.resize(kRealAirports);
    for (std::size_t i = 0; i < records.size(); i += 50) // a finding every fiftieth
        testing::MoveNorth(records[i], 2000);
    testing::TempDir folder;
    testing::WriteRealFile(folder.Path(), RealDataFile::Airports, records);

    double read = 0, match = 0;
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const RealWorldData real = ReadRealWorldData(folder.Path(), {RealDataFile::Airports});
        const auto read_end = std::chrono::steady_clock::now();
        findings = Reconcile(s.Table, s.Fields(), "AIRPORT", real, {}).size();
        match += Seconds(std::chrono::steady_clock::now() - read_end);
        read += Seconds(read_end - start);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["rows"] = s.Table.RowCount() - 1;
    state.counters["real_airports"] = kRealAirports;
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["load_ms"] = load * 1000;
    state.counters["read_ms"] = read / runs * 1000;
    state.counters["match_ms"] = match / runs * 1000;
    state.counters["reconcile_per_load"] = (read + match) / runs / load;
}

} // namespace

BENCHMARK(BM_ReconcileAgainstLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
