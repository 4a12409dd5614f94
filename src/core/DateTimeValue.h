#pragma once
// The program's date-time value: a double whose whole part counts days since 30 Dec 1899 and
// whose fraction is the time of day. Values before that day use the floor: -0.75 is
// 29 Dec 1899 06:00, so adding a fraction always moves forward in time. All conversions
// between this value and Qt's date types live here; they round to the millisecond so that a
// time built from hours and minutes always reads back as the same hours and minutes.
#include <QDate>
#include <QDateTime>
#include <QTime>

using TDateTime = double;

namespace DateTimeValue {

constexpr qint64 MsPerDay = 86400000;
constexpr double MinutesPerDay = 1440.0;
// Julian day number of 30 Dec 1899, the day number 0.
constexpr qint64 JulianOfDayZero = 2415019;

// Milliseconds since day zero, rounded to the nearest millisecond.
qint64 toMs(TDateTime v);
TDateTime fromMs(qint64 ms);

// Day number of the value (floor after rounding to the millisecond).
int dayOf(TDateTime v);
// Milliseconds since midnight, 0 to MsPerDay - 1.
int msOfDay(TDateTime v);
// Minutes since midnight, 0 to 1439 (seconds are dropped).
int minuteOfDay(TDateTime v);
// 1 = Sunday ... 7 = Saturday.
int dayOfWeek(TDateTime v);

QDate toQDate(TDateTime v);
QTime toQTime(TDateTime v);
QDateTime toQDateTime(TDateTime v);
TDateTime fromQDate(const QDate &d);
TDateTime fromQDateTime(const QDateTime &dt);
// Invalid dates give 0 (30 Dec 1899); use isValidDate first where that matters.
TDateTime encodeDate(int year, int month, int day);
// Fraction of a day; hour 24 gives 1.0.
TDateTime encodeTime(int hour, int minute, int second = 0, int ms = 0);
bool isValidDate(int year, int month, int day);

} // namespace DateTimeValue
