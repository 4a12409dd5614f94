#include "store/RecurrenceRule.h"

#include "core/CalendarMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace CalendarMath;
using Recurrence::DayKind;
using Recurrence::Ordinal;
using Recurrence::Pattern;
using Recurrence::Variant;

namespace
{

constexpr int64_t NoDay = std::numeric_limits<int64_t>::max();
const int64_t MinMonthIndex = monthIndex(1, 1);
const int64_t MaxMonthIndex = monthIndex(9999, 12);

// Day of a date-time value, or nullopt when it is not a number or lies outside the years
// 1 to 9999 (clamped instead when `clamp` is set).
std::optional<int64_t> dayOfValue(SerialDateTime v, bool clamp)
{
    if (std::isnan(v)) return std::nullopt;
    if (v < Recurrence::MinDay - 1.0 || v >= Recurrence::MaxDay + 1.0) {
        if (!clamp) return std::nullopt;
        return v < 0 ? Recurrence::MinDay - 1 : Recurrence::MaxDay;
    }
    const int64_t d = DateTimeValue::dayOf(v);
    if (d < Recurrence::MinDay || d > Recurrence::MaxDay) {
        if (!clamp) return std::nullopt;
        return d < Recurrence::MinDay ? Recurrence::MinDay - 1 : Recurrence::MaxDay;
    }
    return d;
}

// The day of month of the `ordinal` day of `kind` (both in range) in a month.
int dayOfKindInMonth(Ordinal ordinal, DayKind kind, int64_t year, int month)
{
    const int len = daysInMonth(year, month);
    const int64_t first = dayFromCivil(year, month, 1);
    const int dowFirst = dayOfWeek(first);
    const int dowLast = dayOfWeek(first + len - 1);
    const bool last = ordinal == Ordinal::Last;
    const int k = int(ordinal);
    switch (kind) {
    case DayKind::AnyDay:
        return last ? len : k + 1;
    case DayKind::Workday: {
        if (last) return dowLast == Saturday ? len - 1 : dowLast == Sunday ? len - 2 : len;
        int day = dowFirst == Sunday ? 2 : dowFirst == Saturday ? 3 : 1;
        int dow = dowFirst == Sunday || dowFirst == Saturday ? Monday : dowFirst;
        for (int i = 0; i < k; ++i) {
            day += dow == Friday ? 3 : 1;
            dow = dow == Friday ? Monday : dow + 1;
        }
        return day;
    }
    case DayKind::WeekendDay: {
        const bool weekendFirst = dowFirst == Sunday || dowFirst == Saturday;
        if (last) return (dowLast == Sunday || dowLast == Saturday) ? len : len - dowLast + 1;
        int day = weekendFirst ? 1 : 8 - dowFirst;
        int dow = weekendFirst ? dowFirst : Saturday;
        for (int i = 0; i < k; ++i) {
            day += dow == Saturday ? 1 : 6;
            dow = dow == Saturday ? Sunday : Saturday;
        }
        return day;
    }
    default: {
        // kind - 2 is the day of the week (Sunday = 1).
        const int kindNumber = int(kind);
        if (last) return len - (dowLast - kindNumber + 9) % 7;
        return (kindNumber - dowFirst + 5) % 7 + 1 + 7 * k;
    }
    }
}

bool validOrdinalAndKind(Ordinal ordinal, DayKind kind)
{
    return int(ordinal) >= int(Ordinal::First) && int(ordinal) <= int(Ordinal::Last) &&
           int(kind) >= int(DayKind::AnyDay) && int(kind) <= int(DayKind::Saturday);
}

bool validMonth(int month)
{
    return month >= 1 && month <= 12;
}

// The occurrence days of one rule as a strictly increasing sequence. Every operation is
// constant time or looks at no more than two weeks of days, so a walk over a span costs what
// the span holds, whatever the age of the rule.
class Sequence
{
public:
    // `k` counts periods (months of a monthly or yearly rule) where a day alone cannot tell the
    // next one; day is NoDay once the sequence has ended.
    struct Cursor {
        int64_t day = NoDay;
        int64_t k = 0;
    };

    explicit Sequence(const RecurrenceRule &rule);

    bool valid() const { return m_kind != None; }
    int64_t nth(int64_t n) const;
    // The first occurrence on or after day x.
    Cursor seek(int64_t x) const;
    void advance(Cursor &c) const;

private:
    enum SeqKind { None, EveryNDays, EveryWorkday, WeeklyKind, MonthPeriodic };

    // Monthly and yearly rules: occurrence k lies in month m_month0 + k * m_step.
    int dayInMonth(int64_t mi) const;
    int64_t monthlyDay(int64_t k) const;
    // Weekly rules: the first set day on or after `from`, which lies in an active week.
    int64_t firstInActiveWeek(int64_t from) const;

