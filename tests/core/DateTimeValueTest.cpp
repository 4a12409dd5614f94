#include "core/DateTimeValue.h"
#include "core/TextCompare.h"

#include <gtest/gtest.h>

using namespace DateTimeValue;

TEST(DateTimeValue, DayZeroAndWeekday)
{
    EXPECT_EQ(fromQDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(toQDate(0.0), QDate(1899, 12, 30));
    EXPECT_EQ(dayOfWeek(0.0), 7); // Saturday
    EXPECT_EQ(dayOfWeek(encodeDate(2026, 12, 6)), 1); // Sunday
    EXPECT_EQ(encodeDate(2000, 7, 8), 36715.0);
}

TEST(DateTimeValue, EveryMinuteOfADayReadsBackExactly)
{
    const TDateTime day = encodeDate(2024, 2, 29);
    for (int m = 0; m < 1440; ++m) {
        const TDateTime v = day + encodeTime(m / 60, m % 60);
        ASSERT_EQ(minuteOfDay(v), m);
        ASSERT_EQ(toQDate(v), QDate(2024, 2, 29));
        ASSERT_EQ(toQTime(v), QTime(m / 60, m % 60));
    }
}

TEST(DateTimeValue, BeforeDayZeroUsesTheFloor)
{
    const TDateTime v = encodeDate(1500, 1, 1) + encodeTime(6, 30);
    EXPECT_EQ(toQDate(v), QDate(1500, 1, 1));
    EXPECT_EQ(toQTime(v), QTime(6, 30));
    EXPECT_EQ(fromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(18, 0))), -0.25);
}

TEST(TextCompare, CaseInsensitiveThenCaseSensitive)
{
    EXPECT_LT(compareText("apple", "Banana"), 0);
    EXPECT_LT(compareText("Banana", "banana"), 0);
    EXPECT_EQ(compareText("x", "x"), 0);
    EXPECT_GT(compareText("b", "A"), 0);
}
