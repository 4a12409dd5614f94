#include "RecurrenceReference.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace DateTimeValue;

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
        auto kindOk = [&] {
            return m_r.ComboBox2 >= 0 && m_r.ComboBox2 <= 4 && m_r.ComboBox3 >= 0 &&
                   m_r.ComboBox3 <= 9;
        };
        switch (m_r.RadioButton1) {
        case 1:
            return (m_r.RadioButton2 == 1 && m_r.Edit1 >= 1) || m_r.RadioButton2 == 2;
        case 2:
            return m_r.Edit1 >= 1 && m_r.Weekdays.size() == 7 &&
                   onlyZerosAndOnesWithAOne(m_r.Weekdays);
        case 3:
            return (m_r.RadioButton2 == 1 && m_r.Edit1 >= 1 && m_r.Edit2 >= 1) ||
                   (m_r.RadioButton2 == 2 && m_r.Edit1 >= 1 && kindOk());
        case 4:
            return (m_r.RadioButton2 == 1 && m_r.Edit1 >= 1 && m_r.ComboBox2 >= 0 &&
                    m_r.ComboBox2 <= 11) ||
                   (m_r.RadioButton2 == 2 && m_r.ComboBox4 >= 0 && m_r.ComboBox4 <= 11 && kindOk());
        }
        return false;
    }

    static bool onlyZerosAndOnesWithAOne(const QString &w)
    {
        bool any = false;
        for (QChar c : w) {
            if (c != u'0' && c != u'1') return false;
            any = any || c == u'1';
        }
        return any;
    }

    bool weekdaySet(int day) const
    {
        const int dow = dateOf(day).dayOfWeek() % 7 + 1;
        return m_r.Weekdays.at(dow - 1) == u'1';
    }

    // Monthly and yearly: the day of the occurrence in month (y, m), or nullopt past 9999.
    std::optional<int> dayIn(int y, int m) const
    {
        if (y > 9999) return std::nullopt;
        const int len = QDate(y, m, 1).daysInMonth();
        int dom = 0;
        if (m_r.RadioButton2 == 1)
            dom = std::min(m_r.Edit1, len);
        else
            dom = nthDayOfMonth(m_r.ComboBox2, m_r.ComboBox3, y, m);
        return dayNumber(QDate(y, m, dom));
    }

    int monthStep() const
    {
        if (m_r.RadioButton1 == 4) return 12;
        return m_r.RadioButton2 == 1 ? m_r.Edit2 : m_r.Edit1;
    }

    void addMonths(long long k)
    {
        const long long total = (long long)m_m + k - 1;
        m_y = int(std::min<long long>(m_y + total / 12, 100000));
        m_m = int(total % 12) + 1;
    }

    std::optional<int> first()
    {
        const int t = dayNumber(m_t);
        switch (m_r.RadioButton1) {
        case 1: {
            if (m_r.RadioButton2 == 1) return t;
            const int dow = m_t.dayOfWeek() % 7 + 1;
            return dow == 7 ? t + 2 : dow == 1 ? t + 1 : t;
        }
        case 2:
            if (weekdaySet(t)) return t;
            m_last = t;
            return step();
        default: {
            m_y = m_t.year();
            m_m = m_r.RadioButton1 == 3
                      ? m_t.month()
                      : (m_r.RadioButton2 == 1 ? m_r.ComboBox2 : m_r.ComboBox4) + 1;
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
        switch (m_r.RadioButton1) {
        case 1:
            if (m_r.RadioButton2 == 1)
                return d + m_r.Edit1 > Recurrence::MaxDay ? std::nullopt
                                                          : std::optional<int>(d + m_r.Edit1);
            for (long long n = d + 1;; ++n)
                if (matchesKind(dateOf(int(n)), 1)) return int(n);
        case 2: {
            long long cur = d;
            for (;;) {
                long long n = cur + 1;
                if (dateOf(int(n)).dayOfWeek() == 7) // a Sunday: a new week begins
                    n = cur + 7LL * m_r.Edit1 - 6;
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
        if ((long long)*d < (long long)firstDay - rule.ComboBox1) continue;
        if (std::find(rule.exceptionDays.begin(), rule.exceptionDays.end(), *d) !=
            rule.exceptionDays.end())
            continue;
        if (int(out.size()) < maxCount) out.push_back(*d);
    }
    return out;
}

} // namespace Reference
