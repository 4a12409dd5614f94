#include "core/DateTimeValue.h"

#include "core/CalendarMath.h"

#include <cmath>

namespace DateTimeValue
{

using CalendarMath::floorDiv;

qint64 toMs(SerialDateTime v)
{
    return std::llround(v * double(MsPerDay));
}

SerialDateTime fromMs(qint64 ms)
{
    const qint64 day = floorDiv(ms, MsPerDay);
    const qint64 rest = ms - day * MsPerDay;
    return double(day) + double(rest) / double(MsPerDay);
}

int dayOf(SerialDateTime v)
{
    return int(floorDiv(toMs(v), MsPerDay));
}

int msOfDay(SerialDateTime v)
{
    const qint64 ms = toMs(v);
    return int(ms - floorDiv(ms, MsPerDay) * MsPerDay);
}

int minuteOfDay(SerialDateTime v)
{
    return msOfDay(v) / 60000;
}

int dayOfWeek(SerialDateTime v)
{
    return CalendarMath::dayOfWeek(dayOf(v));
}

QDate toQDate(SerialDateTime v)
{
    return QDate::fromJulianDay(JulianOfDayZero + dayOf(v));
}

QTime toQTime(SerialDateTime v)
{
    return QTime::fromMSecsSinceStartOfDay(msOfDay(v));
}

QDateTime toQDateTime(SerialDateTime v)
{
    return QDateTime(toQDate(v), toQTime(v));
}

SerialDateTime fromQDate(const QDate &d)
{
    if (!d.isValid()) return 0.0;
    return double(d.toJulianDay() - JulianOfDayZero);
}

SerialDateTime fromQDateTime(const QDateTime &dt)
{
    const qint64 ms =
        (dt.date().toJulianDay() - JulianOfDayZero) * MsPerDay + dt.time().msecsSinceStartOfDay();
    return fromMs(ms);
}

bool isValidDate(int year, int month, int day)
{
    return QDate::isValid(year, month, day);
}

SerialDateTime encodeDate(int year, int month, int day)
{
    return fromQDate(QDate(year, month, day));
}

SerialDateTime encodeTime(int hour, int minute, int second, int ms)
{
    const qint64 total = ((qint64(hour) * 60 + minute) * 60 + second) * 1000 + ms;
    return double(total) / double(MsPerDay);
}

} // namespace DateTimeValue
