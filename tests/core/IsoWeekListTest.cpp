#include "core/IsoWeekList.h"

#include <gtest/gtest.h>

namespace
{
SerialDateTime day(int y, int m, int d)
{
    return DateTimeValue::encodeDate(y, m, d);
}

using IsoWeekList::Week;

// The ends of the list: the week of 1 January may belong to the year before, and the weeks
// after the year's last run on into the next year.
TEST(IsoWeekList, CellsAtTheEndsOfTheYear)
{
    // 1 Jan 2021 is a Friday in week 53 of 2020.
    EXPECT_EQ(IsoWeekList::listStart(2021), day(2020, 12, 28));
    EXPECT_EQ(IsoWeekList::cellWeek(2021, 0), (Week{2020, 53}));
    EXPECT_EQ(IsoWeekList::cellWeek(2021, 1), (Week{2021, 1}));
    EXPECT_EQ(IsoWeekList::cellWeek(2021, 52), (Week{2021, 52}));
    EXPECT_EQ(IsoWeekList::cellWeek(2021, 53), (Week{2022, 1}));
    // 1 Jan 2026 is a Thursday: week 1 of its own year; 2026 has 53 weeks.
    EXPECT_EQ(IsoWeekList::cellWeek(2026, 0), (Week{2026, 1}));
    EXPECT_EQ(IsoWeekList::cellWeek(2026, 52), (Week{2026, 53}));
    EXPECT_EQ(IsoWeekList::cellWeek(2026, IsoWeekList::CellCount - 1), (Week{2027, 3}));

    // 31 Dec 2024 lies in week 1 of 2025 but in the last row of 2024's list.
    EXPECT_EQ(IsoWeekList::weekOf(day(2024, 12, 31)), (Week{2025, 1}));
    EXPECT_EQ(IsoWeekList::cellOf(day(2024, 12, 31) + 0.9), 52);
    EXPECT_EQ(IsoWeekList::cellOf(day(2021, 1, 3)), 0) << "a Sunday ends its week";
    EXPECT_EQ(IsoWeekList::cellOf(day(2021, 1, 4)), 1);
}

TEST(IsoWeekList, CellDayKeepsTheWeekdayOfTheSelection)
{
    // Sunday 7 Jan 2024 -> Sunday of the list's week 10 (2024 starts on a Monday).
    EXPECT_EQ(IsoWeekList::cellDay(2024, 9, day(2024, 1, 7)), day(2024, 3, 10));
    // Monday 12 Feb 2024 -> Monday of the week holding 1 January 2021.
    EXPECT_EQ(IsoWeekList::cellDay(2021, 0, day(2024, 2, 12)), day(2020, 12, 28));
}
} // namespace
