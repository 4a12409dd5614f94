#pragma once
// Dates and event rows the window tests seed their stores with and compare against.
#include "core/DateTimeValue.h"
#include "store/EventRow.h"
#include "store/RecurrenceColumns.h"

inline SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

// Equal to the millisecond, as the stores keep times.
inline bool sameTime(SerialDateTime a, SerialDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

// A one-time event without alarm in `layer`.
inline EventRow oneTimeEvent(int layer, SerialDateTime start, SerialDateTime end,
                             const QString &subject, const QString &description = {})
{
    return EventRow(QVariantList{QVariant(), layer, start, end, false, false, 0, 0, subject,
                                 description, false});
}

// `row` as a daily series: every day from firstStart's day to lastEnd's day, each occurrence
// at firstStart's time of day until lastEnd's time of day.
inline EventRow dailySeries(EventRow row, SerialDateTime firstStart, SerialDateTime lastEnd)
{
    RecurrenceRule daily;
    daily.pattern = RecurrenceRule::Pattern::Daily;
    daily.variant = RecurrenceRule::Variant::EveryNDays;
    daily.endRule = RecurrenceRule::EndRule::OnDate;
    daily.interval = 1;
    daily.startTime = firstStart;
    daily.endTime = lastEnd;
    row[EventField::Recurring] = true;
    RecurrenceColumns::writeRule(daily, row);
    return row;
}
