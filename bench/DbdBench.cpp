// DBD load and save of a 100,000-record airport table, against a baseline
// that only decodes the same records' fields into one flat preallocated
// buffer: the ratio shows what the record table costs.
#include "database/DbdFile.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "table/ValueDisplay.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <fstream>
#include <string>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kRecords = 100000;

struct Files {
    TempDir dir;
    std::string dbt, dbd, bytes;
    Files() {
        std::vector<std::string> records;
        records.reserve(kRecords);
        for (int n = 0; n < kRecords; ++n)
            records.push_back(AirportLikeRecord(n));
        bytes = DbdBytes("aprt", kAirportLikeRecordSize, records, 1000000000);
        dbt = dir.Write("AIRPORT.DBT", TemplateText(AirportLikeFields()));
        dbd = dir.Write("AIRPORT.dbd", bytes);
    }
};

Files& Data() {
    static Files files;
    return files;
}

long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

void BM_DbdLoad(benchmark::State& state) {
    Files& f = Data();
    std::size_t tableBytes = 0;
    for (auto _ : state) {
        SessionState s;
        s.Language = "english";
        ScriptedInteraction ui;
        OpenDbdFromDisk(s, f.dbd, f.dbt, ui);
        tableBytes = s.Table.MemoryUsage();
        benchmark::DoNotOptimize(s.Table.RowCount());
    }
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["table_MiB"] = double(tableBytes) / (1 << 20);
    state.counters["peak_RSS_MiB"] = double(PeakResidentKiB()) / 1024;
}

void BM_DbdSave(benchmark::State& state) {
    Files& f = Data();
    SessionState s;
    s.Language = "english";
    ScriptedInteraction ui;
    OpenDbdFromDisk(s, f.dbd, f.dbt, ui);
    const std::string out = f.dir.File("saved.dbd");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveDbd(s, out, false));
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["peak_RSS_MiB"] = double(PeakResidentKiB()) / 1024;
}

// The same field decoding into one flat buffer of texts, with no table.
void BM_DecodeBaseline(benchmark::State& state) {
    Files& f = Data();
    const auto fields = ParseTemplate(TemplateText(AirportLikeFields())).Fields;
    std::vector<char> flat(std::size_t(kRecords) * 800);
    for (auto _ : state) {
        const unsigned char* base = reinterpret_cast<const unsigned char*>(f.bytes.data()) + 56;
        char* out = flat.data();
        for (int n = 0; n < kRecords; ++n) {
            const unsigned char* rec = base + std::size_t(n) * kAirportLikeRecordSize;
            for (const auto& fd : fields) {
                const unsigned char* p = rec + fd.Offset;
                if (fd.Type == 'C' && fd.Width == 1) {
                    out = std::to_chars(out, out + 4, unsigned(p[0])).ptr;
                } else if (fd.Type == 'C') {
                    int k = 0;
                    while (k < fd.Width && p[k])
                        *out++ = char(p[k++]);
                } else if (fd.Type == 'D') {
                    std::string t = FormatFixed(GetF64(p), 4, '.');
                    std::memcpy(out, t.data(), t.size());
                    out += t.size();
                } else if (fd.Type == 'I') {
                    out = std::to_chars(out, out + 11, GetU32(p)).ptr;
                }
                *out++ = '\0';
            }
        }
        benchmark::DoNotOptimize(out);
    }
    state.counters["records/s"] =
        benchmark::Counter(double(kRecords) * state.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_DecodeBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbdLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DbdSave)->Unit(benchmark::kMillisecond);
