#pragma once
// Small builders for span-collection tests: items from calendar dates and clock times.
#include "core/DateTimeValue.h"
#include "store/SpanCollections.h"

#include <memory>

namespace SpanTest
{

inline SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

inline SpanSourceItem item(int id, SerialDateTime start, SerialDateTime end,
                           const QString &subject = {}, bool occurrence = false)
{
    SpanSourceItem i;
    i.id = id;
    i.layer = 1;
    i.startTime = start;
    i.endTime = end;
    i.subject = subject.isEmpty() ? QStringLiteral("e%1").arg(id) : subject;
    i.isOccurrence = occurrence;
    return i;
}

// The collections are large; tests keep them on the heap as the events store does.
inline std::unique_ptr<SpanCollections> makeCollections()
{
    return std::make_unique<SpanCollections>();
}

// A week of a time grid at the 15-minute scale: Monday 4 March 2024 to Sunday 10 March.
inline DaySpanCollection::Request weekRequest(unsigned parts = DaySpanCollection::BothParts)
{
    DaySpanCollection::Request r;
    r.firstDay = at(2024, 3, 4);
    r.spanEnd = at(2024, 3, 11);
    r.firstGridDay = 1;
    r.lastGridDay = 7;
    r.parts = parts;
    r.rowMinutes = 15;
    r.rows = 96;
    return r;
}

} // namespace SpanTest
