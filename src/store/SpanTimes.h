#pragma once
// An item's start and end split into whole days and milliseconds of the day, so that the
// collections compare times as integers (no rounding doubt at midnight).
#include "core/DateTimeValue.h"

namespace SpanTimes
{

inline qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

inline qint64 floorMod(qint64 a, qint64 b)
{
    return a - floorDiv(a, b) * b;
}

struct Split {
    qint64 ms = 0;      // milliseconds since day zero
    qint64 day = 0;     // whole day (floor)
    qint64 msOfDay = 0; // 0 .. MsPerDay - 1
};

inline Split split(SerialDateTime v)
{
    Split s;
    s.ms = DateTimeValue::toMs(v);
    s.day = floorDiv(s.ms, DateTimeValue::MsPerDay);
    s.msOfDay = s.ms - s.day * DateTimeValue::MsPerDay;
    return s;
}

inline qint64 dayMs(qint64 day)
{
    return day * DateTimeValue::MsPerDay;
}

} // namespace SpanTimes
