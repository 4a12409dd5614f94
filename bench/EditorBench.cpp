// Opening the event editor on a recurring event of the benchmark calendar (100,000 one-time
// events, 300 recurring rules): preparing it from the store (the layer list, the rule and its
// summary) and showing it until it has been painted, then hiding it again, as each opening does.
//
// Needs the QApplication that BenchMain creates (offscreen platform).
#include "BenchCalendar.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "dialogs/EventEditor.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace
{

// A recurring event of the calendar; -1 when it holds none.
int someRecurringEvent(const EventsStore &events)
{
    int found = -1;
    events.forEachEvent([&found](const EventRow &row) {
        if (found < 0 && row.isRecurring()) found = row.id();
    });
    return found;
}

void editor_open_recurring(benchmark::State &state)
{
    BenchCalendar::Stores &stores = BenchCalendar::shared();
    const int id = someRecurringEvent(*stores.events);
    if (id < 0) {
        state.SkipWithError("the calendar holds no recurring event");
        return;
    }
    DateTimeFormat format;
    format.buildTimeFormat(2, 1);
    const QString dir = BenchCalendar::dataDir();
    Settings reg(SettingsPaths{dir + "dayloom.ini", dir, dir + "dayloom.desktop",
                               QStringLiteral("/usr/bin/dayloom")});
    EventEditor editor(*stores.events, *stores.layers, format, stores.clock, reg, DialogPrompts{},
                       nullptr);
    for (auto _ : state) {
        if (!editor.prepareExisting(id)) {
            state.SkipWithError("the recurring event could not be opened");
            break;
        }
        editor.show();
        editor.repaint();
        QApplication::processEvents();
        editor.hide();
    }
    state.counters["target_ms"] = 30;
}
BENCHMARK(editor_open_recurring)->Unit(benchmark::kMillisecond);

} // namespace
