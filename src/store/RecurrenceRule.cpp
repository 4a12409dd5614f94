#include "store/RecurrenceRule.h"

#include "store/CalendarMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace CalendarMath;

namespace
{

constexpr int64_t NoDay = std::numeric_limits<int64_t>::max();
const int64_t MinMonthIndex = monthIndex(1, 1);
const int64_t MaxMonthIndex = monthIndex(9999, 12);

enum Pattern { Daily = 1, Weekly = 2, Monthly = 3, Yearly = 4 };
enum Kind { AnyDay = 0, Workday = 1, Holiday = 2, FirstWeekdayKind = 3, LastKind = 9 };
constexpr int LastOrdinal = 4;

int64_t ceilDiv(int64_t a, int64_t b)
{
    return -floorDiv(-a, b);
}

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

int nthDayOfMonth(int ordinal, int kind, int64_t year, int month)
{
    const int len = daysInMonth(year, month);
    const int64_t first = dayFromCivil(year, month, 1);
    const int dowFirst = dayOfWeek(first);
    const int dowLast = dayOfWeek(first + len - 1);
    const bool last = ordinal == LastOrdinal;
    switch (kind) {
    case AnyDay:
        return last ? len : ordinal + 1;
    case Workday: {
        if (last) return dowLast == 7 ? len - 1 : dowLast == 1 ? len - 2 : len;
        int day = dowFirst == 1 ? 2 : dowFirst == 7 ? 3 : 1;
        int dow = dowFirst == 1 ? 2 : dowFirst == 7 ? 2 : dowFirst;
        for (int i = 0; i < ordinal; ++i) {
            const int step = dow == 6 ? 3 : 1;
            day += step;
            dow = dow == 6 ? 2 : dow + 1;
        }
        return day;
    }
    case Holiday: {
        if (last) return (dowLast == 1 || dowLast == 7) ? len : len - dowLast + 1;
        int day = (dowFirst == 1 || dowFirst == 7) ? 1 : 8 - dowFirst;
        int dow = (dowFirst == 1 || dowFirst == 7) ? dowFirst : 7;
        for (int i = 0; i < ordinal; ++i) {
            day += dow == 7 ? 1 : 6;
            dow = dow == 7 ? 1 : 7;
        }
        return day;
    }
    default:
        if (last) return len - (dowLast - kind + 9) % 7;
        return (kind - dowFirst + 5) % 7 + 1 + 7 * ordinal;
    }
}

bool validOrdinalAndKind(int ordinal, int kind)
{
    return ordinal >= 0 && ordinal <= LastOrdinal && kind >= AnyDay && kind <= LastKind;
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

    Sequence(int pattern, int variant, const QString &weekdays, int comboBox4, int comboBox3,
             int comboBox2, int edit2, int edit1, SerialDateTime ruleStart);

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
    bool m_mask[8] = {};
    int m_maskCount = 0;
    // Day of month: D (fixed day, clamped to the month) when m_ordinal < 0, else NthDayOfMonth.
    int m_dayD = 0;
    int m_ordinal = -1;
    int m_dayKind = 0;
};

Sequence::Sequence(int pattern, int variant, const QString &weekdays, int comboBox4, int comboBox3,
                   int comboBox2, int edit2, int edit1, SerialDateTime ruleStart)
{
    const std::optional<int64_t> t = dayOfValue(ruleStart, false);
    if (!t) return;
    m_start = *t;
    const YearMonthDay ymd = civilFromDay(m_start);

    // Monthly and yearly: the candidate month, moved one period on when its day is before T.
    auto startMonthly = [&](int64_t candidateMonth) {
        m_kind = MonthPeriodic;
        m_month0 = candidateMonth;
        if (monthlyDay(0) < m_start) m_month0 += m_step;
    };

    switch (pattern) {
    case Daily:
        if (variant == 1 && edit1 >= 1) {
            m_kind = EveryNDays;
            m_step = edit1;
            m_first = m_start;
        } else if (variant == 2) {
            m_kind = EveryWorkday;
            const int dow = dayOfWeek(m_start);
            m_first = m_start + (dow == 7 ? 2 : dow == 1 ? 1 : 0);
        }
        break;
    case Weekly: {
        if (edit1 < 1 || weekdays.size() != 7) return;
        for (int i = 0; i < 7; ++i) {
            const QChar ch = weekdays.at(i);
            if (ch != u'0' && ch != u'1') return;
            m_mask[i + 1] = ch == u'1';
            m_maskCount += m_mask[i + 1] ? 1 : 0;
        }
        if (m_maskCount == 0) return;
        m_kind = WeeklyKind;
        m_step = 7 * int64_t(edit1);
        m_week0 = m_start - (dayOfWeek(m_start) - 1);
        break;
    }
    case Monthly:
        if (variant == 1 && edit1 >= 1 && edit2 >= 1) {
            m_dayD = edit1;
            m_step = edit2;
        } else if (variant == 2 && edit1 >= 1 && validOrdinalAndKind(comboBox2, comboBox3)) {
            m_ordinal = comboBox2;
            m_dayKind = comboBox3;
            m_step = edit1;
        } else {
            return;
        }
        startMonthly(monthIndex(ymd.year, ymd.month));
        break;
    case Yearly:
        m_step = 12;
        if (variant == 1 && edit1 >= 1 && comboBox2 >= 0 && comboBox2 <= 11) {
            m_dayD = edit1;
            startMonthly(monthIndex(ymd.year, comboBox2 + 1));
        } else if (variant == 2 && comboBox4 >= 0 && comboBox4 <= 11 &&
                   validOrdinalAndKind(comboBox2, comboBox3)) {
            m_ordinal = comboBox2;
            m_dayKind = comboBox3;
            startMonthly(monthIndex(ymd.year, comboBox4 + 1));
        }
        break;
    default:
        break;
    }
}

int Sequence::dayInMonth(int64_t mi) const
{
    const int64_t y = yearOfMonthIndex(mi);
    const int m = monthOfMonthIndex(mi);
    if (m_ordinal < 0) return std::min(m_dayD, daysInMonth(y, m));
    return nthDayOfMonth(m_ordinal, m_dayKind, y, m);
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
        if (m_mask[dayOfWeek(d)]) return d;
    const int64_t next = sunday + m_step;
    for (int64_t d = next; d < next + 7; ++d)
        if (m_mask[dayOfWeek(d)]) return d;
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
            d += dayOfWeek(d) == 6 ? 3 : 1;
        break;
    }
    case WeeklyKind: {
        int inFirstWeek = 0;
        for (int w = dayOfWeek(m_start); w <= 7; ++w)
            inFirstWeek += m_mask[w] ? 1 : 0;
        int64_t sunday = m_week0;
        int64_t index = n; // which set day, counted from fromDow in the week of `sunday`
        int fromDow = dayOfWeek(m_start);
        if (n > inFirstWeek) {
            const int64_t rest = n - inFirstWeek - 1;
            const int64_t periods = rest / m_maskCount + 1;
            if (periods > (int64_t(Recurrence::MaxDay) - m_week0) / m_step) return NoDay;
            sunday = m_week0 + periods * m_step;
            index = rest % m_maskCount + 1;
            fromDow = 1;
        }
        for (int w = fromDow; w <= 7; ++w)
            if (m_mask[w] && --index == 0) {
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
        c.day = d + (dow == 7 ? 2 : dow == 1 ? 1 : 0);
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
        c.day += dayOfWeek(c.day) == 6 ? 3 : 1;
        break;
    case WeeklyKind: {
        // Next day; from a Saturday the next active week's Sunday.
        const int64_t next = dayOfWeek(c.day) == 7 ? c.day + m_step - 6 : c.day + 1;
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

Sequence sequenceOf(const RecurrenceRule &r)
{
    return Sequence(r.RadioButton1, r.RadioButton2, r.Weekdays, r.ComboBox4, r.ComboBox3,
                    r.ComboBox2, r.Edit2, r.Edit1, r.startTime);
}

} // namespace

int NthDayOfMonth(int ordinal, int kind, int year, int month)
{
    if (!validOrdinalAndKind(ordinal, kind) || month < 1 || month > 12 || year < 1 || year > 9999)
        return 0;
    return nthDayOfMonth(ordinal, kind, year, month);
}

int NthOccurrenceDate(int pattern, int variant, const QString &weekdays, int comboBox4,
                      int comboBox3, int comboBox2, int n, int edit2, int edit1,
                      SerialDateTime ruleStart)
{
    const Sequence seq(pattern, variant, weekdays, comboBox4, comboBox3, comboBox2, edit2, edit1,
                       ruleStart);
    const int64_t d = seq.nth(n);
    return d == NoDay ? 0 : int(d);
}

std::optional<int> nthOccurrenceDay(const RecurrenceRule &rule, int n)
{
    const int64_t d = sequenceOf(rule).nth(n);
    if (d == NoDay) return std::nullopt;
    return int(d);
}

int expandOccurrenceDays(const RecurrenceRule &rule, int firstDay, int endDay, int maxCount,
                         std::vector<int> &days)
{
    if (maxCount <= 0) return 0;
    const Sequence seq = sequenceOf(rule);
    const std::optional<int64_t> endOfRule = dayOfValue(rule.endTime, true);
    if (!seq.valid() || !endOfRule) return 0;
    const int64_t last = std::min<int64_t>(int64_t(endDay) - 1, *endOfRule);
    const int64_t from = int64_t(firstDay) - rule.ComboBox1;
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
