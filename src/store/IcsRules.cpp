#include "store/IcsRules.h"

#include "core/CalendarMath.h"

#include <libical/ical.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{

using Recurrence::DayKind;
using Recurrence::EndRule;
using Recurrence::Ordinal;
using Recurrence::Pattern;
using Recurrence::Variant;

const char *const DayNames[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
constexpr WeekdaySet Workdays{2, 3, 4, 5, 6};
constexpr WeekdaySet WeekendDays{1, 7};

// BYDAY / BYMONTHDAY / BYSETPOS for the `ordinal` day of a kind.
std::string kindPart(Ordinal ordinal, DayKind kind)
{
    const int pos = ordinal == Ordinal::Last ? -1 : int(ordinal) + 1;
    char buf[64];
    if (kind == DayKind::AnyDay)
        std::snprintf(buf, sizeof buf, ";BYMONTHDAY=%d", pos);
    else if (kind == DayKind::Workday)
        std::snprintf(buf, sizeof buf, ";BYDAY=MO,TU,WE,TH,FR;BYSETPOS=%d", pos);
    else if (kind == DayKind::WeekendDay)
        std::snprintf(buf, sizeof buf, ";BYDAY=SA,SU;BYSETPOS=%d", pos);
    else
        std::snprintf(buf, sizeof buf, ";BYDAY=%d%s", pos,
                      DayNames[int(kind) - int(DayKind::Sunday)]);
    return buf;
}

// Day D of a month, clamped to the month's end: the last of the days 28..D the month has.
std::string monthDayPart(int d)
{
    if (d <= 28) return ";BYMONTHDAY=" + std::to_string(d);
    std::string s = ";BYMONTHDAY=28";
    for (int x = 29; x <= d; ++x)
        s += "," + std::to_string(x);
    return s + ";BYSETPOS=-1";
}

// The values of one BY... array, up to its end marker.
std::vector<int> valuesOf(const short *values, int size)
{
    std::vector<int> out;
    for (int i = 0; i < size && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        out.push_back(values[i]);
    return out;
}

struct DayEntry {
    int position; // 0: every such day; else the n-th (negative from the end)
    int weekday;  // 1 Sunday ... 7 Saturday
};

// The recurrence's BY... parts that our rules can follow.
struct ByParts {
    std::vector<DayEntry> days;
    std::vector<int> monthDays;
    std::vector<int> months;
    std::vector<int> setPositions;
    bool unsupported = false; // BYSECOND, BYMINUTE, BYHOUR, BYYEARDAY, BYWEEKNO or a calendar
};

ByParts partsOf(const icalrecurrencetype &r)
{
    ByParts p;
    for (int v : valuesOf(r.by_day, ICAL_BY_DAY_SIZE)) {
        const int weekday = int(icalrecurrencetype_day_day_of_week(short(v)));
        if (weekday < 1 || weekday > 7) p.unsupported = true;
        p.days.push_back({icalrecurrencetype_day_position(short(v)), weekday});
    }
    p.monthDays = valuesOf(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    p.months = valuesOf(r.by_month, ICAL_BY_MONTH_SIZE);
    p.setPositions = valuesOf(r.by_set_pos, ICAL_BY_SETPOS_SIZE);
    const bool rscale = r.rscale && std::string(r.rscale) != "GREGORIAN";
    p.unsupported = p.unsupported || rscale ||
                    !valuesOf(r.by_second, ICAL_BY_SECOND_SIZE).empty() ||
                    !valuesOf(r.by_minute, ICAL_BY_MINUTE_SIZE).empty() ||
                    !valuesOf(r.by_hour, ICAL_BY_HOUR_SIZE).empty() ||
                    !valuesOf(r.by_year_day, ICAL_BY_YEARDAY_SIZE).empty() ||
                    !valuesOf(r.by_week_no, ICAL_BY_WEEKNO_SIZE).empty();
    return p;
}

// The weekdays of BYDAY entries without a position; nullopt when one has a position.
std::optional<WeekdaySet> plainWeekdays(const std::vector<DayEntry> &days)
{
    WeekdaySet set;
    for (const DayEntry &d : days) {
        if (d.position != 0) return std::nullopt;
        set.insert(d.weekday);
    }
    return set;
}

std::optional<Ordinal> ordinalOf(int position)
{
    if (position >= 1 && position <= 4) return Ordinal(position - 1);
    if (position == -1) return Ordinal::Last;
    return std::nullopt;
}

struct KindOfDay {
    Ordinal ordinal;
    DayKind kind;
};

// The K-th day of a kind in a month, in the shapes patternText() writes and the usual
// "BYDAY=-1FR" and "BYDAY=FR;BYSETPOS=-1".
std::optional<KindOfDay> kindOf(const ByParts &p)
{
    if (p.days.empty() && p.setPositions.empty() && p.monthDays.size() == 1) {
        if (const auto o = ordinalOf(p.monthDays[0])) return KindOfDay{*o, DayKind::AnyDay};
        return std::nullopt;
    }
    if (!p.monthDays.empty() || p.days.empty()) return std::nullopt;
    if (p.days.size() == 1 && p.setPositions.empty()) {
        const auto o = ordinalOf(p.days[0].position);
        if (!o) return std::nullopt;
        return KindOfDay{*o, DayKind(int(DayKind::Sunday) + p.days[0].weekday - 1)};
    }
    const auto set = plainWeekdays(p.days);
    if (!set || p.setPositions.size() != 1) return std::nullopt;
    const auto o = ordinalOf(p.setPositions[0]);
    if (!o) return std::nullopt;
    if (*set == Workdays) return KindOfDay{*o, DayKind::Workday};
    if (*set == WeekendDays) return KindOfDay{*o, DayKind::WeekendDay};
    if (p.days.size() == 1)
        return KindOfDay{*o, DayKind(int(DayKind::Sunday) + p.days[0].weekday - 1)};
    return std::nullopt;
}

// Day D of a month as a clamped day of ours: a plain BYMONTHDAY of 1 to `plainUpTo`, or the
// shape monthDayPart() writes for 29 to 31.
std::optional<int> clampedMonthDayOf(const ByParts &p, int plainUpTo)
{
    if (!p.days.empty() || p.monthDays.empty()) return std::nullopt;
    if (p.monthDays.size() == 1 && p.setPositions.empty()) {
        const int d = p.monthDays[0];
        if (d >= 1 && d <= plainUpTo) return d;
        return std::nullopt;
    }
    if (p.setPositions != std::vector<int>{-1}) return std::nullopt;
    std::vector<int> days = p.monthDays;
    std::sort(days.begin(), days.end());
    const int last = days.back();
    if (days.front() != 28 || last > 31 || int(days.size()) != last - 27) return std::nullopt;
    for (std::size_t i = 0; i < days.size(); ++i)
        if (days[i] != 28 + int(i)) return std::nullopt;
    return last;
}

// The last day of month `month` that every year has (28 for February).
int daysInEveryYear(int month)
{
    return month == 2 ? 28 : CalendarMath::daysInMonth(2001, month);
}

// The day of a monthly or yearly rule: the day of DTSTART when BY... names none, a day of
// month (form `dayForm`) of at most `plainUpTo` (a later one is not in every month), or the
// K-th day of a kind. False when none of these fits.
bool setDayOrKind(RecurrenceRule &r, const ByParts &p, int startDayOfMonth, int plainUpTo,
                  Variant dayForm)
{
    std::optional<int> day;
    if (p.days.empty() && p.monthDays.empty() && p.setPositions.empty())
        day = startDayOfMonth <= plainUpTo ? std::optional<int>(startDayOfMonth) : std::nullopt;
    else
        day = clampedMonthDayOf(p, plainUpTo);
    if (day) {
        r.variant = dayForm;
        r.dayOfMonth = *day;
        return true;
    }
    const auto k = kindOf(p);
    if (!k) return false;
    r.variant = Variant::NthKindOfDay;
    r.ordinal = k->ordinal;
    r.dayKind = k->kind;
    return true;
}

std::optional<RecurrenceRule> patternOf(const icalrecurrencetype &recur, int startDay)
{
    const ByParts p = partsOf(recur);
    if (p.unsupported || recur.interval < 1) return std::nullopt;
    const CalendarMath::YearMonthDay ymd = CalendarMath::civilFromDay(startDay);
    RecurrenceRule r;
    r.interval = recur.interval;
    switch (recur.freq) {
    case ICAL_DAILY_RECURRENCE: {
        r.pattern = Pattern::Daily;
        if (!p.monthDays.empty() || !p.months.empty() || !p.setPositions.empty())
            return std::nullopt;
        if (p.days.empty()) return r;
        if (plainWeekdays(p.days) != Workdays || recur.interval != 1) return std::nullopt;
        r.variant = Variant::EveryWorkday;
        return r;
    }
    case ICAL_WEEKLY_RECURRENCE: {
        if (!p.monthDays.empty() || !p.months.empty() || !p.setPositions.empty())
            return std::nullopt;
        auto days = plainWeekdays(p.days);
        if (!days) return std::nullopt;
        if (days->isEmpty()) days->insert(CalendarMath::dayOfWeek(startDay));
        if (*days == Workdays && recur.interval == 1) {
            r.pattern = Pattern::Daily;
            r.variant = Variant::EveryWorkday;
            return r;
        }
        // Weeks starting on another day group the days from Sunday up to that day into other
        // weeks; with an interval above 1 that changes which weeks occur.
        const int weekStart =
            int(recur.week_start) >= 1 && int(recur.week_start) <= 7 ? int(recur.week_start) : 2;
        for (int d = 1; d < weekStart && recur.interval > 1; ++d)
            if (days->contains(d)) return std::nullopt;
        r.pattern = Pattern::Weekly;
        r.variant = Variant::EveryNWeeks;
        r.weekdays = *days;
        return r;
    }
    case ICAL_MONTHLY_RECURRENCE: {
        if (!p.months.empty()) return std::nullopt;
        r.pattern = Pattern::Monthly;
        if (!setDayOrKind(r, p, ymd.day, 28, Variant::DayOfMonth)) return std::nullopt;
        return r;
    }
    case ICAL_YEARLY_RECURRENCE: {
        if (recur.interval != 1 || p.months.size() > 1) return std::nullopt;
        r.pattern = Pattern::Yearly;
        r.month = p.months.empty() ? ymd.month : p.months[0];
        if (r.month < 1 || r.month > 12) return std::nullopt;
        if (!setDayOrKind(r, p, ymd.day, daysInEveryYear(r.month), Variant::FixedDate))
            return std::nullopt;
        return r;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

namespace IcsRules
{

std::string patternText(const RecurrenceRule &r)
{
    std::string s;
    if (r.pattern == Pattern::Daily && r.variant == Variant::EveryNDays) {
        s = "FREQ=DAILY;INTERVAL=" + std::to_string(r.interval);
    } else if (r.pattern == Pattern::Daily && r.variant == Variant::EveryWorkday) {
        s = "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR";
    } else if (r.pattern == Pattern::Weekly && r.variant == Variant::EveryNWeeks) {
        s = "FREQ=WEEKLY;WKST=SU;INTERVAL=" + std::to_string(r.interval) + ";BYDAY=";
        bool any = false;
        for (int dow = 1; dow <= 7; ++dow)
            if (r.weekdays.contains(dow)) {
                s += std::string(any ? "," : "") + DayNames[dow - 1];
                any = true;
            }
        if (!any) return {};
    } else if (r.pattern == Pattern::Monthly && r.variant == Variant::DayOfMonth) {
        s = "FREQ=MONTHLY;INTERVAL=" + std::to_string(r.interval) + monthDayPart(r.dayOfMonth);
    } else if (r.pattern == Pattern::Monthly && r.variant == Variant::NthKindOfDay) {
        s = "FREQ=MONTHLY;INTERVAL=" + std::to_string(r.interval) + kindPart(r.ordinal, r.dayKind);
    } else if (r.pattern == Pattern::Yearly && r.variant == Variant::FixedDate) {
        s = "FREQ=YEARLY;BYMONTH=" + std::to_string(r.month) + monthDayPart(r.dayOfMonth);
    } else if (r.pattern == Pattern::Yearly && r.variant == Variant::NthKindOfDay) {
        s = "FREQ=YEARLY;BYMONTH=" + std::to_string(r.month) + kindPart(r.ordinal, r.dayKind);
    } else {
        return {};
    }
    if (!nthOccurrenceDay(r, 1)) return {};
    return s;
}

std::optional<RecurrenceRule> ruleOf(const icalrecurrencetype &recur, SerialDateTime start,
                                     SerialDateTime firstEnd, std::optional<int> untilLastDay)
{
    int startDay = DateTimeValue::dayOf(start);
    const int endDay = DateTimeValue::dayOf(firstEnd);
    std::optional<RecurrenceRule> r = patternOf(recur, startDay);
    if (!r) return std::nullopt;
    r->startTime = start;
    r->extraDays = std::max(0, endDay - startDay);
    if (const auto first = nthOccurrenceDay(*r, 1); first != startDay) {
        // libical does not count a DTSTART that the rule does not name. With an interval of 1
        // the occurrences are the rule's days from DTSTART on, so the rule starts on the first
        // of them; with a longer one the weeks or months counted from DTSTART could differ.
        if (!first || *first < startDay || recur.interval != 1) return std::nullopt;
        r->startTime = start + (*first - startDay);
        startDay = *first;
    }

    const SerialDateTime endTimeOfDay = firstEnd - endDay;
    int lastDay = 0;
    if (recur.count > 0) {
        const auto day = nthOccurrenceDay(*r, recur.count);
        if (!day) return std::nullopt;
        r->endRule = EndRule::AfterCount;
        r->occurrenceCount = recur.count;
        lastDay = *day;
    } else if (untilLastDay) {
        if (*untilLastDay < startDay) return std::nullopt;
        r->endRule = EndRule::OnDate;
        lastDay = std::min(*untilLastDay, Recurrence::MaxDay);
    } else {
        r->endRule = EndRule::Never;
        lastDay = std::min(startDay + 100000, Recurrence::MaxDay);
    }
    r->endTime = lastDay + endTimeOfDay;
    return r;
}

} // namespace IcsRules
