// The day arithmetic against Qt's calendar: month lengths, civil dates, days of the week.
#include "core/CalendarMath.h"
#include "core/DateTimeValue.h"

#include <gtest/gtest.h>

#include <QDate>

using namespace CalendarMath;

TEST(CalendarMath, DaysInMonthEdges)
{
    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2024, 2), 29);
    EXPECT_EQ(daysInMonth(2023, 2), 28);
    EXPECT_EQ(daysInMonth(1500, 2), 28);
    EXPECT_EQ(daysInMonth(2023, 12), 31);
    EXPECT_EQ(daysInMonth(2023, 0), 0);
    EXPECT_EQ(daysInMonth(2023, 13), 0);
    for (int y : {1500, 1600, 1899, 2000, 2100})
        for (int m = 1; m <= 12; ++m)
            EXPECT_EQ(daysInMonth(y, m), QDate(y, m, 1).daysInMonth()) << y << "-" << m;
}

TEST(CalendarMath, FloorDivisionRoundsDown)
{
    EXPECT_EQ(floorDiv(-1, 7), -1);
    EXPECT_EQ(floorDiv(-7, 7), -1);
    EXPECT_EQ(floorDiv(-8, 7), -2);
    EXPECT_EQ(floorDiv(7, -2), -4);
    EXPECT_EQ(floorMod(-1, 7), 6);
    EXPECT_EQ(floorMod(13, 7), 6);
    EXPECT_EQ(ceilDiv(7, 7), 1);
    EXPECT_EQ(ceilDiv(8, 7), 2);
    EXPECT_EQ(ceilDiv(-8, 7), -1);
    EXPECT_EQ(ceilDiv(0, 7), 0);
}

TEST(CalendarMath, CivilDatesAndWeekdaysAgreeWithQtFromYear1To9999)
{
    for (qint64 jd = QDate(1, 1, 1).toJulianDay(); jd <= QDate(9999, 12, 31).toJulianDay(); ++jd) {
        const QDate d = QDate::fromJulianDay(jd);
        const int64_t day = jd - DateTimeValue::JulianOfDayZero;
        ASSERT_EQ(dayFromCivil(d.year(), d.month(), d.day()), day);
        const YearMonthDay ymd = civilFromDay(day);
        ASSERT_EQ(ymd.year, d.year());
        ASSERT_EQ(ymd.month, d.month());
        ASSERT_EQ(ymd.day, d.day());
        ASSERT_EQ(dayOfWeek(day), d.dayOfWeek() % 7 + 1);
    }
    EXPECT_EQ(dayOfWeek(0), Saturday) << "30 Dec 1899";
}
