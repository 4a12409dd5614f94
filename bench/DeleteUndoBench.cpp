// Deleting 1,000 selected events of the benchmark calendar with their undo file, and undoing
// that delete, on a private copy of the calendar (so that the other suites see it unchanged).
// Each iteration deletes a fresh spread of 1,000 events and restores them again, timing one
// of the two steps.
#include "BenchCalendar.h"
#include "BenchReport.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace
{

constexpr int Selected = 1000;

class PrivateCalendar
{
public:
    PrivateCalendar()
    {
        const QString from = BenchCalendar::dataDir();
        for (const QString &name : QDir(from).entryList(QDir::Files))
            if (!QFile::copy(from + name, path() + name))
                BenchReport::fail("delete bench: the calendar cannot be copied");
        stores = std::make_unique<BenchCalendar::Stores>(path());
    }
    QString path() const { return m_dir.path() + u'/'; }

    // 1,000 IDs spread over the whole calendar, shifted by `round` so that no two rounds
    // pick the same rows.
    QStringList spreadIds(int round) const
    {
        const std::vector<int> ids = stores->events->eventIds();
        const std::size_t stride = ids.size() / Selected;
        QStringList out;
        for (std::size_t i = 0; i < std::size_t(Selected); ++i)
            out << QString::number(ids[i * stride + std::size_t(round) % stride]);
        return out;
    }

    std::unique_ptr<BenchCalendar::Stores> stores;

private:
    QTemporaryDir m_dir;
};

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

void delete_1000_with_undo(benchmark::State &state)
{
    PrivateCalendar cal;
    EventsStore &events = *cal.stores->events;
    int round = 0;
    for (auto _ : state) {
        const QStringList ids = cal.spreadIds(round++);
        const auto begin = std::chrono::steady_clock::now();
        const StoreResult r = events.deleteWithUndo(ids);
        const auto end = std::chrono::steady_clock::now();
        if (!r.ok || r.count != Selected) state.SkipWithError("the delete failed");
        state.SetIterationTime(seconds(begin, end));
        if (!events.restoreDeletedEvents().ok) state.SkipWithError("the undo failed");
    }
    state.counters["target_ms"] = 200;
}
BENCHMARK(delete_1000_with_undo)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void undo_delete_of_1000(benchmark::State &state)
{
    PrivateCalendar cal;
    EventsStore &events = *cal.stores->events;
    int round = 0;
    for (auto _ : state) {
        if (events.deleteWithUndo(cal.spreadIds(round++)).count != Selected)
            state.SkipWithError("the delete failed");
        const auto begin = std::chrono::steady_clock::now();
        const StoreResult r = events.restoreDeletedEvents();
        const auto end = std::chrono::steady_clock::now();
        if (!r.ok || r.count != Selected) state.SkipWithError("the undo failed");
        state.SetIterationTime(seconds(begin, end));
    }
    state.counters["target_ms"] = 200;
}
BENCHMARK(undo_delete_of_1000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