    SeqKind m_kind = None;
    int64_t m_start = 0; // T, the day the rule begins
    int64_t m_first = 0; // daily: the first occurrence
    int64_t m_week0 = 0; // weekly: the Sunday of T's week
    int64_t m_step = 0;  // days (daily, weekly: 7 N) or months (monthly, yearly)
    int64_t m_month0 = 0;
    WeekdaySet m_weekdays;
    int m_weekdayCount = 0;
    // Day of month: D (fixed day, clamped to the month) when m_byKind is false, else the
    // m_ordinal day of m_dayKind.
    int m_dayD = 0;
    bool m_byKind = false;
    Ordinal m_ordinal = Ordinal::First;
    DayKind m_dayKind = DayKind::AnyDay;
};

Sequence::Sequence(const RecurrenceRule &rule)
{
    const std::optional<int64_t> t = dayOfValue(rule.startTime, false);
    if (!t) return;
    m_start = *t;
    const YearMonthDay ymd = civilFromDay(m_start);

    // Monthly and yearly: the candidate month, moved one period on when its day is before T.
    auto startMonthly = [&](int64_t candidateMonth) {
        m_kind = MonthPeriodic;
        m_month0 = candidateMonth;
        if (monthlyDay(0) < m_start) m_month0 += m_step;
    };
    auto byKind = [&] {
        m_byKind = true;
        m_ordinal = rule.ordinal;
        m_dayKind = rule.dayKind;
    };
    const bool kindOk = validOrdinalAndKind(rule.ordinal, rule.dayKind);

    switch (rule.pattern) {
    case Pattern::Daily:
        if (rule.variant == Variant::EveryNDays && rule.interval >= 1) {
            m_kind = EveryNDays;
            m_step = rule.interval;
            m_first = m_start;
        } else if (rule.variant == Variant::EveryWorkday) {
            m_kind = EveryWorkday;
            const int dow = dayOfWeek(m_start);
            m_first = m_start + (dow == Saturday ? 2 : dow == Sunday ? 1 : 0);
        }
        break;
    case Pattern::Weekly:
        // A weekly rule has one form only: its variant is not looked at.
        if (rule.interval < 1 || rule.weekdays.isEmpty()) return;
        m_weekdays = rule.weekdays;
        m_weekdayCount = rule.weekdays.count();
        m_kind = WeeklyKind;
        m_step = 7 * int64_t(rule.interval);
        m_week0 = m_start - (dayOfWeek(m_start) - 1);
        break;
    case Pattern::Monthly:
        if (rule.interval < 1) return;
        if (rule.variant == Variant::DayOfMonth && rule.dayOfMonth >= 1) {
            m_dayD = rule.dayOfMonth;
        } else if (rule.variant == Variant::NthKindOfDay && kindOk) {
            byKind();
        } else {
            return;
        }
        m_step = rule.interval;
        startMonthly(monthIndex(ymd.year, ymd.month));
        break;
    case Pattern::Yearly:
        if (!validMonth(rule.month)) return;
        if (rule.variant == Variant::FixedDate && rule.dayOfMonth >= 1) {
            m_dayD = rule.dayOfMonth;
        } else if (rule.variant == Variant::NthKindOfDay && kindOk) {
            byKind();
        } else {
            return;
        }
        m_step = 12;
        startMonthly(monthIndex(ymd.year, rule.month));
        break;
    }
}

int Sequence::dayInMonth(int64_t mi) const
{
    const int64_t y = yearOfMonthIndex(mi);
    const int m = monthOfMonthIndex(mi);
    if (!m_byKind) return std::min(m_dayD, daysInMonth(y, m));
    return dayOfKindInMonth(m_ordinal, m_dayKind, y, m);
}

int64_t Sequence::monthlyDay(int64_t k) const
{
    if (k > (MaxMonthIndex - m_month0) / m_step) return NoDay;
    const int64_t mi = m_month0 + k * m_step;
    if (mi < MinMonthIndex) return NoDay;
    const int64_t d = dayFromCivil(yearOfMonthIndex(mi), monthOfMonthIndex(mi), dayInMonth(mi));
    return d > Recurrence::MaxDay ? NoDay : d;
}

int64_t Sequence::firstInActiveWeek(int64_t from) const
{
    // Scan the rest of this week, else the next active week (a set day exists).
    const int64_t sunday = from - (dayOfWeek(from) - 1);
    for (int64_t d = from; d < sunday + 7; ++d)
        if (m_weekdays.contains(dayOfWeek(d))) return d;
    const int64_t next = sunday + m_step;
    for (int64_t d = next; d < next + 7; ++d)
        if (m_weekdays.contains(dayOfWeek(d))) return d;
    return NoDay; // unreachable with a non-empty mask
}

int64_t Sequence::nth(int64_t n) const
{
    if (!valid() || n < 1) return NoDay;
    int64_t d = NoDay;
    switch (m_kind) {
    case EveryNDays:
        d = m_first + (n - 1) * m_step;
        break;
    case EveryWorkday: {
        const int64_t weeks = (n - 1) / 5;
        int rest = int((n - 1) % 5);
        d = m_first + 7 * weeks;
        while (rest-- > 0)
            d += dayOfWeek(d) == Friday ? 3 : 1;
        break;
    }
    case WeeklyKind: {
        int inFirstWeek = 0;
        for (int w = dayOfWeek(m_start); w <= Saturday; ++w)
            inFirstWeek += m_weekdays.contains(w) ? 1 : 0;
        int64_t sunday = m_week0;
        int64_t index = n; // which set day, counted from fromDow in the week of `sunday`
        int fromDow = dayOfWeek(m_start);
        if (n > inFirstWeek) {
            const int64_t rest = n - inFirstWeek - 1;
            const int64_t periods = rest / m_weekdayCount + 1;
            if (periods > (int64_t(Recurrence::MaxDay) - m_week0) / m_step) return NoDay;
            sunday = m_week0 + periods * m_step;
            index = rest % m_weekdayCount + 1;
            fromDow = Sunday;
        }
        for (int w = fromDow; w <= Saturday; ++w)
            if (m_weekdays.contains(w) && --index == 0) {
                d = sunday + (w - 1);
                break;
            }
        break;
    }
    case MonthPeriodic:
        d = monthlyDay(n - 1);
        break;
    case None:
        break;
    }
    return d > Recurrence::MaxDay ? NoDay : d;
}

Sequence::Cursor Sequence::seek(int64_t x) const
{
    Cursor c;
    if (!valid()) return c;
    x = std::max(x, m_start);
    switch (m_kind) {
    case EveryNDays:
        c.day = m_first + ceilDiv(std::max<int64_t>(x - m_first, 0), m_step) * m_step;
        break;
    case EveryWorkday: {
        int64_t d = std::max(x, m_first);
        const int dow = dayOfWeek(d);
        c.day = d + (dow == Saturday ? 2 : dow == Sunday ? 1 : 0);
        break;
    }
    case WeeklyKind: {
        const int64_t sunday = x - (dayOfWeek(x) - 1);
        const int64_t off = floorMod(sunday - m_week0, m_step);
        c.day = firstInActiveWeek(off == 0 ? x : sunday + (m_step - off));
        break;
    }
    case MonthPeriodic: {
        const YearMonthDay ymd = civilFromDay(x);
        c.k = std::max<int64_t>(0, ceilDiv(monthIndex(ymd.year, ymd.month) - m_month0, m_step));
        c.day = monthlyDay(c.k);
        if (c.day != NoDay && c.day < x) c.day = monthlyDay(++c.k);
        break;
    }
    case None:
        break;
    }
    if (c.day > Recurrence::MaxDay) c.day = NoDay;
    return c;
}

void Sequence::advance(Cursor &c) const
{
    if (c.day == NoDay) return;
    switch (m_kind) {
    case EveryNDays:
        c.day += m_step;
        break;
    case EveryWorkday:
        c.day += dayOfWeek(c.day) == Friday ? 3 : 1;
        break;
    case WeeklyKind: {
        // Next day; from a Saturday the next active week's Sunday.
        const int64_t next = dayOfWeek(c.day) == Saturday ? c.day + m_step - 6 : c.day + 1;
        c.day = firstInActiveWeek(next);
        break;
    }
    case MonthPeriodic:
        c.day = monthlyDay(++c.k);
        break;
    case None:
        c.day = NoDay;
        break;
    }
    if (c.day > Recurrence::MaxDay) c.day = NoDay;
}

} // namespace

