// The UTF-16 formatter against the C library's wide printf on the same texts: a typical log line,
// a size with two decimals and a padded, truncated name. Run side by side; compare the pairs.
#include <benchmark/benchmark.h>

#include <cwchar>

#include "platform/core/wformat.h"

namespace {

void BM_FormatW_LogLine(benchmark::State& state) {
    WCHAR buffer[256];
    int i = 0;
    for (auto _ : state) {
        StringCchPrintfW(buffer, 256, u"CBrowser::SetPageInfo==>first=[%d], last=[%d]", i, i + 12);
        benchmark::DoNotOptimize(buffer);
        ++i;
    }
}
BENCHMARK(BM_FormatW_LogLine);

void BM_Swprintf_LogLine(benchmark::State& state) {
    wchar_t buffer[256];
    int i = 0;
    for (auto _ : state) {
        std::swprintf(buffer, 256, L"CBrowser::SetPageInfo==>first=[%d], last=[%d]", i, i + 12);
        benchmark::DoNotOptimize(buffer);
        ++i;
    }
}
BENCHMARK(BM_Swprintf_LogLine);

void BM_FormatW_Size(benchmark::State& state) {
    WCHAR buffer[64];
    double size = 1.0;
    for (auto _ : state) {
        StringCchPrintfW(buffer, 64, u"%.2f%s", size, u"MB");
        benchmark::DoNotOptimize(buffer);
        size += 0.37;
    }
}
BENCHMARK(BM_FormatW_Size);

void BM_Swprintf_Size(benchmark::State& state) {
    wchar_t buffer[64];
    double size = 1.0;
    for (auto _ : state) {
        std::swprintf(buffer, 64, L"%.2f%ls", size, L"MB");
        benchmark::DoNotOptimize(buffer);
        size += 0.37;
    }
}
BENCHMARK(BM_Swprintf_Size);

void BM_FormatW_Name(benchmark::State& state) {
    WCHAR buffer[128];
    for (auto _ : state) {
        StringCchPrintfW(buffer, 128, u"Delete '%.25s'? %-2s", u"A rather long picture name.jpg",
                         u"On");
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_FormatW_Name);

void BM_Swprintf_Name(benchmark::State& state) {
    wchar_t buffer[128];
    for (auto _ : state) {
        std::swprintf(buffer, 128, L"Delete '%.25ls'? %-2ls", L"A rather long picture name.jpg",
                      L"On");
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_Swprintf_Name);

}  // namespace

BENCHMARK_MAIN();
