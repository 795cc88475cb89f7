// The logger's cost per line: a written line (formatting, lock, debug output going nowhere) and
// a suppressed one, which must cost only the threshold test.
#include <benchmark/benchmark.h>

#include "app/log/ppc_log.h"

namespace {

void BM_LogLineWritten(benchmark::State& state) {
    CPPCLog* log = CPPCLog::getInstance();
    log->SetLevel(0);
    int i = 0;
    for (auto _ : state) {
        log->TRACE(u"CBrowser::SetPageInfo==>first=[%d], last=[%d]", i, i + 12);
        ++i;
    }
    ReleaseCPPCLog();
}
BENCHMARK(BM_LogLineWritten);

void BM_LogLineSuppressed(benchmark::State& state) {
    CPPCLog* log = CPPCLog::getInstance();
    log->SetLevel(1);
    int i = 0;
    for (auto _ : state) {
        log->DEBUG(u"CBrowser::SetPageInfo==>first=[%d], last=[%d]", i, i + 12);
        ++i;
    }
    ReleaseCPPCLog();
}
BENCHMARK(BM_LogLineSuppressed);

}  // namespace

BENCHMARK_MAIN();
