// DBD load, show, conversions and save of a 100,000-record airport table
// (every second record with accented texts), each against the flat code
// that does the same work with no table (FlatCodec.h): the ratios show what
// the record table costs.
#include "FlatCodec.h"
#include "Interleaved.h"
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "platform/Cp1252.h"
#include "platform/DecimalText.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "table/TableDiff.h"
#include "table/TableText.h"
#include "table/ValueDisplay.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;
using namespace orvane::bench;

namespace {

constexpr int kRecords = 100000;

using Files = AirportLikeFiles;

Files& Data() {
    static Files files(kRecords, true);
    static const bool synced = (::sync(), true); // on the disk now, not in the middle of the runs
    (void)synced;
    return files;
}

// The same table with every hundredth airport moved (its latitude, bytes
// 93-100, changed): 1% of the records differ.
const std::string& ChangedDbd() {
    static const std::string path = [] {
        Files& f = Data();
        std::string bytes = f.bytes;
        for (int n = 0; n < kRecords; n += 100) {
            const double latitude = 12345.5 + n;
            std::memcpy(bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize + 93, &latitude,
                        sizeof latitude);
        }
        return f.dir.Write("CHANGED.dbd", bytes);
    }();
    return path;
}

long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// The table loaded into s as 'orvane-cli' loads it (English messages).
void Load(SessionState& s, const Files& f) {
    s.Language = "english";
    ScriptedInteraction ui;
    OpenDbdFromDisk(s, f.dbd, f.dbt, ui);
}

void BM_DbdLoad(benchmark::State& state) {
    Files& f = Data();
    std::size_t tableBytes = 0;
    for (auto _ : state) {
        SessionState s;
        Load(s, f);
        state.PauseTiming(); // the counter below walks every row
        tableBytes = s.Table.MemoryUsage();
        state.ResumeTiming();
        benchmark::DoNotOptimize(s.Table.RowCount());
    }
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["table_MiB"] = double(tableBytes) / (1 << 20);
    state.counters["peak_RSS_MiB"] = double(PeakResidentKiB()) / 1024;
}

// Two loaded tables of 100,000 airports, 1% changed, compared by key and
// value, against the load of the same table; the ratio is compare / load.
void BM_CompareAgainstLoad(benchmark::State& state) {
    Files& f = Data();
    SessionState a, b;
    double loadSeconds = 1e9; // the fastest of three loads
    for (int i = 0; i < 3; ++i) {
        SessionState loaded;
        const auto started = std::chrono::steady_clock::now();
        Load(loaded, f);
        loadSeconds = std::min(
            loadSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        if (i == 2) a = std::move(loaded);
    }
    b.Language = "english";
    ScriptedInteraction ui;
    OpenDbdFromDisk(b, ChangedDbd(), f.dbt, ui);
    const CompareRule rule = a.CompareRuleFor(DefaultKeyColumn(a.Table));
    std::size_t changed = 0;
    double compareSeconds = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const TableDifference d = CompareTables(a.Table, b.Table, rule);
        compareSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        changed = d.changed.size();
        benchmark::DoNotOptimize(changed);
    }
    if (changed != kRecords / 100) state.SkipWithError("not 1% of the rows found changed");
    state.counters["changed"] = double(changed);
    state.counters["load_ms"] = loadSeconds * 1e3;
    state.counters["compare_x_load"] = compareSeconds / double(state.iterations()) / loadSeconds;
}

void BM_DbdSave(benchmark::State& state) {
    Files& f = Data();
    SessionState s;
    Load(s, f);
    const std::string out = f.dir.File("saved.dbd");
    ScriptedInteraction ui;
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveDbd(s, out, false, ui));
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["peak_RSS_MiB"] = double(PeakResidentKiB()) / 1024;
}

// The table's own memory of a run, freed untimed.
struct Held {
    std::optional<SessionState> session;
    std::vector<unsigned char> bytes;
    std::unique_ptr<char[]> flat;
    // The table loaded as 'orvane-cli' loads it (Fly! data).
    SessionState& LoadTable(const Files& f) {
        session.emplace();
        session->SimulatorVersion = 1;
        Load(*session, f);
        return *session;
    }
    void Release() {
        session.reset();
        bytes = {};
        flat.reset();
    }
};

