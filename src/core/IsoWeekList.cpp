#include "core/IsoWeekList.h"

#include "core/CalendarMath.h"

namespace IsoWeekList
{
namespace
{
// Days `day` lies after the Monday on or before it: 0 (Monday) to 6 (Sunday).
int daysAfterMonday(SerialDateTime day)
{
    return int(CalendarMath::floorMod(DateTimeValue::dayOfWeek(day) - 2, 7));
}
} // namespace

Week weekOf(SerialDateTime day)
{
    int year = 0;
    const int week = DateTimeValue::toQDate(day).weekNumber(&year);
    return {year, week};
}

SerialDateTime listStart(int year)
{
    const SerialDateTime jan1 = DateTimeValue::encodeDate(year, 1, 1);
    return jan1 - daysAfterMonday(jan1);
}

int cellOf(SerialDateTime day)
{
    const SerialDateTime d = DateTimeValue::dayOf(day);
    return int(d - daysAfterMonday(d) - listStart(DateTimeValue::toQDate(d).year())) / 7;
}

Week cellWeek(int year, int cell)
{
    // The Thursday of a week decides the ISO year it belongs to.
    return weekOf(listStart(year) + cell * 7 + 3);
}

SerialDateTime cellDay(int year, int cell, SerialDateTime weekdayOf)
{
    return listStart(year) + cell * 7 + daysAfterMonday(DateTimeValue::dayOf(weekdayOf));
}

} // namespace IsoWeekList
