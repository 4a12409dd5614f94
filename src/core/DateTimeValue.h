#pragma once
// The program's date-time value: a double whose whole part counts days since 30 Dec 1899 and
// whose fraction is the time of day. Values before that day use the floor: -0.75 is
// 29 Dec 1899 06:00, so adding a fraction always moves forward in time. All conversions
// between this value and Qt's date types live here; they round to the millisecond so that a
// time built from hours and minutes always reads back as the same hours and minutes. Dates go
// through QDate's Julian days; the day arithmetic on day numbers (floor division, day of week)
// is CalendarMath's.
#include <QDate>
#include <QDateTime>
#include <QTime>

using SerialDateTime = double;

namespace DateTimeValue
{

constexpr qint64 MsPerDay = 86400000;
constexpr double MinutesPerDay = 1440.0;
// Julian day number of 30 Dec 1899, the day number 0.
constexpr qint64 JulianOfDayZero = 2415019;

// Milliseconds since day zero, rounded to the nearest millisecond.
qint64 toMs(SerialDateTime v);
SerialDateTime fromMs(qint64 ms);

// Day number of the value (floor after rounding to the millisecond).
int dayOf(SerialDateTime v);
// Milliseconds since midnight, 0 to MsPerDay - 1.
int msOfDay(SerialDateTime v);
// Minutes since midnight, 0 to 1439 (seconds are dropped).
int minuteOfDay(SerialDateTime v);
// 1 = Sunday ... 7 = Saturday.
int dayOfWeek(SerialDateTime v);

QDate toQDate(SerialDateTime v);
QTime toQTime(SerialDateTime v);
QDateTime toQDateTime(SerialDateTime v);
SerialDateTime fromQDate(const QDate &d);
SerialDateTime fromQDateTime(const QDateTime &dt);
// Invalid dates give 0 (30 Dec 1899); use isValidDate first where that matters.
SerialDateTime encodeDate(int year, int month, int day);
// Fraction of a day; hour 24 gives 1.0.
SerialDateTime encodeTime(int hour, int minute, int second = 0, int ms = 0);
bool isValidDate(int year, int month, int day);

} // namespace DateTimeValue
