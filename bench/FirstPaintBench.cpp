// From process start to the first painted week view: the time the user waits after starting
// the program on the benchmark calendar. Each iteration copies the calendar's tables into a
// fresh data directory (start-up archives and backs up into it), then starts this benchmark
// program as a child in its --first-week-paint mode, which builds the program exactly as its
// entry does (DayloomApp, offscreen) and prints the steady-clock time at which the week view's
// time grid finished its first paint. The parent's clock reading just before the start is
// subtracted from it; both read the same CLOCK_MONOTONIC.
#include "BenchCalendar.h"
#include "FirstPaintChild.h"

#include "core/Settings.h"
#include "core/ViewState.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace
{

bool copyTables(const QString &from, const QString &to)
{
    for (const char *name : {"Layers.cds", "Events.cds", "Tasks.cds"}) {
        const QString n = QString::fromLatin1(name);
        if (QFile::exists(from + n) && !QFile::copy(from + n, to + n)) return false;
    }
    return true;
}

void startup_first_week_paint(benchmark::State &state)
{
    const std::string self = "/proc/" + std::to_string(getpid()) + "/exe";
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString data = dir.path() + QStringLiteral("/data/");
        const QString ini = dir.path() + QStringLiteral("/dayloom.ini");
        if (!dir.isValid() || !QDir().mkpath(data) || !copyTables(BenchCalendar::dataDir(), data))
            return state.SkipWithError("cannot copy the calendar");
        {
            SettingsPaths where{ini, data, dir.path() + QStringLiteral("/autostart.desktop"),
                                QString::fromStdString(self)};
            Settings settings(where);
            settings.setStartView(ViewWeek);
        }
        const std::string cmd =
            self + " --first-week-paint '" + data.toStdString() + "' '" + ini.toStdString() + "'";
        state.ResumeTiming();

        const auto begin = std::chrono::steady_clock::now();
        std::FILE *p = popen(cmd.c_str(), "r");
        long long paintedNs = 0;
        const bool read = p && std::fscanf(p, "%lld", &paintedNs) == 1;
        const bool ok = p && pclose(p) == 0 && read;
        if (!ok) return state.SkipWithError("the child did not paint the week view");
        const double seconds =
            double(paintedNs -
                   std::chrono::duration_cast<std::chrono::nanoseconds>(begin.time_since_epoch())
                       .count()) /
            1e9;
        state.SetIterationTime(seconds);
    }
    state.counters["target_ms"] = 250;
}
BENCHMARK(startup_first_week_paint)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
