#include "RecurrenceReference.h"
#include "store/RecurrenceRule.h"

#include <gtest/gtest.h>

namespace
{

using Recurrence::DayKind;
using Recurrence::Ordinal;
constexpr Ordinal First = Ordinal::First, Second = Ordinal::Second, Fourth = Ordinal::Fourth,
                  Last = Ordinal::Last;
constexpr DayKind Day = DayKind::AnyDay, Workday = DayKind::Workday, Weekend = DayKind::WeekendDay,
                  Monday = DayKind::Monday, Tuesday = DayKind::Tuesday, Friday = DayKind::Friday;

TEST(NthDayOfMonth, AgreesWithAScanOfTheMonthForEveryOrdinalAndKind)
{
    for (int year = 1999; year <= 2030; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int ordinal = 0; ordinal <= 4; ++ordinal)
                for (int kind = 0; kind <= 9; ++kind)
                    ASSERT_EQ(nthDayOfMonth(Ordinal(ordinal), DayKind(kind), year, month),
                              Reference::nthDayOfMonth(ordinal, kind, year, month))
                        << year << "-" << month << " ordinal " << ordinal << " kind " << kind;
}

struct MonthEndCase {
    const char *name;
    int year, month;
    int lastWorkday, lastWeekendDay;
};

class MonthEndingOnEachWeekday : public testing::TestWithParam<MonthEndCase>
{
};

TEST_P(MonthEndingOnEachWeekday, LastWorkdayAndLastWeekendDay)
{
    const MonthEndCase &c = GetParam();
    EXPECT_EQ(nthDayOfMonth(Last, Workday, c.year, c.month), c.lastWorkday);
    EXPECT_EQ(nthDayOfMonth(Last, Weekend, c.year, c.month), c.lastWeekendDay);
}

INSTANTIATE_TEST_SUITE_P(Recurrence, MonthEndingOnEachWeekday,
                         testing::Values(MonthEndCase{"EndsOnSunday_Apr2023", 2023, 4, 28, 30},
                                         MonthEndCase{"EndsOnMonday_Jul2023", 2023, 7, 31, 30},
                                         MonthEndCase{"EndsOnTuesday_Jan2023", 2023, 1, 31, 29},
                                         MonthEndCase{"EndsOnWednesday_May2023", 2023, 5, 31, 28},
                                         MonthEndCase{"EndsOnThursday_Aug2023", 2023, 8, 31, 27},
                                         MonthEndCase{"EndsOnFriday_Mar2023", 2023, 3, 31, 26},
                                         MonthEndCase{"EndsOnSaturday_Sep2023", 2023, 9, 29, 30}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(NthDayOfMonth, FirstWorkdayAndWeekendDayAtTheMonthStart)
{
    EXPECT_EQ(nthDayOfMonth(First, Workday, 2023, 4), 3) << "April 2023 begins on a Saturday";
    EXPECT_EQ(nthDayOfMonth(First, Workday, 2023, 1), 2) << "January 2023 begins on a Sunday";
    EXPECT_EQ(nthDayOfMonth(First, Weekend, 2023, 5), 6) << "May 2023 begins on a Monday";
    EXPECT_EQ(nthDayOfMonth(Second, Weekend, 2023, 4), 2) << "Saturday 1st, Sunday 2nd";
    EXPECT_EQ(nthDayOfMonth(Fourth, Workday, 2023, 3), 6) << "from Friday 3 March to Monday";
}

TEST(NthDayOfMonth, FourthWeekdayStaysInsideFebruaryOfACommonYear)
{
    // February 2026 has exactly four of every weekday; the fourth is the last.
    for (int kind = int(DayKind::Sunday); kind <= int(DayKind::Saturday); ++kind)
        EXPECT_EQ(nthDayOfMonth(Fourth, DayKind(kind), 2026, 2),
                  nthDayOfMonth(Last, DayKind(kind), 2026, 2));
    EXPECT_EQ(nthDayOfMonth(Last, Day, 2024, 2), 29);
    EXPECT_EQ(nthDayOfMonth(Last, Day, 2100, 2), 28);
}

TEST(NthDayOfMonth, OutOfRangeArgumentsGiveZero)
{
    EXPECT_EQ(nthDayOfMonth(Ordinal(5), Day, 2023, 1), 0);
    EXPECT_EQ(nthDayOfMonth(Ordinal(-1), Day, 2023, 1), 0);
    EXPECT_EQ(nthDayOfMonth(First, DayKind(10), 2023, 1), 0);
    EXPECT_EQ(nthDayOfMonth(First, DayKind(-1), 2023, 1), 0);
    EXPECT_EQ(nthDayOfMonth(First, Monday, 2023, 0), 0);
    EXPECT_EQ(nthDayOfMonth(First, Tuesday, 2023, 13), 0);
    EXPECT_EQ(nthDayOfMonth(First, Friday, 0, 1), 0);
}

} // namespace
