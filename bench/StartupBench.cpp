// Start-up on the benchmark calendar: loading "Layers.cds", "Events.cds" and "Tasks.cds" into
// the three stores (their constructors, as the program builds them), and the resident memory
// of a fresh process that has done only that.
#include "BenchCalendar.h"
#include "BenchReport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include <unistd.h>

namespace
{

void startup_load_stores(benchmark::State &state)
{
    const QString dir = BenchCalendar::dataDir();
    int rows = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        auto stores = std::make_unique<BenchCalendar::Stores>(dir);
        const auto end = std::chrono::steady_clock::now();
        rows = stores->layers->count() + stores->events->eventCount() +
               stores->events->clipboardCount() + stores->tasks->count();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
        stores.reset(); // saving on the way out is not start-up
    }
    if (rows != 12 + 100300 + 1000) state.SkipWithError("the stores did not load every row");
    state.counters["rows"] = rows;
    state.counters["target_ms"] = 300;
}
BENCHMARK(startup_load_stores)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Runs this program with --rss-after-load in a child process and reads its answer.
void startup_memory_after_load(benchmark::State &state)
{
    const std::string cmd = "/proc/" + std::to_string(getpid()) + "/exe --rss-after-load '" +
                            BenchCalendar::dataDir().toStdString() + "'";
    long long bytes = 0;
    for (auto _ : state) {
        std::FILE *p = popen(cmd.c_str(), "r");
        if (!p || std::fscanf(p, "%lld", &bytes) != 1) bytes = 0;
        if (p && pclose(p) != 0) bytes = 0;
    }
    if (bytes <= 0) return state.SkipWithError("the child process failed");
    state.counters["rss_mb"] = double(bytes) / (1024.0 * 1024.0);
    BenchReport::memory("startup_rss_after_load", double(bytes) / (1024.0 * 1024.0), 150);
}
BENCHMARK(startup_memory_after_load)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

} // namespace
