// DEX and CSV export and import of large airport tables.
#include "FlatCodec.h"
#include "Interleaved.h"
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "support/DbdFixtures.h"
#include "support/TempDir.h"
#include "table/TableText.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace {

using namespace orvane;

constexpr int kRecords = 100000;

// A benchmark that meets a message measures the wrong thing.
struct QuietInteraction : UnattendedInteraction {
    QuietInteraction() {
        OnMessage = [](MessageKind, const std::string& text) {
            throw std::runtime_error("unexpected message: " + text);
        };
    }
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

// The exports of a loaded table (Arg: its rows, every second one with
// accented texts) against flat writers that take the same texts from one
// plain buffer and write the same bytes in the same durable way.
struct ExportFixture {
    testing::AirportLikeFiles files;
    SessionState table = MakeSession();
    std::vector<FieldDef> fields;
    std::vector<char> texts;           // every row's texts back to back
    std::vector<std::size_t> rowStart; // where each row's texts begin
    std::vector<std::uint32_t> ends;   // per row, where each cell ends in them
    std::size_t columns = 0;
    std::string dexHeader, csvHeading;

    explicit ExportFixture(int rows) : files(rows, true) {
        QuietInteraction ui;
        if (!OpenDbdFromDisk(table, files.dbd, files.dbt, ui).loaded)
            throw std::runtime_error("load failed");
        fields = table.Fields();
        const RecordTable& t = table.Table;
        columns = static_cast<std::size_t>(kFirstFieldColumn + table.FieldCount);
        ends.resize(columns * static_cast<std::size_t>(rows));
        for (int r = 1; r <= rows; ++r) {
            const std::string_view row =
                t.RowTexts(r, &ends[columns * static_cast<std::size_t>(r - 1)], columns);
            rowStart.push_back(texts.size());
            texts.insert(texts.end(), row.begin(), row.end());
        }
        const std::string dex = files.dir.File("OURS.dex"), csv = files.dir.File("OURS.csv");
        ExportDex(table, dex, false, ui);
        ExportCsv(table, csv, false, ui);
        const std::vector<unsigned char> d = ReadWholeFile(dex), c = ReadWholeFile(csv);
        dexHeader.assign(d.begin(), d.begin() + DexHeader::kSize);
        const std::string text(c.begin(), c.end());
        csvHeading = text.substr(0, text.find('\n', text.find('\n') + 1) + 1);
        // The fixture's files on the disk now, not by the system's writeback
        // in the middle of the measured runs.
        ::sync();
    }
    int Rows() const { return static_cast<int>(rowStart.size()); }
    const char* Texts(int row) const { return texts.data() + rowStart[std::size_t(row)]; }
    const std::uint32_t* Ends(int row) const { return &ends[columns * std::size_t(row)]; }
};

ExportFixture& ExportFiles(int rows) {
    static std::map<int, std::unique_ptr<ExportFixture>> made;
    auto& f = made[rows];
    if (!f) {
        made.clear(); // one size at a time: a million rows take gigabytes
        made[rows] = std::make_unique<ExportFixture>(rows);
    }
    return *made[rows];
}

void FlatExportDex(const ExportFixture& f, const std::string& path) {
    const std::size_t size = static_cast<std::size_t>(f.table.CurrentPod->Dex.RecordSize());
    bench::FlatFile file(path);
    file.Append(f.dexHeader);
    for (int r = 0; r < f.Rows(); ++r) {
        unsigned char* rec = reinterpret_cast<unsigned char*>(file.At());
        bench::FlatEncode(f.Texts(r), f.Ends(r), f.fields, rec, size);
        file.Advance(file.At() + size);
    }
    file.Commit();
}

void FlatExportCsv(const ExportFixture& f, const std::string& path) {
    bench::FlatFile file(path);
    file.Append(f.csvHeading);
    const std::size_t columns = f.columns;
    for (int r = 0; r < f.Rows(); ++r) {
        const char* texts = f.Texts(r);
        const std::uint32_t* ends = f.Ends(r);
        const std::uint32_t rowBytes = ends[columns - 1];
        char* p = file.At();
        // Cells copied as the program copies them (short ones by one fixed
        // 16-byte copy).
        for (std::size_t c = kColSuppr; c < columns; ++c) {
            p = CopyStoredCell(p, texts, ends[c - 1], ends[c], rowBytes);
            *p++ = ';';
        }
        p[-1] = '\r';
        *p++ = '\n';
        file.Advance(p);
    }
    file.Commit();
}

using ExportFn = int (*)(SessionState&, const std::string&, bool, UserInteraction&, BusyIndicator*,
                         const ProgressFn&);

void ExportRatio(benchmark::State& state, const char* what, const char* extension,
                 ExportFn exportFn, void (*flat)(const ExportFixture&, const std::string&)) {
    ExportFixture& f = ExportFiles(static_cast<int>(state.range(0)));
    QuietInteraction ui;
    const std::string ours = f.files.dir.File(std::string("OUT.") + extension),
                      theirs = f.files.dir.File(std::string("FLAT.") + extension);
    exportFn(f.table, ours, false, ui, nullptr, {});
    flat(f, theirs);
    if (ReadWholeFile(ours) != ReadWholeFile(theirs)) {
        state.SkipWithError("the flat writer's bytes differ");
        return;
    }
    bench::Interleave(
        state, what, bench::Memory::Warm, [&] { exportFn(f.table, ours, false, ui, nullptr, {}); },
        [&] { flat(f, theirs); });
    state.counters["records/s"] = benchmark::Counter(
        double(f.Rows()) * 1e3 / state.counters["program_ms"], benchmark::Counter::kDefaults);
}

void BM_DexExportRatio(benchmark::State& state) {
    ExportRatio(state, "dex_export", "dex", ExportDex, FlatExportDex);
}

void BM_CsvExportRatio(benchmark::State& state) {
    ExportRatio(state, "csv_export", "csv", ExportCsv, FlatExportCsv);
}

BENCHMARK(BM_DexExportRatio)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExportRatio)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DexImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond);

} // namespace
