// DEX and CSV export and import of a 100,000-record airport table.
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "support/DbdFixtures.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

using namespace orvane;

constexpr int kRecords = 100000;

class QuietInteraction : public UserInteraction {
  public:
    void ShowMessage(MessageKind, const std::string& text, const std::string&) override {
        throw std::runtime_error("unexpected message: " + text);
    }
    bool Confirm(const std::string&) override { return true; }
    void Beep() override {}
};

SessionState MakeSession() {
    SessionState s;
    s.Language = "english";
    s.SimulatorVersion = 1; // 330-byte AIRPORT records are Fly! 1 data: no question
    s.Display.decimalSeparator = '.';
    return s;
}

// The files every benchmark uses, made once: the template, the DBD, and a
// DEX and CSV exported from the loaded table.
struct Fixture {
    testing::TempDir dir;
    std::string dbt, dex, csv;
    SessionState table = MakeSession();

    Fixture() {
        std::string dbd;
        {
            std::vector<std::string> records;
            records.reserve(kRecords);
            for (int n = 0; n < kRecords; ++n)
                records.push_back(testing::AirportLikeRecord(n));
            dbd = dir.Write("AIRPORT.dbd",
                            testing::DbdBytes("aprt", testing::kAirportLikeRecordSize, records));
        }
        dbt = dir.Write("AIRPORT.DBT", testing::TemplateText(testing::AirportLikeFields()));
        QuietInteraction ui;
        if (!OpenDbdFromDisk(table, dbd, dbt, ui).loaded) throw std::runtime_error("load failed");
        dex = dir.File("AIRPORT.dex");
        csv = dir.File("AIRPORT.csv");
        if (ExportDex(table, dex, false, ui) != kRecords) throw std::runtime_error("DEX export");
        if (ExportCsv(table, csv, false, ui) != kRecords) throw std::runtime_error("CSV export");
    }
};

Fixture& Files() {
    static Fixture f;
    return f;
}

void Rate(benchmark::State& state) {
    state.counters["records/s"] =
        benchmark::Counter(kRecords, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DexExport(benchmark::State& state) {
    Fixture& f = Files();
    QuietInteraction ui;
    const std::string out = f.dir.File("OUT.dex");
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportDex(f.table, out, false, ui));
    Rate(state);
}

void BM_DexImport(benchmark::State& state) {
    Fixture& f = Files();
    QuietInteraction ui;
    for (auto _ : state) {
        SessionState s = MakeSession();
        ImportOutcome out = ImportDex(s, f.dex, ImportMode::Open, ui, nullptr, f.dbt);
        if (s.Table.RowCount() != kRecords + 1) state.SkipWithError("rows missing");
        benchmark::DoNotOptimize(out);
        state.PauseTiming(); // the table's release is not the import's
        { SessionState gone = std::move(s); }
        state.ResumeTiming();
    }
    Rate(state);
}

void BM_CsvExport(benchmark::State& state) {
    Fixture& f = Files();
    QuietInteraction ui;
    const std::string out = f.dir.File("OUT.csv");
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportCsv(f.table, out, false, ui));
    Rate(state);
}

void BM_CsvImport(benchmark::State& state) {
    Fixture& f = Files();
    QuietInteraction ui;
    for (auto _ : state) {
        SessionState s = MakeSession();
        ImportOutcome out = ImportCsv(s, f.csv, ImportMode::Open, ui, nullptr, f.dbt);
        if (s.Table.RowCount() != kRecords + 1) state.SkipWithError("rows missing");
        benchmark::DoNotOptimize(out);
        state.PauseTiming();
        { SessionState gone = std::move(s); }
        state.ResumeTiming();
    }
    Rate(state);
}

BENCHMARK(BM_DexExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DexImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond);

} // namespace
