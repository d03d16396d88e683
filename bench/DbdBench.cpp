// DBD load and save of a 100,000-record airport table, against a baseline
// that only decodes the same records' fields into one flat preallocated
// buffer: the ratio shows what the record table costs.
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
#include <string>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kRecords = 100000;

using Files = AirportLikeFiles;

Files& Data() {
    static Files files(kRecords);
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
            std::memcpy(bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize + 93,
                        &latitude, sizeof latitude);
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

// The flat decoder: one record's fields as texts straight into out, each
// followed by `after` (no table, no intermediate strings).
// D fields go through the standard library's formatting, or with ownFixed4
// through the program's own (the same bytes).
char* FlatDecode(const unsigned char* rec, const std::vector<FieldDef>& fields, char* out,
                 char after, bool ownFixed4 = false) {
    for (const auto& fd : fields) {
        const unsigned char* p = rec + fd.Offset;
        if (fd.Type == 'C' && fd.Width == 1) {
            out = std::to_chars(out, out + 4, unsigned(p[0])).ptr;
        } else if (fd.Type == 'C') {
            int k = 0;
            while (k < fd.Width && p[k])
                *out++ = char(p[k++]);
        } else if (fd.Type == 'D') {
            out = ownFixed4
                      ? WriteFixed4(out, GetF64(p))
                      : std::to_chars(out, out + 400, GetF64(p), std::chars_format::fixed, 4).ptr;
        } else if (fd.Type == 'I') {
            out = std::to_chars(out, out + 11, GetU32(p)).ptr;
        }
        *out++ = after;
    }
    return out;
}

// The same field decoding into one flat buffer of texts, with no table;
// Arg 1: with the program's own four-decimal formatting, to see what the
// table itself costs.
void BM_DecodeBaseline(benchmark::State& state) {
    const bool ownFixed4 = state.range(0) == 1;
    Files& f = Data();
    const auto fields = ParseTemplate(TemplateText(AirportLikeFields())).Fields;
    std::vector<char> flat(std::size_t(kRecords) * 800);
    for (auto _ : state) {
        const unsigned char* base = reinterpret_cast<const unsigned char*>(f.bytes.data()) + 56;
        char* out = flat.data();
        for (int n = 0; n < kRecords; ++n)
            out = FlatDecode(base + std::size_t(n) * kAirportLikeRecordSize, fields, out, '\0',
                             ownFixed4);
        benchmark::DoNotOptimize(out);
    }
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

// 'orvane-cli show': the load, then the table as text, written to /dev/null.
struct NullOut {
    std::FILE* file = std::fopen("/dev/null", "wb");
    ~NullOut() { std::fclose(file); }
    void operator()(std::string_view block) const {
        std::fwrite(block.data(), 1, block.size(), file);
    }
};

std::string ShowText(const SessionState& s) {
    std::string all;
    WriteTableText(s.Table, [&](std::string_view block) { all += block; });
    return all;
}

void BM_Show(benchmark::State& state) {
    Files& f = Data();
    NullOut out;
    for (auto _ : state) {
        SessionState s;
        Load(s, f);
        WriteTableText(s.Table, std::ref(out));
    }
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

// The flat program printing the same text: it reads the file and decodes
// each record straight into the output block.
std::string FlatShowBlock(const Files& f, const std::vector<FieldDef>& fields, const NullOut* out) {
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
    for (const auto& fd : fields) {
        std::string t = Cp1252ToUtf8(fd.Title);
        std::memcpy(p, t.data(), t.size());
        p += t.size();
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
        p = FlatDecode(rec, fields, p, '\t');
        p[-1] = '\n';
        if (p - block.data() > (1 << 16)) flush();
    }
    flush();
    return all;
}

void BM_ShowBaseline(benchmark::State& state) {
    Files& f = Data();
    const auto fields = ParseTemplate(TemplateText(AirportLikeFields())).Fields;
    {
        // Both print the same text, or the comparison means nothing.
        SessionState s;
        Load(s, f);
        if (FlatShowBlock(f, fields, nullptr) != ShowText(s))
            state.SkipWithError("the flat text differs from show's");
    }
    NullOut out;
    for (auto _ : state)
        FlatShowBlock(f, fields, &out);
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

// 'orvane-cli convert X.dbd Y.dex': the load, then the DEX export.
void BM_ConvertDex(benchmark::State& state) {
    Files& f = Data();
    const std::string out = f.dir.File("OUT.dex");
    for (auto _ : state) {
        SessionState s;
        s.SimulatorVersion = 1;
        Load(s, f);
        ScriptedInteraction ui;
        ExportDex(s, out, false, ui);
    }
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

// The flat writer: each record decoded into texts and parsed back into a
// record of bytes, written through one buffer, with the same header.
void FlatConvertDex(const Files& f, const std::vector<FieldDef>& fields, const std::string& path,
                    const std::string& header) {
    const std::vector<unsigned char> bytes = ReadWholeFile(f.dbd);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::vector<char> buffer(1 << 16);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    std::fwrite(header.data(), 1, header.size(), file);
    char texts[2048];
    unsigned char rec[kAirportLikeRecordSize];
    for (int n = 0; n < kRecords; ++n) {
        const unsigned char* in = bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize;
        FlatDecode(in, fields, texts, '\0');
        std::memset(rec, 0, sizeof rec);
        rec[0] = GetU16(in) == 42 ? 42 : 0;
        rec[2] = static_cast<unsigned char>(GetU16(in + 2));
        const char* t = texts;
        for (const auto& fd : fields) {
            const std::size_t len = std::strlen(t);
            unsigned char* p = rec + fd.Offset;
            if (fd.Type == 'C' && fd.Width == 1) {
                unsigned v = 0;
                std::from_chars(t, t + len, v);
                p[0] = static_cast<unsigned char>(v);
            } else if (fd.Type == 'C') {
                std::memcpy(p, t, len);
            } else if (fd.Type == 'D') {
                double d = 0;
                std::from_chars(t, t + len, d);
                PutF64(p, d);
            } else if (fd.Type == 'I') {
                std::uint32_t v = 0;
                std::from_chars(t, t + len, v);
                PutU32(p, v);
            }
            t += len + 1;
        }
        std::fwrite(rec, 1, sizeof rec, file);
    }
    std::fclose(file);
}

void BM_ConvertDexBaseline(benchmark::State& state) {
    Files& f = Data();
    const auto fields = ParseTemplate(TemplateText(AirportLikeFields())).Fields;
    const std::string ours = f.dir.File("OURS.dex"), flat = f.dir.File("FLAT.dex");
    {
        SessionState s;
        s.SimulatorVersion = 1;
        Load(s, f);
        ScriptedInteraction ui;
        ExportDex(s, ours, false, ui);
        const std::vector<unsigned char> written = ReadWholeFile(ours);
        FlatConvertDex(f, fields, flat,
                       std::string(written.begin(), written.begin() + DexHeader::kSize));
        if (ReadWholeFile(flat) != written) state.SkipWithError("the flat DEX differs");
    }
    const std::vector<unsigned char> written = ReadWholeFile(ours);
    const std::string header(written.begin(), written.begin() + DexHeader::kSize);
    for (auto _ : state)
        FlatConvertDex(f, fields, flat, header);
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

// 'orvane-cli convert X.dbd Y.csv': the load, then the CSV export.
void BM_ConvertCsv(benchmark::State& state) {
    Files& f = Data();
    const std::string out = f.dir.File("OUT.csv");
    for (auto _ : state) {
        SessionState s;
        Load(s, f);
        ScriptedInteraction ui;
        ExportCsv(s, out, false, ui);
    }
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

// The flat CSV writer: each record decoded straight into the output block
// ("x" or nothing, the export mark, the fields, ';' between them), after
// the same two heading lines.
void FlatConvertCsv(const Files& f, const std::vector<FieldDef>& fields, const std::string& path,
                    const std::string& heading) {
    const std::vector<unsigned char> bytes = ReadWholeFile(f.dbd);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::vector<char> block(1 << 17);
    char* p = block.data();
    std::memcpy(p, heading.data(), heading.size());
    p += heading.size();
    for (int n = 0; n < kRecords; ++n) {
        const unsigned char* rec = bytes.data() + 56 + std::size_t(n) * kAirportLikeRecordSize;
        if (GetU16(rec) == 42) *p++ = 'x';
        *p++ = ';';
        p = std::to_chars(p, p + 6, GetU16(rec + 2)).ptr;
        *p++ = ';';
        p = FlatDecode(rec, fields, p, ';');
        p[-1] = '\r';
        *p++ = '\n';
        if (p - block.data() > (1 << 16)) {
            std::fwrite(block.data(), 1, std::size_t(p - block.data()), file);
            p = block.data();
        }
    }
    std::fwrite(block.data(), 1, std::size_t(p - block.data()), file);
    std::fclose(file);
}

void BM_ConvertCsvBaseline(benchmark::State& state) {
    Files& f = Data();
    const auto fields = ParseTemplate(TemplateText(AirportLikeFields())).Fields;
    const std::string ours = f.dir.File("OURS.csv"), flat = f.dir.File("FLAT.csv");
    std::string heading;
    {
        SessionState s;
        Load(s, f);
        ScriptedInteraction ui;
        ExportCsv(s, ours, false, ui);
        const std::vector<unsigned char> written = ReadWholeFile(ours);
        const std::string text(written.begin(), written.end());
        heading = text.substr(0, text.find('\n', text.find('\n') + 1) + 1);
        FlatConvertCsv(f, fields, flat, heading);
        if (ReadWholeFile(flat) != written) state.SkipWithError("the flat CSV differs");
    }
    for (auto _ : state)
        FlatConvertCsv(f, fields, flat, heading);
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_DecodeBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Show)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertDexBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertDex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertCsvBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbdLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareAgainstLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbdSave)->Unit(benchmark::kMillisecond);