const std::vector<FieldDef>& Fields() {
    static const auto fields = ParseTemplate(TemplateText(AirportLikeFields())).Fields;
    return fields;
}

// The records of the file decoded into one flat buffer of texts, with no
// table: the load's baseline.
void FlatLoad(const Files& f, Held& held) {
    held.bytes = ReadWholeFile(f.dbd);
    // Room for the longest texts a record of this template can give.
    held.flat.reset(new char[std::size_t(kRecords) * 1024]);
    char* out = held.flat.get();
    for (int n = 0; n < kRecords; ++n) {
        const unsigned char* rec = held.bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize;
        out = std::to_chars(out, out + 12, n + 1).ptr;
        *out++ = '\0';
        *out++ = '\0';
        if (GetU16(rec) == 42) *out++ = 'x';
        *out++ = '\0';
        out = std::to_chars(out, out + 6, GetU16(rec + 2)).ptr;
        *out++ = '\0';
        out = FlatDecode(rec, Fields(), out, '\0');
    }
    benchmark::DoNotOptimize(out);
}

// Arg: 1 for fresh memory (see Interleaved.h).
void BM_LoadRatio(benchmark::State& state) {
    Files& f = Data();
    Held held;
    Interleave(
        state, "load", MemoryOf(state, 0), [&] { held.LoadTable(f); }, [&] { FlatLoad(f, held); },
        [&] { held.Release(); });
}

// 'orvane-cli show': the load, then the table as text, written to /dev/null.
struct NullOut {
    std::FILE* file = std::fopen("/dev/null", "wb");
    ~NullOut() { std::fclose(file); }
    void operator()(std::string_view block) const {
        std::fwrite(block.data(), 1, block.size(), file);
    }
};

// The flat program printing the same text: it reads the file and decodes
// each record straight into the output block, its texts in UTF-8.
std::string FlatShow(const Files& f, const NullOut* out) {
    std::string all;
    std::vector<char> block(1 << 17);
    char* p = block.data();
    auto flush = [&] {
        if (out)
            std::fwrite(block.data(), 1, std::size_t(p - block.data()), out->file);
        else
            all.append(block.data(), p);
        p = block.data();
    };
    const std::vector<unsigned char> bytes = ReadWholeFile(f.dbd);
    const char* headings[] = {"n\xC2\xB0", "Modif", "Suppr", "Export"};
    for (const char* h : headings)
        p += std::snprintf(p, 16, "%s\t", h);
    for (const auto& fd : Fields()) {
        p = Cp1252ToUtf8Into(p, fd.Title);
        *p++ = '\t';
    }
    p[-1] = '\n';
    for (int n = 0; n < kRecords; ++n) {
        const unsigned char* rec = bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize;
        p = std::to_chars(p, p + 12, n + 1).ptr;
        *p++ = '\t';
        *p++ = '\t';
        if (GetU16(rec) == 42) *p++ = 'x';
        *p++ = '\t';
        p = std::to_chars(p, p + 6, GetU16(rec + 2)).ptr;
        *p++ = '\t';
        p = FlatDecode(rec, Fields(), p, '\t', true);
        p[-1] = '\n';
        if (p - block.data() > (1 << 16)) flush();
    }
    flush();
    return all;
}

void BM_ShowRatio(benchmark::State& state) {
    Files& f = Data();
    {
        // Both print the same text, or the comparison means nothing.
        SessionState s;
        Load(s, f);
        std::string shown;
        WriteTableText(s.Table, [&](std::string_view block) { shown += block; });
        if (FlatShow(f, nullptr) != shown) state.SkipWithError("the flat text differs from show's");
    }
    NullOut out;
    Held held;
    Interleave(
        state, "show", MemoryOf(state, 0),
        [&] { WriteTableText(held.LoadTable(f).Table, std::ref(out)); }, [&] { FlatShow(f, &out); },
        [&] { held.Release(); });
}

