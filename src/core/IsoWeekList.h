#pragma once
// ISO 8601 week numbers (weeks begin on Monday; week 1 holds the year's first Thursday) and
// the navigator's list of the weeks of one calendar year. The list of year Y starts with the
// week holding 1 January (which may be week 52 or 53 of Y - 1) and runs on week by week past
// the year's last week into the first weeks of Y + 1, CellCount weeks in all.
#include "core/DateTimeValue.h"

namespace IsoWeekList
{

constexpr int CellCount = 56; // 7 columns by 8 rows

struct Week {
    int year = 0; // the ISO year the week belongs to
    int week = 0; // 1 to 53
    friend bool operator==(const Week &, const Week &) = default;
};

// The ISO week holding `day`.
Week weekOf(SerialDateTime day);

// Monday of the week holding 1 January of `year`: the date of cell 0 of its list.
SerialDateTime listStart(int year);
// The cell (0 to CellCount - 1) of the list of `day`'s calendar year that holds `day`.
int cellOf(SerialDateTime day);
// The week cell `cell` of year `year`'s list stands for.
Week cellWeek(int year, int cell);
// The day of the week of cell `cell` in year `year`'s list with the weekday of `weekdayOf`
// (Monday of that week plus as many days as `weekdayOf` lies after its own Monday).
SerialDateTime cellDay(int year, int cell, SerialDateTime weekdayOf);

} // namespace IsoWeekList
