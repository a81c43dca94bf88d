// Cold start of the desktop program: from launching a fresh process to the main window's first
// paint with the virtual keyboard, the resident memory at that moment (all of it, and its anonymous
// part, which does not depend on the page cache), and the processor time the process had used by
// then (steadier than the elapsed time on a busy machine). Each iteration starts
// zelk_startup_probe, the program's own start-up with a main window that reports its first paint.
#include "ChildProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

long long MonotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string ProbePath;

void BM_ColdStartToFirstPaint(benchmark::State& state) {
    double residentMegabytes = 0;
    double anonymousMegabytes = 0;
    double cpuMilliseconds = 0;
    for (auto _ : state) {
        const long long started = MonotonicNanoseconds();
        std::string reply;
        const bool ran = RunForOutput(ProbePath, {"--virtual-keyboard"}, reply);
        long long painted = 0;
        long resident = 0;
        long long cpu = 0;
        long anonymous = 0;
        if (!ran ||
            std::sscanf(reply.c_str(), "%lld %ld %lld %ld", &painted, &resident, &cpu, &anonymous) != 4) {
            state.SkipWithError("the program did not start");
            return;
        }
        state.SetIterationTime(static_cast<double>(painted - started) / 1e9);
        residentMegabytes = static_cast<double>(resident) / 1024.0;
        anonymousMegabytes = static_cast<double>(anonymous) / 1024.0;
        cpuMilliseconds += static_cast<double>(cpu) / 1000.0;
    }
    state.counters["rss_MB"] = residentMegabytes;
    state.counters["anon_MB"] = anonymousMegabytes;
    state.counters["cpu_ms"] =
        cpuMilliseconds / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
}
BENCHMARK(BM_ColdStartToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    const std::string program = RunningProgramPath(argv[0]);
    ProbePath = program.substr(0, program.find_last_of('/') + 1) + "zelk_startup_probe";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
