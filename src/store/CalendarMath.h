#pragma once
// Gregorian calendar arithmetic on whole day numbers (days since 30 Dec 1899), in 64-bit
// integers so that rule arithmetic on hand-made values cannot overflow. The proleptic Gregorian
// calendar is used for every year, including years before 1583 and years below 1.
#include <cstdint>

namespace CalendarMath
{

struct YearMonthDay {
    int64_t year;
    int month; // 1 to 12
    int day;   // 1 to 31
};

// Floor division and modulo: floorMod(-1, 7) is 6.
int64_t floorDiv(int64_t a, int64_t b);
int64_t floorMod(int64_t a, int64_t b);

int64_t dayFromCivil(int64_t year, int month, int day);
YearMonthDay civilFromDay(int64_t day);

bool isLeapYear(int64_t year);
int daysInMonth(int64_t year, int month);

// 1 = Sunday ... 7 = Saturday.
int dayOfWeek(int64_t day);

// Months counted from January of year 0: year * 12 + month - 1, and back.
inline int64_t monthIndex(int64_t year, int month)
{
    return year * 12 + (month - 1);
}
inline int64_t yearOfMonthIndex(int64_t mi)
{
    return floorDiv(mi, 12);
}
inline int monthOfMonthIndex(int64_t mi)
{
    return int(floorMod(mi, 12)) + 1;
}

} // namespace CalendarMath
