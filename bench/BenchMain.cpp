// Runs every registered benchmark (5 repetitions unless the command line says otherwise) and,
// after each, prints one line
//   time <name> median_ms=<median real time in ms> target_ms=<counter "target_ms", or "none">
// A benchmark states its target with state.counters["target_ms"]. Ratio and memory lines and
// failures come from BenchReport. The exit status is 1 when a benchmark failed (an error, or a
// peer that disagreed with us).
//
// `dayloom_bench --rss-after-load <dataDir>` instead loads the stores from the data directory
// and prints the resident memory in bytes (the start-up memory benchmark runs it as a child, so
// nothing else of the benchmark process is counted).
//
// `dayloom_bench --first-week-paint <dataDir> <settingsFile>` instead starts the program on that
// data and prints when its week view was first painted (see FirstPaintChild.h).
//
// The benchmarks run inside a QApplication on the offscreen platform (the time-grid suite
// drives real widgets); no window ever appears.
#include "BenchCalendar.h"
#include "BenchReport.h"
#include "FirstPaintChild.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

class LineReporter : public benchmark::ConsoleReporter
{
public:
    // No colour codes, so every "time" line starts at the beginning of its line.
    LineReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (r.error_occurred) BenchReport::fail(r.benchmark_name() + ": " + r.error_message);
            if (r.run_type != Run::RT_Aggregate || r.aggregate_name != "median") continue;
            const double ms =
                r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e3;
            std::string name = r.run_name.function_name;
            const auto target = r.counters.find("target_ms");
            std::string targetText = "none";
            if (target != r.counters.end()) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%g", double(target->second.value));
                targetText = buf;
            }
            std::fprintf(stdout, "time %s median_ms=%.4f target_ms=%s\n", name.c_str(), ms,
                         targetText.c_str());
            std::fflush(stdout);
            BenchReport::noteMedian(name, ms);
        }
    }
};

// Resident set size of this process in bytes, 0 when unknown.
long long residentBytes()
{
    std::FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    long long size = 0, resident = 0;
    const int n = std::fscanf(f, "%lld %lld", &size, &resident);
    std::fclose(f);
    return n == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--rss-after-load") {
        BenchCalendar::Stores stores(QString::fromLocal8Bit(argv[2]));
        std::printf("%lld\n", residentBytes());
        return stores.events->eventCount() > 0 ? 0 : 1;
    }
    if (argc == 4 && std::string(argv[1]) == "--first-week-paint")
        return firstWeekPaintChild(argv[2], argv[3]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    std::vector<char *> args(argv, argv + argc);
    bool repetitionsGiven = false;
    for (int i = 1; i < argc; ++i)
        repetitionsGiven =
            repetitionsGiven || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    std::string reps = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    if (!repetitionsGiven) {
        args.push_back(reps.data());
        args.push_back(aggregates.data());
    }
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;
    LineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return BenchReport::failed() ? 1 : 0;
}