int nthDayOfMonth(Ordinal ordinal, DayKind kind, int year, int month)
{
    if (!validOrdinalAndKind(ordinal, kind) || !validMonth(month) || year < 1 || year > 9999)
        return 0;
    return dayOfKindInMonth(ordinal, kind, year, month);
}

std::optional<int> nthOccurrenceDay(const RecurrenceRule &rule, int n)
{
    const int64_t d = Sequence(rule).nth(n);
    if (d == NoDay) return std::nullopt;
    return int(d);
}

int expandOccurrenceDays(const RecurrenceRule &rule, int firstDay, int endDay, int maxCount,
                         std::vector<int> &days)
{
    if (maxCount <= 0) return 0;
    const Sequence seq(rule);
    const std::optional<int64_t> endOfRule = dayOfValue(rule.endTime, true);
    if (!seq.valid() || !endOfRule) return 0;
    const int64_t last = std::min<int64_t>(int64_t(endDay) - 1, *endOfRule);
    const int64_t from = int64_t(firstDay) - rule.extraDays;
    if (from > last) return 0;

    const std::vector<int> *exceptions = &rule.exceptionDays;
    std::vector<int> sorted;
    if (!std::is_sorted(exceptions->begin(), exceptions->end())) {
        sorted = *exceptions;
        std::sort(sorted.begin(), sorted.end());
        exceptions = &sorted;
    }
    auto nextException = exceptions->begin();

    int added = 0;
    for (Sequence::Cursor c = seq.seek(std::max<int64_t>(from, Recurrence::MinDay));
         c.day <= last && added < maxCount; seq.advance(c)) {
        nextException = std::lower_bound(nextException, exceptions->end(), c.day);
        if (nextException != exceptions->end() && *nextException == c.day) continue;
        days.push_back(int(c.day));
        ++added;
    }
    return added;
}
