// The span collections on the benchmark calendar (100,000 one-time events, 300 recurring
// rules, every layer shown): collecting and placing a day, a week, a month view's six weeks and
// a year of twelve months, with the geometry of a full-screen window.
#include "BenchCalendar.h"

#include <benchmark/benchmark.h>

namespace
{

// A busy week in the middle of the ten years: Monday 10 Mar 2025.
const SerialDateTime WeekFirst = DateTimeValue::encodeDate(2025, 3, 10);

TimeGridGeometry timeGeometry(int days)
{
    TimeGridGeometry g;
    const int width = 1400 / days;
    for (int d = 0; d < days; ++d)
        g.dayColumns[d] = {60 + d * width, width};
    g.rowHeight = 16;
    g.scrollRow = 32;
    return g;
}

StripGeometry stripGeometry(int days)
{
    StripGeometry g;
    const int width = 1400 / days;
    for (int d = 0; d < days; ++d)
        g.dayColumns[d] = {60 + d * width, width};
    return g;
}

void collectDays(benchmark::State &state, int days)
{
    EventsStore &ev = *BenchCalendar::shared().events;
    DaySpanCollection::Request r;
    r.firstDay = WeekFirst;
    r.spanEnd = WeekFirst + days;
    r.firstGridDay = 1;
    r.lastGridDay = days;
    const TimeGridGeometry tg = timeGeometry(days);
    const StripGeometry sg = stripGeometry(days);
    int items = 0;
    for (auto _ : state) {
        ev.collectDayView(r);
        DaySpanCollection &c = ev.collections().day;
        c.placeTimeGrid(tg, 1, days);
        c.placeStrip(sg);
        items = c.stripItemCount();
        for (int d = 1; d <= days; ++d)
            items += c.timeItemCount(d);
        benchmark::DoNotOptimize(items);
    }
    state.counters["items"] = items;
    state.counters["target_ms"] = 1;
}

void collection_day_placed(benchmark::State &state)
{
    collectDays(state, 1);
}
BENCHMARK(collection_day_placed)->Unit(benchmark::kMillisecond);

void collection_week_placed(benchmark::State &state)
{
    collectDays(state, 7);
}
BENCHMARK(collection_week_placed)->Unit(benchmark::kMillisecond);

void collection_month_placed(benchmark::State &state)
{
    EventsStore &ev = *BenchCalendar::shared().events;
    const SerialDateTime first = DateTimeValue::encodeDate(2025, 2, 24);
    MonthGridGeometry g;
    for (int d = 0; d < 7; ++d)
        g.dayColumns[d] = {d * 200, 200};
    for (int w = 0; w < SpanLimits::MaxWeeks; ++w)
        g.weekTops[w] = 20 + w * 150;
    int items = 0;
    for (auto _ : state) {
        ev.collectMonthView(first, first + 42, 1, 6);
        MonthSpanCollection &c = ev.collections().month;
        c.place(g, 1, 6);
        items = 0;
        for (int w = 1; w <= 6; ++w)
            items += c.itemCount(w);
        benchmark::DoNotOptimize(items);
    }
    state.counters["items"] = items;
    state.counters["target_ms"] = 2;
}
BENCHMARK(collection_month_placed)->Unit(benchmark::kMillisecond);

void collection_year_placed(benchmark::State &state)
{
    EventsStore &ev = *BenchCalendar::shared().events;
    const SerialDateTime first = DateTimeValue::encodeDate(2025, 1, 1);
    const SerialDateTime end = DateTimeValue::encodeDate(2026, 1, 1);
    YearGridGeometry g;
    for (int m = 0; m < SpanLimits::MaxMonths; ++m)
        g.monthColumns[m] = {40 + m * 115, 115};
    for (int d = 0; d < SpanLimits::MaxMonthDays; ++d)
        g.dayRows[d] = {20 + d * 28, 28};
    int items = 0;
    for (auto _ : state) {
        ev.collectYearView(first, end, 1, 12);
        YearSpanCollection &c = ev.collections().year;
        c.place(g, 1, 12);
        items = 0;
        for (int m = 1; m <= 12; ++m)
            items += c.itemCount(m);
        benchmark::DoNotOptimize(items);
    }
    state.counters["items"] = items;
    state.counters["target_ms"] = 5;
}
BENCHMARK(collection_year_placed)->Unit(benchmark::kMillisecond);

} // namespace
