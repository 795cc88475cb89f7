// Wall and thread CPU time of one operation, and the medians the tables report. Both clocks are
// kept: wall time is what a user waits, CPU time is steadier while other processes share the
// machine.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace imaging_bench {

struct Millis {
    double wall = 0;
    double cpu = 0;
};

class Stopwatch {
  public:
    Stopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(ThreadCpuMs()) {}

    Millis Elapsed() const {
        const std::chrono::duration<double, std::milli> wall =
            std::chrono::steady_clock::now() - wall_;
        return {wall.count(), ThreadCpuMs() - cpu_};
    }

  private:
    static double ThreadCpuMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }

    std::chrono::steady_clock::time_point wall_;
    double cpu_;
};

// Median of `values` (taken by value: it sorts); 0 for none.
inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

}  // namespace imaging_bench
