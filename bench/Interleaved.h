// The program and its baseline measured in turn within each iteration, so
// that a busy machine slows both alike; the ratio of their median times is
// printed as a counter named "<what>_ratio", and the ratio of their median
// CPU times, which a busy machine disturbs less, as "<what>_cpu_ratio"
// (tools/bench-ratios.sh gathers every such counter into the README's table).
#pragma once

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace orvane::bench {

// Whether each run starts from memory the system has not handed out yet
// (the first-touch page faults of a real run), or from the warm memory the
// last run freed.
enum class Memory { Warm, Fresh };

inline Memory MemoryOf(const benchmark::State& state, int arg) {
    return state.range(arg) ? Memory::Fresh : Memory::Warm;
}

inline const char* MemoryLabel(Memory m) {
    return m == Memory::Fresh ? "fresh memory" : "warm memory";
}

// The CPU time of the process (the benchmarks run one thread).
inline double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// release, untimed after each run, frees what the run kept (a table's
// release is not its load's).
template <class Program, class Baseline>
void Interleave(benchmark::State& state, const std::string& what, Memory memory, Program&& program,
                Baseline&& baseline, const std::function<void()>& release = {}) {
    struct Times {
        std::vector<double> wall, cpu;
    } ours, flat;
    const auto timed = [&](auto&& work, Times& times) {
        // Freed memory goes back to the system, so the next run faults its
        // pages in again as a fresh process would.
        if (memory == Memory::Fresh) malloc_trim(0);
        const double cpu = CpuSeconds();
        const auto begin = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.cpu.push_back(CpuSeconds() - cpu);
        times.wall.push_back(std::chrono::duration<double>(end - begin).count());
        if (release) release();
    };
    // One untimed run of each first: what making the fixture left behind
    // (its files, the memory it freed) is part of neither's time.
    const auto untimed = [&](auto&& work) {
        if (memory == Memory::Fresh) malloc_trim(0);
        work();
        if (release) release();
    };
    untimed(program);
    untimed(baseline);
    bool programFirst = true;
    for (auto _ : state) {
        // Alternating the order leaves neither side the other's warm caches.
        if (programFirst) {
            timed(program, ours);
            timed(baseline, flat);
        } else {
            timed(baseline, flat);
            timed(program, ours);
        }
        programFirst = !programFirst;
    }
    const double o = Median(ours.wall), b = Median(flat.wall);
    const double oc = Median(ours.cpu), bc = Median(flat.cpu);
    state.counters["program_ms"] = o * 1e3;
    state.counters["baseline_ms"] = b * 1e3;
    state.counters[what + "_ratio"] = b > 0 ? o / b : 0;
    state.counters[what + "_cpu_ratio"] = bc > 0 ? oc / bc : 0;
    state.SetLabel(MemoryLabel(memory));
}

} // namespace orvane::bench
