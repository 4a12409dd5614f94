// Exporting and importing a layer of 20,000 events, and "Move Events..." of 10,000 events
// from one layer to another, on calendars of their own in temporary directories.
#include "BenchCalendar.h"
#include "BenchReport.h"

#include "store/LayerEventRange.h"
#include "store/LayerFile.h"
#include "store/LayerRemoval.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <chrono>

namespace
{

// A calendar whose first layer holds `count` one-time events of an hour, one every 3 hours
// from 1 Jan 2020, and a second layer "Other".
struct LayerCalendar {
    explicit LayerCalendar(int count) : stores(path())
    {
        first = stores.layers->idAt(1);
        other = stores.layers->insertLayer(1, QStringLiteral("Other"), true, 2, 1, 30).id;
        EventsStore &events = *stores.events;
        events.beginBulk();
        const SerialDateTime start = DateTimeValue::encodeDate(2020, 1, 1);
        for (int i = 0; i < count; ++i) {
            EventRow row(QVariantList{
                QVariant(), first, start + i / 8.0, start + i / 8.0 + 1 / 24.0, false, false, 0, 0,
                QStringLiteral("Event %1").arg(i), QStringLiteral("Notes"), false});
            (void)events.insertEvent(row);
        }
        if (!events.endBulk().ok())
            BenchReport::fail("layer bench: the calendar cannot be written");
    }
    QString path() const { return m_dir.path() + u'/'; }

    QTemporaryDir m_dir;
    BenchCalendar::Stores stores;
    int first = -1;
    int other = -1;
};

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

constexpr int LayerEvents = 20000;

void export_layer_of_20000(benchmark::State &state)
{
    LayerCalendar cal(LayerEvents);
    const QString file = cal.path() + "layer.dyl";
    BenchCalendar::Stores &s = cal.stores;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const StoreResult r =
            LayerFile::exportFile(file, {cal.first}, *s.layers, *s.events, *s.tasks);
        const auto end = std::chrono::steady_clock::now();
        if (!r.ok) state.SkipWithError("the export failed");
        state.SetIterationTime(seconds(begin, end));
    }
    state.counters["target_ms"] = 300;
}
BENCHMARK(export_layer_of_20000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void import_layer_of_20000(benchmark::State &state)
{
    LayerCalendar source(LayerEvents);
    const QString file = source.path() + "layer.dyl";
    BenchCalendar::Stores &from = source.stores;
    if (!LayerFile::exportFile(file, {source.first}, *from.layers, *from.events, *from.tasks))
        BenchReport::fail("layer bench: the layer file cannot be written");
    LayerCalendar target(0);
    BenchCalendar::Stores &s = target.stores;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const LayerFile::ImportResult r =
            LayerFile::importFile(file, *s.layers, *s.events, *s.tasks);
        const auto end = std::chrono::steady_clock::now();
        if (!r || r.events != LayerEvents) state.SkipWithError("the import failed");
        state.SetIterationTime(seconds(begin, end));
        (void)LayerRemoval::deleteLayers(r.layerIDs, *s.layers, *s.events, *s.tasks);
    }
    state.counters["target_ms"] = 300;
}
BENCHMARK(import_layer_of_20000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void move_events_10000(benchmark::State &state)
{
    LayerCalendar cal(10000);
    EventsStore &events = *cal.stores.events;
    int from = cal.first;
    int to = cal.other;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const QStringList ids = LayerEventRange::eventsEndingBy(events, {from}, std::nullopt);
        const StoreResult r = LayerEventRange::moveEvents(events, ids, to);
        const auto end = std::chrono::steady_clock::now();
        if (!r.ok || r.count != 10000) state.SkipWithError("the move failed");
        state.SetIterationTime(seconds(begin, end));
        std::swap(from, to);
    }
    state.counters["target_ms"] = 200;
}
BENCHMARK(move_events_10000)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
