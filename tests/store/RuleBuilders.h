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

inline RecurrenceRule base(int pattern, int variant, const QDate &start, const QDate &end)
{
    RecurrenceRule r;
    r.RadioButton1 = pattern;
    r.RadioButton2 = variant;
    r.RadioButton3 = end.isValid() ? 1 : 3;
    r.startTime = day(start) + DateTimeValue::encodeTime(9, 0);
    const int endDay = end.isValid() ? day(end) : day(start) + 100000;
    r.endTime = endDay + DateTimeValue::encodeTime(10, 30);
    return r;
}

inline RecurrenceRule everyNDays(int n, const QDate &start, const QDate &end = {})
{
    RecurrenceRule r = base(1, 1, start, end);
    r.Edit1 = n;
    return r;
}

inline RecurrenceRule everyWorkday(const QDate &start, const QDate &end = {})
{
    return base(1, 2, start, end);
}

inline RecurrenceRule weekly(int n, const QString &weekdays, const QDate &start,
                             const QDate &end = {})
{
    RecurrenceRule r = base(2, 1, start, end);
    r.Edit1 = n;
    r.Weekdays = weekdays;
    return r;
}

// Day D of every M months.
inline RecurrenceRule monthlyOnDay(int dayOfMonth, int months, const QDate &start,
                                   const QDate &end = {})
{
    RecurrenceRule r = base(3, 1, start, end);
    r.Edit1 = dayOfMonth;
    r.Edit2 = months;
    return r;
}

// The K-th (0..3, 4 last) day of a kind (0..9) every M months.
inline RecurrenceRule monthlyOnKind(int ordinal, int kind, int months, const QDate &start,
                                    const QDate &end = {})
{
    RecurrenceRule r = base(3, 2, start, end);
    r.ComboBox2 = ordinal;
    r.ComboBox3 = kind;
    r.Edit1 = months;
    return r;
}

// Every year on day D of month 1..12.
inline RecurrenceRule yearlyOnDate(int month, int dayOfMonth, const QDate &start,
                                   const QDate &end = {})
{
    RecurrenceRule r = base(4, 1, start, end);
    r.ComboBox2 = month - 1;
    r.Edit1 = dayOfMonth;
    return r;
}

// Every year on the K-th (0..3, 4 last) day of a kind (0..9) in month 1..12.
inline RecurrenceRule yearlyOnKind(int ordinal, int kind, int month, const QDate &start,
                                   const QDate &end = {})
{
    RecurrenceRule r = base(4, 2, start, end);
    r.ComboBox2 = ordinal;
    r.ComboBox3 = kind;
    r.ComboBox4 = month - 1;
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

// The first `count` occurrences by NthOccurrenceDate.
inline std::vector<QDate> nthDates(const RecurrenceRule &r, int count)
{
    std::vector<QDate> out;
    for (int n = 1; n <= count; ++n)
        out.push_back(
            date(NthOccurrenceDate(r.RadioButton1, r.RadioButton2, r.Weekdays, r.ComboBox4,
                                   r.ComboBox3, r.ComboBox2, n, r.Edit2, r.Edit1, r.startTime)));
    return out;
}

} // namespace Rules
