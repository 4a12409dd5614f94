#include "RecurrenceReference.h"
#include "RuleBuilders.h"
#include "store/RecurrenceRule.h"

#include <gtest/gtest.h>

using namespace Rules;

namespace
{

using Dates = std::vector<QDate>;

QDate d(int y, int m, int dd)
{
    return QDate(y, m, dd);
}

TEST(RecurrenceDaily, EveryThreeDaysFromMondayFirstOfMay)
{
    const RecurrenceRule r = everyNDays(3, d(2023, 5, 1));
    EXPECT_EQ(dates(r, d(2023, 5, 1), d(2023, 5, 7)),
              (Dates{d(2023, 5, 1), d(2023, 5, 4), d(2023, 5, 7)}));
    EXPECT_EQ(nthDates(r, 3), (Dates{d(2023, 5, 1), d(2023, 5, 4), d(2023, 5, 7)}));
}

TEST(RecurrenceDaily, EveryWorkdayBegunOnSaturdayStartsMondayAndSkipsTheWeekend)
{
    const RecurrenceRule r = everyWorkday(d(2023, 5, 6));
    const Dates expected{d(2023, 5, 8),  d(2023, 5, 9),  d(2023, 5, 10), d(2023, 5, 11),
                         d(2023, 5, 12), d(2023, 5, 15), d(2023, 5, 16)};
    EXPECT_EQ(dates(r, d(2023, 5, 1), d(2023, 5, 16)), expected);
    EXPECT_EQ(nthDates(r, 7), expected);
    EXPECT_EQ(nthDates(everyWorkday(d(2023, 5, 7)), 1), (Dates{d(2023, 5, 8)})) << "Sunday";
}

TEST(RecurrenceWeekly, EveryTwoWeeksOnMondayAndFridayBegunOnWednesday)
{
    const RecurrenceRule r = weekly(2, "0100010", d(2023, 5, 3));
    const Dates expected{d(2023, 5, 5), d(2023, 5, 15), d(2023, 5, 19), d(2023, 5, 29),
                         d(2023, 6, 2)};
    EXPECT_EQ(dates(r, d(2023, 5, 1), d(2023, 6, 4)), expected);
    EXPECT_EQ(nthDates(r, 5), expected);
}

TEST(RecurrenceWeekly, EveryTwoWeeksOnMondayBegunOnTuesdayFirstOccursThirteenDaysLater)
{
    const RecurrenceRule r = weekly(2, "0100000", d(2023, 5, 2));
    EXPECT_EQ(nthDates(r, 2), (Dates{d(2023, 5, 15), d(2023, 5, 29)}));
}

// Weekly rules on Monday, Thursday and Saturday with N = 1, 2, 3, begun on each weekday.
struct WeeklyCase {
    int n;
    int startDow; // 1 Sunday .. 7 Saturday
};

class WeeklyBegunOnEachWeekday : public testing::TestWithParam<WeeklyCase>
{
};

TEST_P(WeeklyBegunOnEachWeekday, OccursOnTheSetDaysOfEveryNthWeekFromTheStart)
{
    const WeeklyCase c = GetParam();
    const QDate sunday = d(2023, 5, 7);
    const QDate start = sunday.addDays(c.startDow - 1);
    const RecurrenceRule r = weekly(c.n, "0100101", start);
    Dates expected;
    for (QDate x = start; x < sunday.addDays(7 * 12); x = x.addDays(1)) {
        const int week = int(sunday.daysTo(x) / 7);
        const int dow = x.dayOfWeek() % 7 + 1;
        if (week % c.n == 0 && (dow == 2 || dow == 5 || dow == 7)) expected.push_back(x);
    }
    EXPECT_EQ(dates(r, d(2023, 1, 1), sunday.addDays(7 * 12 - 1)), expected);
    EXPECT_EQ(nthDates(r, int(expected.size())), expected);
}

std::string weekdayName(int dow)
{
    static const char *names[] = {"",          "Sunday",   "Monday", "Tuesday",
                                  "Wednesday", "Thursday", "Friday", "Saturday"};
    return names[dow];
}

std::vector<WeeklyCase> allWeeklyCases()
{
    std::vector<WeeklyCase> v;
    for (int n = 1; n <= 3; ++n)
        for (int dow = 1; dow <= 7; ++dow)
            v.push_back(WeeklyCase{n, dow});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Recurrence, WeeklyBegunOnEachWeekday, testing::ValuesIn(allWeeklyCases()),
                         [](const auto &info) {
                             return "N" + std::to_string(info.param.n) + "_BegunOn" +
                                    weekdayName(info.param.startDow);
                         });

TEST(RecurrenceMonthly, DayThirtyOneFallsOnTheLastDayOfShorterMonths)
{
    EXPECT_EQ(
        dates(monthlyOnDay(31, 1, d(2023, 1, 31)), d(2023, 1, 1), d(2023, 5, 31)),
        (Dates{d(2023, 1, 31), d(2023, 2, 28), d(2023, 3, 31), d(2023, 4, 30), d(2023, 5, 31)}));
    EXPECT_EQ(nthDates(monthlyOnDay(31, 1, d(2024, 1, 31)), 3),
              (Dates{d(2024, 1, 31), d(2024, 2, 29), d(2024, 3, 31)}));
}

struct FebruaryCase {
    const char *name;
    int dayOfMonth;
    int year;
    int februaryDay;
};

class MonthEndDayAcrossFebruary : public testing::TestWithParam<FebruaryCase>
{
};

TEST_P(MonthEndDayAcrossFebruary, ClampsInFebruaryAndReturnsInMarch)
{
    const FebruaryCase c = GetParam();
    const RecurrenceRule r = monthlyOnDay(c.dayOfMonth, 1, d(c.year, 1, 1));
    const Dates expected{d(c.year, 1, c.dayOfMonth), d(c.year, 2, c.februaryDay),
                         d(c.year, 3, c.dayOfMonth)};
    EXPECT_EQ(dates(r, d(c.year, 1, 1), d(c.year, 3, 31)), expected);
    EXPECT_EQ(nthDates(r, 3), expected);
    // Begun long before, the same span gives the same days.
    const RecurrenceRule old = monthlyOnDay(c.dayOfMonth, 1, d(c.year - 40, 1, 1));
    EXPECT_EQ(dates(old, d(c.year, 1, 1), d(c.year, 3, 31)), expected);
}

INSTANTIATE_TEST_SUITE_P(Recurrence, MonthEndDayAcrossFebruary,
                         testing::Values(FebruaryCase{"Day29_CommonYear", 29, 2023, 28},
                                         FebruaryCase{"Day29_LeapYear", 29, 2024, 29},
                                         FebruaryCase{"Day30_CommonYear", 30, 2023, 28},
                                         FebruaryCase{"Day30_LeapYear", 30, 2024, 29},
                                         FebruaryCase{"Day31_CommonYear", 31, 2023, 28},
                                         FebruaryCase{"Day31_LeapYear", 31, 2024, 29},
                                         FebruaryCase{"Day29_Century2100", 29, 2100, 28},
                                         FebruaryCase{"Day29_Century2000", 29, 2000, 29}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RecurrenceMonthly, DayBeforeTheStartDayFirstOccursMMonthsLater)
{
    EXPECT_EQ(nthDates(monthlyOnDay(15, 1, d(2023, 1, 20)), 2),
              (Dates{d(2023, 2, 15), d(2023, 3, 15)}));
    EXPECT_EQ(nthDates(monthlyOnDay(15, 3, d(2023, 1, 20)), 2),
              (Dates{d(2023, 4, 15), d(2023, 7, 15)}));
    EXPECT_EQ(nthDates(monthlyOnDay(20, 3, d(2023, 1, 20)), 1), (Dates{d(2023, 1, 20)}))
        << "the start day itself";
}

TEST(RecurrenceMonthly, KthDayOfAKindEveryMMonths)
{
    EXPECT_EQ(nthDates(monthlyOnKind(1, 5, 2, d(2023, 1, 1)), 3),
              (Dates{d(2023, 1, 10), d(2023, 3, 14), d(2023, 5, 9)}))
        << "second Tuesday every two months";
    EXPECT_EQ(dates(monthlyOnKind(4, 8, 1, d(2023, 1, 1)), d(2023, 1, 1), d(2023, 3, 31)),
              (Dates{d(2023, 1, 27), d(2023, 2, 24), d(2023, 3, 31)}))
        << "last Friday";
    EXPECT_EQ(nthDates(monthlyOnKind(0, 1, 1, d(2023, 1, 5)), 3),
              (Dates{d(2023, 2, 1), d(2023, 3, 1), d(2023, 4, 3)}))
        << "first workday, begun after January's";
}

TEST(RecurrenceYearly, TwentyNinthOfFebruaryInCommonAndLeapYears)
{
    EXPECT_EQ(
        nthDates(yearlyOnDate(2, 29, d(2024, 2, 29)), 5),
        (Dates{d(2024, 2, 29), d(2025, 2, 28), d(2026, 2, 28), d(2027, 2, 28), d(2028, 2, 29)}));
    EXPECT_EQ(dates(yearlyOnDate(2, 29, d(2096, 1, 1)), d(2099, 1, 1), d(2104, 12, 31)),
              (Dates{d(2099, 2, 28), d(2100, 2, 28), d(2101, 2, 28), d(2102, 2, 28), d(2103, 2, 28),
                     d(2104, 2, 29)}));
}

TEST(RecurrenceYearly, FixedDateBeforeOrAfterTheStartDay)
{
    EXPECT_EQ(nthDates(yearlyOnDate(3, 5, d(2023, 1, 20)), 1), (Dates{d(2023, 3, 5)}));
    EXPECT_EQ(nthDates(yearlyOnDate(3, 5, d(2023, 3, 5)), 1), (Dates{d(2023, 3, 5)}));
    EXPECT_EQ(nthDates(yearlyOnDate(3, 5, d(2023, 3, 6)), 1), (Dates{d(2024, 3, 5)}));
    EXPECT_EQ(nthDates(yearlyOnDate(1, 5, d(2023, 3, 1)), 1), (Dates{d(2024, 1, 5)}));
}

TEST(RecurrenceYearly, KthDayOfAKindInAMonth)
{
    EXPECT_EQ(nthDates(yearlyOnKind(3, 7, 11, d(2023, 1, 1)), 3),
              (Dates{d(2023, 11, 23), d(2024, 11, 28), d(2025, 11, 27)}))
        << "fourth Thursday of November";
    EXPECT_EQ(nthDates(yearlyOnKind(4, 4, 5, d(2023, 6, 1)), 2),
              (Dates{d(2024, 5, 27), d(2025, 5, 26)}))
        << "last Monday of May, begun after this year's";
}

TEST(RecurrenceExpansion, ExceptionDayRemovesExactlyThatOccurrence)
{
    RecurrenceRule r = everyNDays(1, d(2023, 5, 1));
    r.exceptionDays = {day(d(2023, 5, 3))};
    EXPECT_EQ(dates(r, d(2023, 5, 1), d(2023, 5, 5)),
              (Dates{d(2023, 5, 1), d(2023, 5, 2), d(2023, 5, 4), d(2023, 5, 5)}));
    EXPECT_EQ(nthDates(r, 3)[2], d(2023, 5, 3)) << "the n-th occurrence ignores exceptions";
}

TEST(RecurrenceExpansion, UnsortedExceptionDaysStillApply)
{
    RecurrenceRule r = everyNDays(1, d(2023, 5, 1));
    r.exceptionDays = {day(d(2023, 5, 4)), day(d(2023, 5, 2))};
    EXPECT_EQ(dates(r, d(2023, 5, 1), d(2023, 5, 5)),
              (Dates{d(2023, 5, 1), d(2023, 5, 3), d(2023, 5, 5)}));
}

TEST(RecurrenceExpansion, ReachBackOfExtraDaysAtTheSpanStart)
{
    RecurrenceRule r = everyNDays(7, d(2023, 5, 1));
    r.extraDays = 2;
    EXPECT_EQ(dates(r, d(2023, 5, 3), d(2023, 5, 7)), (Dates{d(2023, 5, 1)}))
        << "starts two days before the span";
    EXPECT_EQ(dates(r, d(2023, 5, 4), d(2023, 5, 7)), Dates{}) << "starts three days before";
    r.extraDays = 0;
    EXPECT_EQ(dates(r, d(2023, 5, 2), d(2023, 5, 7)), Dates{});
}

TEST(RecurrenceExpansion, EndDayIsIncludedAndTheSpanEndIsNot)
{
    const RecurrenceRule r = everyNDays(1, d(2023, 5, 1), d(2023, 5, 3));
    EXPECT_EQ(dates(r, d(2023, 4, 1), d(2023, 5, 31)),
              (Dates{d(2023, 5, 1), d(2023, 5, 2), d(2023, 5, 3)}));
    std::vector<int> days;
    expandOccurrenceDays(r, day(d(2023, 5, 1)), day(d(2023, 5, 2)), 100, days);
    EXPECT_EQ(days, std::vector<int>{day(d(2023, 5, 1))});
}

TEST(RecurrenceExpansion, EndBeforeTheFirstOccurrenceYieldsNothing)
{
    const RecurrenceRule r = monthlyOnDay(15, 1, d(2023, 5, 20), d(2023, 6, 1));
    EXPECT_EQ(dates(r, d(2023, 1, 1), d(2024, 12, 31)), Dates{});
}

TEST(RecurrenceExpansion, MaxCountKeepsTheEarliest)
{
    const RecurrenceRule r = everyNDays(1, d(2023, 5, 1));
    EXPECT_EQ(dates(r, d(2023, 5, 1), d(2023, 5, 31), 2), (Dates{d(2023, 5, 1), d(2023, 5, 2)}));
    EXPECT_EQ(dates(r, d(2023, 5, 1), d(2023, 5, 31), 0), Dates{});
}

} // namespace
