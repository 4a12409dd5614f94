#pragma once
// Short ways to build recurrence rules in tests. Every rule starts at 09:00 and its occurrences
// end at 10:30; without an end date a rule never ends (end = start + 100000 days).
#include "store/RecurrenceRule.h"

#include <QDate>

#include <vector>

namespace Rules
{

inline int day(const QDate &d)
{
    return int(DateTimeValue::fromQDate(d));
}
inline QDate date(int day)
{
    return DateTimeValue::toQDate(day);
}

using Pattern = Recurrence::Pattern;
using Variant = Recurrence::Variant;
using EndRule = Recurrence::EndRule;
using Ordinal = Recurrence::Ordinal;
using DayKind = Recurrence::DayKind;

inline RecurrenceRule base(Pattern pattern, Variant variant, const QDate &start, const QDate &end)
{
    RecurrenceRule r;
    r.pattern = pattern;
    r.variant = variant;
    r.endRule = end.isValid() ? EndRule::OnDate : EndRule::Never;
    r.startTime = day(start) + DateTimeValue::encodeTime(9, 0);
    const int endDay = end.isValid() ? day(end) : day(start) + 100000;
    r.endTime = endDay + DateTimeValue::encodeTime(10, 30);
    return r;
}

inline RecurrenceRule everyNDays(int n, const QDate &start, const QDate &end = {})
{
    RecurrenceRule r = base(Pattern::Daily, Variant::EveryNDays, start, end);
    r.interval = n;
    return r;
}

inline RecurrenceRule everyWorkday(const QDate &start, const QDate &end = {})
{
    return base(Pattern::Daily, Variant::EveryWorkday, start, end);
}

// Every n weeks on `weekdays` (WeekdaySet's text form, "0100010" for Monday and Friday; any
// other text gives no weekday).
inline RecurrenceRule weekly(int n, WeekdaySet weekdays, const QDate &start, const QDate &end = {})
{
    RecurrenceRule r = base(Pattern::Weekly, Variant::EveryNWeeks, start, end);
    r.interval = n;
    r.weekdays = weekdays;
    return r;
}
inline RecurrenceRule weekly(int n, const QString &weekdays, const QDate &start,
                             const QDate &end = {})
{
    return weekly(n, WeekdaySet::fromText(weekdays).value_or(WeekdaySet{}), start, end);
}

// Day D of every M months.
inline RecurrenceRule monthlyOnDay(int dayOfMonth, int months, const QDate &start,
                                   const QDate &end = {})
{
    RecurrenceRule r = base(Pattern::Monthly, Variant::DayOfMonth, start, end);
    r.dayOfMonth = dayOfMonth;
    r.interval = months;
    return r;
}

// The K-th (0..3, 4 last) day of a kind (0..9) every M months.
inline RecurrenceRule monthlyOnKind(int ordinal, int kind, int months, const QDate &start,
                                    const QDate &end = {})
{
    RecurrenceRule r = base(Pattern::Monthly, Variant::NthKindOfDay, start, end);
    r.ordinal = Ordinal(ordinal);
    r.dayKind = DayKind(kind);
    r.interval = months;
    return r;
}

// Every year on day D of month 1..12.
inline RecurrenceRule yearlyOnDate(int month, int dayOfMonth, const QDate &start,
                                   const QDate &end = {})
{
    RecurrenceRule r = base(Pattern::Yearly, Variant::FixedDate, start, end);
    r.month = month;
    r.dayOfMonth = dayOfMonth;
    return r;
}

// Every year on the K-th (0..3, 4 last) day of a kind (0..9) in month 1..12.
inline RecurrenceRule yearlyOnKind(int ordinal, int kind, int month, const QDate &start,
                                   const QDate &end = {})
{
    RecurrenceRule r = base(Pattern::Yearly, Variant::NthKindOfDay, start, end);
    r.ordinal = Ordinal(ordinal);
    r.dayKind = DayKind(kind);
    r.month = month;
    return r;
}

// Occurrence dates in the span from `first` to `last`, both included.
inline std::vector<QDate> dates(const RecurrenceRule &r, const QDate &first, const QDate &last,
                                int maxCount = 100000)
{
    std::vector<int> days;
    expandOccurrenceDays(r, day(first), day(last) + 1, maxCount, days);
    std::vector<QDate> out;
    for (int d : days)
        out.push_back(date(d));
    return out;
}

// The first `count` occurrences by nthOccurrenceDay (a missing one as the invalid date).
inline std::vector<QDate> nthDates(const RecurrenceRule &r, int count)
{
    std::vector<QDate> out;
    for (int n = 1; n <= count; ++n) {
        const std::optional<int> d = nthOccurrenceDay(r, n);
        out.push_back(d ? date(*d) : QDate());
    }
    return out;
}

} // namespace Rules
