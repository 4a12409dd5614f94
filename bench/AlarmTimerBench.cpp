// The main timer on the benchmark calendar (private copy, main window offscreen):
//   alarm_tick_nothing_due  one tick when no alarm is due: both pending lists asked for their
//                           due alarms, the date compared, "lastcheck.dat" written;
//   alarm_change_of_day     one tick on a new date: archive, pending lists rebuilt, the views
//                           refreshed, daily copies and the save of the three tables.
// The clock is fixed. A first tick before the timing hands the calendar's overdue alarms on.
#include "BenchCalendar.h"

#include "mainwin/AlarmTimer.h"
#include "mainwin/MainWindow.h"

#include <benchmark/benchmark.h>

#include <QDateTime>

#include <memory>

namespace
{

struct TimerOnCalendar {
    TimerOnCalendar()
    {
        BenchCalendar::Stores &s = *copy.stores;
        s.clock.setFixed(QDateTime(QDate(2025, 3, 12), QTime(0, 0, 30)));
        s.events->fillPendingAlarms();
        s.tasks->rebuildAlarms();
        window = std::make_unique<MainWindow>(*copy.settings, *s.layers, *s.events, *s.tasks,
                                              s.time, s.clock);
        window->setMessageSink([](const QString &) {});
        timer = std::make_unique<AlarmTimer>(
            s.clock, *copy.settings, *s.events, *s.tasks, *window, QString(),
            [](const QString &, std::function<void(const QString &)>) {},
            [](const QString &, const QStringList &) { return true; });
        timer->tick();
    }
    BenchCalendar::PrivateCopy copy;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<AlarmTimer> timer;
};

void alarm_tick_nothing_due(benchmark::State &state)
{
    TimerOnCalendar t;
    const int pending = int(t.copy.stores->events->pendingAlarms().size());
    for (auto _ : state)
        t.timer->tick();
    state.counters["pending_event_alarms"] = pending;
    state.counters["target_ms"] = 0.2;
}
BENCHMARK(alarm_tick_nothing_due)->Unit(benchmark::kMillisecond);

void alarm_change_of_day(benchmark::State &state)
{
    TimerOnCalendar t;
    Clock &clock = t.copy.stores->clock;
    for (auto _ : state) {
        state.PauseTiming();
        clock.advanceSeconds(24 * 3600);
        state.ResumeTiming();
        t.timer->tick();
    }
    state.counters["target_ms"] = 500;
}
BENCHMARK(alarm_change_of_day)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
