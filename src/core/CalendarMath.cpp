#include "core/CalendarMath.h"

namespace CalendarMath
{

namespace
{
// Day number of 1 Jan 1970, where the civil algorithms below count from.
constexpr int64_t DayOf1970 = 25569;
} // namespace

// Era-based conversion (400-year cycles of 146097 days), valid for any year that fits.
int64_t dayFromCivil(int64_t year, int month, int day)
{
    const int64_t y = month <= 2 ? year - 1 : year;
    const int64_t era = floorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (month + 9) % 12; // March = 0
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + DayOf1970;
}

YearMonthDay civilFromDay(int64_t day)
{
    const int64_t z = day - DayOf1970 + 719468;
    const int64_t era = floorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = int(doy - (153 * mp + 2) / 5 + 1);
    const int m = int(mp < 10 ? mp + 3 : mp - 9);
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return {y, m, d};
}

int daysInMonth(int64_t year, int month)
{
    static constexpr int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && isLeapYear(year)) return 29;
    return Lengths[month - 1];
}

} // namespace CalendarMath
