#pragma once
// Gregorian calendar arithmetic on whole day numbers (days since 30 Dec 1899), the one home of
// the program's day arithmetic: floor division, civil dates, leap years, month lengths, day of
// week. 64-bit integers, so that rule arithmetic on hand-made values cannot overflow. The
// proleptic Gregorian calendar is used for every year, including years before 1583; years are
// astronomical (year 0 is 1 BC, year -1 is 2 BC). DateTimeValue converts to and from Qt's dates.
#include <cstdint>

namespace CalendarMath
{

struct YearMonthDay {
    int64_t year;
    int month; // 1 to 12
    int day;   // 1 to 31
};

// Floor division and modulo (b > 0 or b < 0, never 0): floorDiv(-1, 7) is -1, floorMod(-1, 7)
// is 6.
constexpr int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
constexpr int64_t floorMod(int64_t a, int64_t b)
{
    return a - floorDiv(a, b) * b;
}
// Division rounded up: ceilDiv(7, 7) is 1, ceilDiv(8, 7) is 2, ceilDiv(-8, 7) is -1.
constexpr int64_t ceilDiv(int64_t a, int64_t b)
{
    return -floorDiv(-a, b);
}

// Day number of a date (any month 1..12 and day; a day past the month's end runs on into the
// next month) and back.
int64_t dayFromCivil(int64_t year, int month, int day);
YearMonthDay civilFromDay(int64_t day);

constexpr bool isLeapYear(int64_t year)
{
    return floorMod(year, 4) == 0 && (floorMod(year, 100) != 0 || floorMod(year, 400) == 0);
}
// Days of month 1..12 of the year; 0 for a month outside 1..12.
int daysInMonth(int64_t year, int month);

// The days of the week as dayOfWeek numbers them.
enum Weekday : int { Sunday = 1, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };

// 1 = Sunday ... 7 = Saturday.
constexpr int dayOfWeek(int64_t day)
{
    // Day 0 (30 Dec 1899) was a Saturday.
    return int(floorMod(day + 6, 7)) + 1;
}

// Months counted from January of year 0: year * 12 + month - 1, and back.
constexpr int64_t monthIndex(int64_t year, int month)
{
    return year * 12 + (month - 1);
}
constexpr int64_t yearOfMonthIndex(int64_t mi)
{
    return floorDiv(mi, 12);
}
constexpr int monthOfMonthIndex(int64_t mi)
{
    return int(floorMod(mi, 12)) + 1;
}

} // namespace CalendarMath
