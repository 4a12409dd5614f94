#pragma once
// An item's start and end split into whole days and milliseconds of the day, so that the
// collections compare times as integers (no rounding doubt at midnight).
#include "core/CalendarMath.h"
#include "core/DateTimeValue.h"

namespace SpanTimes
{

struct Split {
    qint64 ms = 0;      // milliseconds since day zero
    qint64 day = 0;     // whole day (floor)
    qint64 msOfDay = 0; // 0 .. MsPerDay - 1
};

inline Split split(SerialDateTime v)
{
    Split s;
    s.ms = DateTimeValue::toMs(v);
    s.day = CalendarMath::floorDiv(s.ms, DateTimeValue::MsPerDay);
    s.msOfDay = s.ms - s.day * DateTimeValue::MsPerDay;
    return s;
}

inline qint64 dayMs(qint64 day)
{
    return day * DateTimeValue::MsPerDay;
}

} // namespace SpanTimes
