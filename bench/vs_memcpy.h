// "vs_memcpy": a drawing call's time over a plain memcpy of the bytes it writes, so figures
// compare across machines. Both are thread CPU time, so other processes do not inflate the ratio.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <vector>

namespace bench {

inline double CpuNanos() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// Nanoseconds of one memcpy of `bytes`, the best of a few batches.
inline double MemcpyNanos(std::size_t bytes) {
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    double best = 1e300;
    for (int batch = 0; batch < 5; ++batch) {
        const double start = CpuNanos();
        for (int i = 0; i < 50; ++i) {
            std::memcpy(to.data(), from.data(), bytes);
            benchmark::ClobberMemory();
        }
        best = std::min(best, (CpuNanos() - start) / 50);
    }
    return best;
}

// Runs `op` as the benchmark body and reports its time per call over memcpy's for `bytes`.
template <typename Op>
void RunAgainstMemcpy(benchmark::State& state, std::size_t bytes, Op op) {
    const double start = CpuNanos();
    for (auto _ : state) {
        op();
        benchmark::ClobberMemory();
    }
    const double perCall = (CpuNanos() - start) / static_cast<double>(state.iterations());
    state.counters["vs_memcpy"] = perCall / MemcpyNanos(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

}  // namespace bench
