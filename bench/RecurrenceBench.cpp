// Recurrence expansion against libical: the benchmark calendar's 300 rules over a 42-day span
// (libical skipping ahead with icalrecur_iterator_set_start, exception days as EXDATE checked
// by binary search), and one daily rule over 100 years. Both sides start from parsed rules and
// give day numbers; before timing, every rule's days must agree.
//
// Every rule translates to an RRULE with the same days (IcsRules::patternText, the calendar
// files' translation): DTSTART is the rule's first occurrence, UNTIL the day of its endTime.
#include "BenchReport.h"
#include "SampleCalendar.h"

#include "core/CalendarMath.h"
#include "store/IcsRules.h"
#include "store/RecurrenceRule.h"

#include <benchmark/benchmark.h>
#include <libical/ical.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace
{

std::string dateText(int day)
{
    const CalendarMath::YearMonthDay ymd = CalendarMath::civilFromDay(day);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", int(ymd.year), ymd.month, ymd.day);
    return buf;
}

icaltimetype icalDate(int day)
{
    return icaltime_from_string(dateText(day).c_str());
}

int dayOf(const icaltimetype &t)
{
    return int(CalendarMath::dayFromCivil(t.year, t.month, t.day));
}

struct PeerRule {
    std::string text; // the RRULE
    icalrecurrencetype recur;
    icaltimetype dtstart;
    int spanDays = 0;         // extraDays: occurrences reaching into the span
    std::vector<int> exdates; // EXDATE days, sorted
    bool skipAhead = true;    // use icalrecur_iterator_set_start
};

std::optional<PeerRule> translate(const RecurrenceRule &r)
{
    const std::optional<int> first = nthOccurrenceDay(r, 1);
    if (!first) return std::nullopt;
    std::string s = IcsRules::patternText(r);
    if (s.empty()) return std::nullopt;
    s += ";UNTIL=" + dateText(int(std::floor(r.endTime)));
    PeerRule p;
    p.text = s;
    p.recur = icalrecurrencetype_from_string(s.c_str());
    if (p.recur.freq == ICAL_NO_RECURRENCE) return std::nullopt;
    p.dtstart = icalDate(*first);
    p.spanDays = r.extraDays;
    p.exdates = r.exceptionDays;
    return p;
}

// libical's days of one rule in [firstDay - spanDays, endDay), EXDATEs left out.
void peerExpand(const PeerRule &p, int firstDay, int endDay, std::vector<int> &days)
{
    icalrecur_iterator *it = icalrecur_iterator_new(p.recur, p.dtstart);
    if (!it) return;
    const int from = firstDay - p.spanDays;
    if (p.skipAhead && from > dayOf(p.dtstart)) icalrecur_iterator_set_start(it, icalDate(from));
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
         t = icalrecur_iterator_next(it)) {
        const int d = dayOf(t);
        if (d >= endDay) break;
        if (d < from || std::binary_search(p.exdates.begin(), p.exdates.end(), d)) continue;
        days.push_back(d);
    }
    icalrecur_iterator_free(it);
}

// The 42 days from Monday 26 Feb 2024: inside the calendar's ten years.
const int SpanFirst = int(CalendarMath::dayFromCivil(2024, 2, 26));
const int SpanEnd = SpanFirst + 42;

void oursExpand(const RecurrenceRule &r, int firstDay, int endDay, std::vector<int> &days)
{
    expandOccurrenceDays(r, firstDay, endDay, 1 << 30, days);
}

// Whether libical gives `expected` for the rule over [firstDay, endDay) within two seconds
// (some RRULEs make its iterator loop for ever after set_start). Tried in a child process that
// is killed when late.
bool peerAgrees(const PeerRule &p, int firstDay, int endDay, const std::vector<int> &expected)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        std::vector<int> days;
        peerExpand(p, firstDay, endDay, days);
        _exit(days == expected ? 0 : 1);
    }
    for (int waited = 0; waited < 2000; ++waited) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        usleep(1000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return false;
}

struct RuleSet {
    std::vector<RecurrenceRule> ours;
    std::vector<PeerRule> peer;
    int untranslated = 0;
    int fromStart = 0; // rules libical walks from DTSTART: set_start gave other days or hung
    int excluded = 0;  // rules libical gets wrong either way (left out of both sides)
};

RuleSet &ruleSet()
{
    static RuleSet set = [] {
        RuleSet s;
        for (const SampleCalendar::SampleRule &r : SampleCalendar::benchRules()) {
            std::optional<PeerRule> p = translate(r.rule);
            if (!p) {
                ++s.untranslated;
                continue;
            }
            std::vector<int> expected;
            oursExpand(r.rule, SpanFirst, SpanEnd, expected);
            if (!peerAgrees(*p, SpanFirst, SpanEnd, expected)) {
                p->skipAhead = false;
                if (!peerAgrees(*p, SpanFirst, SpanEnd, expected)) {
                    std::fprintf(stderr, "recurrence: libical gets %s (first %s) wrong\n",
                                 p->text.c_str(), dateText(dayOf(p->dtstart)).c_str());
                    ++s.excluded;
                    continue;
                }
                ++s.fromStart;
            }
            s.ours.push_back(r.rule);
            s.peer.push_back(std::move(*p));
        }
        return s;
    }();
    return set;
}

