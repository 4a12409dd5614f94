// Calendar files: importing a 10,000-event file (2,000 of them recurring, every tenth event
// with an alarm) into empty stores, against libical's own parse of the same bytes, and
// exporting those events again. Each import runs on fresh stores in a temporary directory;
// only the import itself is timed. Both imports run nine times: their ratio is of two
// medians, and five runs left it moving by a third from one run to the next.
#include "BenchCalendar.h"
#include "BenchReport.h"

#include "store/IcsExport.h"
#include "store/IcsImport.h"

#include <benchmark/benchmark.h>
#include <libical/ical.h>

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace
{

constexpr int EventCount = 10000;
constexpr int RecurringEvery = 5; // every fifth event recurs: 20%

const QByteArray &calendarFile()
{
    static const QByteArray bytes = [] {
        static const char *const Rules[] = {"FREQ=WEEKLY;BYDAY=MO,WE,FR", "FREQ=MONTHLY;BYDAY=-1FR",
                                            "FREQ=YEARLY", "FREQ=DAILY;INTERVAL=3;COUNT=20",
                                            "FREQ=MONTHLY;BYMONTHDAY=15;UNTIL=20271231T235959"};
        QByteArray out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n"
                         "X-WR-CALNAME:Bench\r\n";
        char buf[512];
        for (int i = 0; i < EventCount; ++i) {
            const int day = 1 + i % 28, month = 1 + (i / 28) % 12, year = 2020 + i % 6;
            const int hour = 7 + i % 12;
            std::snprintf(buf, sizeof buf,
                          "BEGIN:VEVENT\r\nUID:bench-%d@example.com\r\nDTSTAMP:20240101T000000Z\r\n"
                          "DTSTART:%04d%02d%02dT%02d0000\r\nDTEND:%04d%02d%02dT%02d4500\r\n"
                          "SUMMARY:Event number %d\r\nDESCRIPTION:Generated for the benchmark\\, "
                          "with some text.\r\n",
                          i, year, month, day, hour, year, month, day, hour, i);
            out += buf;
            if (i % RecurringEvery == 0) {
                const char *rule = Rules[(i / RecurringEvery) % 5];
                // A monthly rule on the last Friday starts on one.
                if ((i / RecurringEvery) % 5 == 1) {
                    std::snprintf(buf, sizeof buf, "RRULE:%s\r\nEXDATE:%04d%02d%02dT%02d0000\r\n",
                                  rule, year + 1, month, day, hour);
                } else {
                    std::snprintf(buf, sizeof buf, "RRULE:%s\r\n", rule);
                }
                out += buf;
            }
            if (i % 10 == 3)
                out += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:x\r\n"
                       "END:VALARM\r\n";
            out += "END:VEVENT\r\n";
        }
        out += "END:VCALENDAR\r\n";
        return out;
    }();
    return bytes;
}

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

IcsReader::Options options()
{
    return {"Europe/Berlin", DateTimeValue::encodeDate(2024, 1, 1)};
}

void ics_import_10000_ours(benchmark::State &state)
{
    const QByteArray &bytes = calendarFile();
    int expanded = 0, recurring = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        BenchCalendar::Stores stores(dir.path() + u'/');
        const auto begin = std::chrono::steady_clock::now();
        const IcsImport::Summary s = IcsImport::importBytes(
            bytes, "bench", 0, *stores.layers, *stores.events, *stores.tasks, options());
        const auto end = std::chrono::steady_clock::now();
        if (!s.ok) state.SkipWithError("the import failed");
        state.SetIterationTime(seconds(begin, end));
        expanded = s.expandedRules;
        recurring = s.recurringEvents;
    }
    state.counters["recurring"] = recurring;
    state.counters["expanded"] = expanded;
    state.counters["target_ms"] = 1000;
}
BENCHMARK(ics_import_10000_ours)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

void ics_import_10000_libical(benchmark::State &state)
{
    const QByteArray &bytes = calendarFile();
    for (auto _ : state) {
        icalcomponent *root = icalparser_parse_string(bytes.constData());
        benchmark::DoNotOptimize(root);
        icalcomponent_free(root);
    }
}
BENCHMARK(ics_import_10000_libical)->Iterations(9)->Unit(benchmark::kMillisecond);

void ics_export_10000(benchmark::State &state)
{
    QTemporaryDir dir;
    BenchCalendar::Stores stores(dir.path() + u'/');
    const IcsImport::Summary s = IcsImport::importBytes(calendarFile(), "bench", 0, *stores.layers,
                                                        *stores.events, *stores.tasks, options());
    if (!s.ok) return state.SkipWithError("the import failed");
    std::size_t size = 0;
    for (auto _ : state) {
        const IcsExport::Output out = IcsExport::calendarBytes(
            {s.layerId}, *stores.layers, *stores.events, *stores.tasks, "bench", options().now);
        size = std::size_t(out.bytes.size());
        if (out.events != s.events) state.SkipWithError("the export lost events");
    }
    state.counters["bytes"] = double(size);
    state.counters["events"] = s.events; // the expanded rules' occurrences included
    state.counters["target_ms"] = 300;
}
BENCHMARK(ics_export_10000)->Iterations(5)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    BenchReport::addRatio("ics_import_10000", "libical", "ics_import_10000_ours",
                          "ics_import_10000_libical", 3);
    return true;
}();

} // namespace
