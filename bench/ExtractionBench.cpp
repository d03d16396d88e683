// Extraction of a whole archive, with its folders, against `cp -r` of the
// same files followed by one `sync` (run by the shell as a child process):
// both end with every byte and every name on the disk. The two run
// interleaved, in turns, each into a destination emptied (and synced) before
// it; extract_ratio is the ratio of their median times in the same run.
//
//   BM_ExtractRatio/2000/157286   2,000 entries, 300 MB
//   BM_ExtractRatio/5000/2048     5,000 small entries
#include "Interleaved.h"
#include "database/ArchiveWriter.h"
#include "database/Extraction.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvane;
namespace fs = std::filesystem;

constexpr int kFolders = 20;

// The archive and the same files as a tree (DATA/Gnn/Fnnnnn.BIN), the copy's
// source; both written by this program and synced before the first run.
struct Fixture {
    testing::TempDir dir;
    std::string archive = dir.File("BIG.POD");
    std::string tree = dir.File("tree");
    Fixture(int count, std::size_t size) {
        std::vector<ArchiveSourceEntry> entries;
        for (int n = 0; n < count; ++n) {
            std::string bytes(size, char('a' + n % 26));
            for (std::size_t k = 0; k < bytes.size(); k += 512)
                bytes[k] = char(n + k / 512);
            const std::string folder = "G" + std::to_string(n % kFolders);
            const std::string file = "F" + std::to_string(n) + ".BIN";
            fs::create_directories(tree + "/DATA/" + folder);
            std::ofstream(tree + "/DATA/" + folder + "/" + file, std::ios::binary)
                .write(bytes.data(), std::streamsize(bytes.size()));
            entries.push_back({"DATA\\" + folder + "\\" + file, std::move(bytes), 0});
        }
        WriteArchive(archive, ArchiveLayout::Pod3, entries);
        ::sync();
    }
};

Fixture& Files(int count, std::size_t size) {
    static std::map<std::pair<int, std::size_t>, std::unique_ptr<Fixture>> made;
    auto& f = made[{count, size}];
    if (!f) f = std::make_unique<Fixture>(count, size);
    return *f;
}

void Empty(const std::string& folder) {
    fs::remove_all(folder);
    ::sync();
}

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

void BM_ExtractRatio(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::size_t size = static_cast<std::size_t>(state.range(1));
    Fixture& f = Files(count, size);
    ArchiveFile pod(f.archive);
    pod.ReadHeader();
    pod.ReadDirectory();
    std::vector<int> all;
    for (int i = 0; i < pod.EntryCount(); ++i)
        all.push_back(i);
    const std::string extracted = f.dir.File("extracted");
    const std::string copied = f.dir.File("copied");
    const std::string copy = "cp -r '" + f.tree + "' '" + copied + "' && sync";

    std::vector<double> extractTimes, copyTimes;
    bool extractFirst = true;
    for (auto _ : state) {
        double extractTime = 0;
        auto extract = [&] {
            Empty(extracted);
            const auto start = std::chrono::steady_clock::now();
            if (ExtractEntries(pod, all, extracted, true) != count)
                throw std::runtime_error("extraction wrote another number of files");
            extractTime = Seconds(start);
            extractTimes.push_back(extractTime);
        };
        auto copyAndSync = [&] {
            Empty(copied);
            const auto start = std::chrono::steady_clock::now();
            if (std::system(copy.c_str()) != 0) throw std::runtime_error("cp -r failed");
            copyTimes.push_back(Seconds(start));
        };
        if (extractFirst) {
            extract();
            copyAndSync();
        } else {
            copyAndSync();
            extract();
        }
        extractFirst = !extractFirst;
        state.SetIterationTime(extractTime);
    }
    const double extractMedian = bench::Median(extractTimes), copyMedian = bench::Median(copyTimes);
    state.counters["copy_sync_ms"] = 1000 * copyMedian;
    state.counters["extract_ratio"] = extractMedian / copyMedian;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * count * std::int64_t(size));
    Empty(extracted);
    Empty(copied);
}

} // namespace

BENCHMARK(BM_ExtractRatio)
    ->Args({2000, 300 * 1024 * 1024 / 2000})
    ->Args({5000, 2048})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8)
    ->UseManualTime();