bool spanAgrees(benchmark::State &state)
{
    static int verdict = -1;
    if (verdict < 0) {
        const RuleSet &s = ruleSet();
        verdict = 1;
        for (std::size_t i = 0; i < s.ours.size(); ++i) {
            std::vector<int> a, b;
            oursExpand(s.ours[i], SpanFirst, SpanEnd, a);
            peerExpand(s.peer[i], SpanFirst, SpanEnd, b);
            if (a != b) {
                const RecurrenceRule &r = s.ours[i];
                BenchReport::fail("recurrence: libical disagrees on rule " + std::to_string(i) +
                                  " (pattern " + std::to_string(int(r.pattern)) + "." +
                                  std::to_string(int(r.variant)) + "): ours " +
                                  std::to_string(a.size()) + " days, libical " +
                                  std::to_string(b.size()));
                verdict = 0;
            }
        }
    }
    if (!verdict) state.SkipWithError("libical gives other days");
    return verdict == 1;
}

void recurrence_span42_ours(benchmark::State &state)
{
    if (!spanAgrees(state)) return;
    const RuleSet &s = ruleSet();
    std::vector<int> days;
    days.reserve(20000);
    for (auto _ : state) {
        days.clear();
        for (const RecurrenceRule &r : s.ours)
            oursExpand(r, SpanFirst, SpanEnd, days);
        benchmark::DoNotOptimize(days.data());
    }
    state.counters["rules"] = double(s.ours.size());
    state.counters["untranslated"] = s.untranslated;
    state.counters["libical_from_dtstart"] = s.fromStart;
    state.counters["libical_wrong"] = s.excluded;
    state.counters["days"] = double(days.size());
}
BENCHMARK(recurrence_span42_ours)->Unit(benchmark::kMillisecond);

void recurrence_span42_libical(benchmark::State &state)
{
    if (!spanAgrees(state)) return;
    const RuleSet &s = ruleSet();
    std::vector<int> days;
    days.reserve(20000);
    for (auto _ : state) {
        days.clear();
        for (const PeerRule &p : s.peer)
            peerExpand(p, SpanFirst, SpanEnd, days);
        benchmark::DoNotOptimize(days.data());
    }
    state.counters["days"] = double(days.size());
}
BENCHMARK(recurrence_span42_libical)->Unit(benchmark::kMillisecond);

// One rule every day from 1 Jan 2000, never ending, over the 100 years from its start.
struct DailyCentury {
    RecurrenceRule ours;
    PeerRule peer;
    int first = int(CalendarMath::dayFromCivil(2000, 1, 1));
    int end = int(CalendarMath::dayFromCivil(2100, 1, 1));
    bool agrees = false;
    DailyCentury()
    {
        ours.pattern = Recurrence::Pattern::Daily;
        ours.variant = Recurrence::Variant::EveryNDays;
        ours.endRule = Recurrence::EndRule::Never;
        ours.interval = 1;
        ours.startTime = first + 0.375;
        ours.endTime = first + 100000 + 0.4;
        peer = *translate(ours);
        std::vector<int> a, b;
        oursExpand(ours, first, end, a);
        peerExpand(peer, first, end, b);
        agrees = a == b && int(a.size()) == end - first;
        if (!agrees) BenchReport::fail("recurrence: libical disagrees on the daily century");
    }
};

DailyCentury &century()
{
    static DailyCentury c;
    return c;
}

void recurrence_daily_100y_ours(benchmark::State &state)
{
    DailyCentury &c = century();
    if (!c.agrees) return state.SkipWithError("libical gives other days");
    std::vector<int> days;
    days.reserve(40000);
    for (auto _ : state) {
        days.clear();
        oursExpand(c.ours, c.first, c.end, days);
        benchmark::DoNotOptimize(days.data());
    }
}
BENCHMARK(recurrence_daily_100y_ours)->Unit(benchmark::kMillisecond);

void recurrence_daily_100y_libical(benchmark::State &state)
{
    DailyCentury &c = century();
    if (!c.agrees) return state.SkipWithError("libical gives other days");
    std::vector<int> days;
    days.reserve(40000);
    for (auto _ : state) {
        days.clear();
        peerExpand(c.peer, c.first, c.end, days);
        benchmark::DoNotOptimize(days.data());
    }
}
BENCHMARK(recurrence_daily_100y_libical)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    BenchReport::addRatio("recurrence_span42", "libical", "recurrence_span42_ours",
                          "recurrence_span42_libical", 0.05);
    BenchReport::addRatio("recurrence_daily_100y", "libical", "recurrence_daily_100y_ours",
                          "recurrence_daily_100y_libical", -1);
    return true;
}();

} // namespace
