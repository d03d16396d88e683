// Extraction of a 300 MB archive (30 entries of 10 MB) against a plain copy
// of the same bytes into one file, both through the page cache.
#include "database/ArchiveWriter.h"
#include "database/Extraction.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvane;

constexpr int kEntries = 30;
constexpr std::size_t kEntrySize = 10u << 20;

struct Fixture {
    testing::TempDir dir;
    std::string archive = dir.File("BIG.POD");
    std::string flat = dir.File("flat.bin"); // the same bytes in one file
    Fixture() {
        std::vector<ArchiveSourceEntry> entries;
        std::string all;
        for (int n = 0; n < kEntries; ++n) {
            std::string bytes(kEntrySize, char('a' + n % 26));
            for (std::size_t k = 0; k < bytes.size(); k += 4096)
                bytes[k] = char(n + k / 4096);
            all += bytes;
            entries.push_back({"DATA\\PART" + std::to_string(n) + ".BIN", std::move(bytes), 0});
        }
        WriteArchive(archive, ArchiveLayout::Pod3, entries);
        std::ofstream(flat, std::ios::binary).write(all.data(), std::streamsize(all.size()));
    }
};

Fixture& Files() {
    static Fixture f;
    return f;
}

void BM_Extract300MB(benchmark::State& state) {
    Fixture& f = Files();
    TPOD pod(f.archive);
    pod.ReadHeader();
    pod.ReadDirectory();
    std::vector<int> all;
    for (int i = 0; i < pod.EntryCount(); ++i)
        all.push_back(i);
    const std::string out = f.dir.File("out");
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtractEntries(pod, all, out, true));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kEntries * std::int64_t(kEntrySize));
}

// A plain copy: read and write in 64 KiB blocks, then flush to the disk as
// the extraction does for each file.
void BM_PlainCopy300MB(benchmark::State& state) {
    Fixture& f = Files();
    const std::string out = f.dir.File("copy.bin");
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        FILE* in = std::fopen(f.flat.c_str(), "rb");
        FILE* to = std::fopen(out.c_str(), "wb");
        std::size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0)
            std::fwrite(buffer.data(), 1, n, to);
        std::fflush(to);
        if (state.range(0)) fsync(fileno(to));
        std::fclose(to);
        std::fclose(in);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kEntries * std::int64_t(kEntrySize));
}

// std::filesystem's copy (the system's fastest copy: no user-space buffer).
void BM_FilesystemCopy300MB(benchmark::State& state) {
    Fixture& f = Files();
    const std::string out = f.dir.File("fscopy.bin");
    for (auto _ : state)
        std::filesystem::copy_file(f.flat, out, std::filesystem::copy_options::overwrite_existing);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kEntries * std::int64_t(kEntrySize));
}

} // namespace

BENCHMARK(BM_Extract300MB)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PlainCopy300MB)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(BM_FilesystemCopy300MB)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
