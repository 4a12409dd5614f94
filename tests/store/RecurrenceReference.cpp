#include "RecurrenceReference.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace DateTimeValue;
using Recurrence::Pattern;
using Recurrence::Variant;

namespace Reference
{

namespace
{

bool matchesKind(const QDate &d, int kind)
{
    const int dow = d.dayOfWeek() % 7 + 1; // Qt: 1 Monday .. 7 Sunday
    switch (kind) {
    case 0:
        return true;
    case 1:
        return dow >= 2 && dow <= 6;
    case 2:
        return dow == 1 || dow == 7;
    default:
        return dow == kind - 2;
    }
}

int dayNumber(const QDate &d)
{
    return int(fromQDate(d));
}
QDate dateOf(int day)
{
    return toQDate(day);
}

// Walks one rule's occurrences in order; next() gives nullopt when the rule cannot advance or
// runs past 31 Dec 9999.
class Walk
{
public:
    explicit Walk(const RecurrenceRule &r) : m_r(r)
    {
        if (!std::isfinite(r.startTime) || std::abs(r.startTime) > 4e6) return;
        const QDate t = toQDate(r.startTime);
        if (t.year() < 1 || t.year() > 9999) return;
        m_t = t;
        m_ok = validRule();
    }

    std::optional<int> next()
    {
        if (!m_ok) return std::nullopt;
        std::optional<int> d = m_started ? step() : first();
        m_started = true;
        if (!d || *d > Recurrence::MaxDay) {
            m_ok = false;
            return std::nullopt;
        }
        m_last = *d;
        return d;
    }

private:
    bool validRule() const
    {
        const int ordinal = int(m_r.ordinal), kind = int(m_r.dayKind);
        const bool kindOk = ordinal >= 0 && ordinal <= 4 && kind >= 0 && kind <= 9;
        const bool monthOk = m_r.month >= 1 && m_r.month <= 12;
        switch (m_r.pattern) {
        case Pattern::Daily:
            return (m_r.variant == Variant::EveryNDays && m_r.interval >= 1) ||
                   m_r.variant == Variant::EveryWorkday;
        case Pattern::Weekly:
            return m_r.interval >= 1 && !m_r.weekdays.isEmpty();
        case Pattern::Monthly:
            return (m_r.variant == Variant::DayOfMonth && m_r.dayOfMonth >= 1 &&
                    m_r.interval >= 1) ||
                   (m_r.variant == Variant::NthKindOfDay && m_r.interval >= 1 && kindOk);
        case Pattern::Yearly:
            return (m_r.variant == Variant::FixedDate && m_r.dayOfMonth >= 1 && monthOk) ||
                   (m_r.variant == Variant::NthKindOfDay && monthOk && kindOk);
        }
        return false;
    }

    bool weekdaySet(int day) const
    {
        return m_r.weekdays.contains(dateOf(day).dayOfWeek() % 7 + 1);
    }

    // Monthly and yearly: the day of the occurrence in month (y, m), or nullopt past 9999.
    std::optional<int> dayIn(int y, int m) const
    {
        if (y > 9999) return std::nullopt;
        const int len = QDate(y, m, 1).daysInMonth();
        int dom = 0;
        if (m_r.variant == Variant::NthKindOfDay)
            dom = nthDayOfMonth(int(m_r.ordinal), int(m_r.dayKind), y, m);
        else
            dom = std::min(m_r.dayOfMonth, len);
        return dayNumber(QDate(y, m, dom));
    }

    int monthStep() const { return m_r.pattern == Pattern::Yearly ? 12 : m_r.interval; }

    void addMonths(long long k)
    {
        const long long total = (long long)m_m + k - 1;
        m_y = int(std::min<long long>(m_y + total / 12, 100000));
        m_m = int(total % 12) + 1;
    }

    std::optional<int> first()
    {
        const int t = dayNumber(m_t);
        switch (m_r.pattern) {
        case Pattern::Daily: {
            if (m_r.variant == Variant::EveryNDays) return t;
            const int dow = m_t.dayOfWeek() % 7 + 1;
            return dow == 7 ? t + 2 : dow == 1 ? t + 1 : t;
        }
        case Pattern::Weekly:
            if (weekdaySet(t)) return t;
            m_last = t;
            return step();
        default: {
            m_y = m_t.year();
            m_m = m_r.pattern == Pattern::Monthly ? m_t.month() : m_r.month;
            std::optional<int> d = dayIn(m_y, m_m);
            if (d && *d < t) {
                addMonths(monthStep());
                d = dayIn(m_y, m_m);
            }
            return d;
        }
        }
    }

    std::optional<int> step()
    {
        const long long d = m_last;
        switch (m_r.pattern) {
        case Pattern::Daily:
            if (m_r.variant == Variant::EveryNDays)
                return d + m_r.interval > Recurrence::MaxDay ? std::nullopt
                                                             : std::optional<int>(d + m_r.interval);
            for (long long n = d + 1;; ++n)
                if (matchesKind(dateOf(int(n)), 1)) return int(n);
        case Pattern::Weekly: {
            long long cur = d;
            for (;;) {
                long long n = cur + 1;
                if (dateOf(int(n)).dayOfWeek() == 7) // a Sunday: a new week begins
                    n = cur + 7LL * m_r.interval - 6;
                if (n > Recurrence::MaxDay) return std::nullopt;
                if (weekdaySet(int(n))) return int(n);
                cur = n;
            }
        }
        default:
            addMonths(monthStep());
            return dayIn(m_y, m_m);
        }
    }

    const RecurrenceRule &m_r;
    QDate m_t;
    bool m_ok = false;
    bool m_started = false;
    int m_last = 0;
    int m_y = 0;
    int m_m = 0;
};

} // namespace

int nthDayOfMonth(int ordinal, int kind, int year, int month)
{
    const QDate first(year, month, 1);
    std::vector<int> days;
    for (int d = 1; d <= first.daysInMonth(); ++d)
        if (matchesKind(QDate(year, month, d), kind)) days.push_back(d);
    return ordinal == 4 ? days.back() : days.at(ordinal);
}

std::vector<int> firstOccurrences(const RecurrenceRule &rule, int count)
{
    std::vector<int> out;
    Walk walk(rule);
    while (int(out.size()) < count) {
        const std::optional<int> d = walk.next();
        if (!d) break;
        out.push_back(*d);
    }
    return out;
}

std::vector<int> expand(const RecurrenceRule &rule, int firstDay, int endDay, int maxCount)
{
    std::vector<int> out;
    if (!std::isfinite(rule.endTime)) return out;
    const double e = std::clamp(rule.endTime, -1e7, 1e7);
    const long long end = (long long)std::floor(e);
    Walk walk(rule);
    for (;;) {
        const std::optional<int> d = walk.next();
        if (!d || *d >= endDay || *d > end) break;
        if ((long long)*d < (long long)firstDay - rule.extraDays) continue;
        if (std::find(rule.exceptionDays.begin(), rule.exceptionDays.end(), *d) !=
            rule.exceptionDays.end())
            continue;
        if (int(out.size()) < maxCount) out.push_back(*d);
    }
    return out;
}

} // namespace Reference