// The flat DEX writer: each record decoded into texts and read back into a
// record of bytes, after the same header.
void FlatConvertDex(const Files& f, const std::string& path, std::string_view header) {
    const std::vector<unsigned char> bytes = ReadWholeFile(f.dbd);
    FlatFile file(path);
    file.Append(header);
    char texts[4096];
    std::uint32_t ends[256];
    for (int n = 0; n < kRecords; ++n) {
        const unsigned char* in = bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize;
        char* p = texts;
        const auto close = [&](std::size_t c) { ends[c] = std::uint32_t(p - texts); };
        close(0); // the row number and Modif are not written
        close(1);
        if (GetU16(in) == 42) *p++ = 'x';
        close(2);
        p = std::to_chars(p, p + 6, GetU16(in + 2)).ptr;
        close(3);
        FlatDecodeFields(in, Fields(), p, false,
                         [&, c = std::size_t(kFirstFieldColumn)](char*& q) mutable {
                             ends[c++] = std::uint32_t(q - texts);
                         });
        unsigned char* rec = reinterpret_cast<unsigned char*>(file.At());
        FlatEncode(texts, ends, Fields(), rec, kAirportLikeRecordSize);
        file.Advance(file.At() + kAirportLikeRecordSize);
    }
    file.Commit();
}

// 'orvane-cli convert X.dbd Y.dex': the load, then the DEX export.
void BM_ConvertDexRatio(benchmark::State& state) {
    Files& f = Data();
    const std::string ours = f.dir.File("OURS.dex"), flat = f.dir.File("FLAT.dex");
    const auto convert = [&](Held& held) {
        ScriptedInteraction ui;
        ExportDex(held.LoadTable(f), ours, false, ui);
    };
    Held held;
    convert(held);
    held.Release();
    const std::vector<unsigned char> written = ReadWholeFile(ours);
    const std::string header(written.begin(), written.begin() + DexHeader::kSize);
    FlatConvertDex(f, flat, header);
    if (ReadWholeFile(flat) != written) state.SkipWithError("the flat DEX differs");
    Interleave(
        state, "convert_dex", MemoryOf(state, 0), [&] { convert(held); },
        [&] { FlatConvertDex(f, flat, header); }, [&] { held.Release(); });
}

// The flat CSV writer: each record decoded straight into the output block
// ("x" or nothing, the export mark, the fields, ';' between them), after
// the same two heading lines.
void FlatConvertCsv(const Files& f, const std::string& path, std::string_view heading) {
    const std::vector<unsigned char> bytes = ReadWholeFile(f.dbd);
    FlatFile file(path);
    file.Append(heading);
    for (int n = 0; n < kRecords; ++n) {
        const unsigned char* rec = bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize;
        char* p = file.At();
        if (GetU16(rec) == 42) *p++ = 'x';
        *p++ = ';';
        p = std::to_chars(p, p + 6, GetU16(rec + 2)).ptr;
        *p++ = ';';
        p = FlatDecode(rec, Fields(), p, ';');
        p[-1] = '\r';
        *p++ = '\n';
        file.Advance(p);
    }
    file.Commit();
}

// 'orvane-cli convert X.dbd Y.csv': the load, then the CSV export.
void BM_ConvertCsvRatio(benchmark::State& state) {
    Files& f = Data();
    const std::string ours = f.dir.File("OURS.csv"), flat = f.dir.File("FLAT.csv");
    const auto convert = [&](Held& held) {
        ScriptedInteraction ui;
        ExportCsv(held.LoadTable(f), ours, false, ui);
    };
    Held held;
    convert(held);
    held.Release();
    const std::vector<unsigned char> written = ReadWholeFile(ours);
    const std::string text(written.begin(), written.end());
    const std::string heading = text.substr(0, text.find('\n', text.find('\n') + 1) + 1);
    FlatConvertCsv(f, flat, heading);
    if (ReadWholeFile(flat) != written) state.SkipWithError("the flat CSV differs");
    Interleave(
        state, "convert_csv", MemoryOf(state, 0), [&] { convert(held); },
        [&] { FlatConvertCsv(f, flat, heading); }, [&] { held.Release(); });
}

} // namespace

// Interleaved pairs, in warm and in fresh memory; several runs each.
BENCHMARK(BM_LoadRatio)->Arg(0)->Arg(1)->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowRatio)->Arg(0)->Arg(1)->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertDexRatio)->Arg(0)->Arg(1)->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertCsvRatio)->Arg(0)->Arg(1)->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbdLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareAgainstLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbdSave)->Unit(benchmark::kMillisecond);
