#include "core/DateTimeValue.h"

#include <cmath>

namespace DateTimeValue {

namespace {
qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
} // namespace

qint64 toMs(TDateTime v) { return std::llround(v * double(MsPerDay)); }

TDateTime fromMs(qint64 ms)
{
    const qint64 day = floorDiv(ms, MsPerDay);
    const qint64 rest = ms - day * MsPerDay;
    return double(day) + double(rest) / double(MsPerDay);
}

int dayOf(TDateTime v) { return int(floorDiv(toMs(v), MsPerDay)); }

int msOfDay(TDateTime v)
{
    const qint64 ms = toMs(v);
    return int(ms - floorDiv(ms, MsPerDay) * MsPerDay);
}

int minuteOfDay(TDateTime v) { return msOfDay(v) / 60000; }

int dayOfWeek(TDateTime v)
{
    // Day 0 (30 Dec 1899) was a Saturday.
    const int d = dayOf(v);
    return int(((d % 7) + 7 + 6) % 7) + 1;
}

QDate toQDate(TDateTime v) { return QDate::fromJulianDay(JulianOfDayZero + dayOf(v)); }

QTime toQTime(TDateTime v) { return QTime::fromMSecsSinceStartOfDay(msOfDay(v)); }

QDateTime toQDateTime(TDateTime v) { return QDateTime(toQDate(v), toQTime(v)); }

TDateTime fromQDate(const QDate &d)
{
    if (!d.isValid())
        return 0.0;
    return double(d.toJulianDay() - JulianOfDayZero);
}

TDateTime fromQDateTime(const QDateTime &dt)
{
    const qint64 ms = (dt.date().toJulianDay() - JulianOfDayZero) * MsPerDay +
                      dt.time().msecsSinceStartOfDay();
    return fromMs(ms);
}

bool isValidDate(int year, int month, int day) { return QDate::isValid(year, month, day); }

TDateTime encodeDate(int year, int month, int day)
{
    return fromQDate(QDate(year, month, day));
}

TDateTime encodeTime(int hour, int minute, int second, int ms)
{
    const qint64 total = ((qint64(hour) * 60 + minute) * 60 + second) * 1000 + ms;
    return double(total) / double(MsPerDay);
}

} // namespace DateTimeValue
