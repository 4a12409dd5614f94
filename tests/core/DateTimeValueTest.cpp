#include "core/DateTimeValue.h"
#include "core/TextCompare.h"

#include <gtest/gtest.h>

using namespace DateTimeValue;

TEST(DateTimeValue, DayZeroAndWeekday)
{
    EXPECT_EQ(fromQDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(toQDate(0.0), QDate(1899, 12, 30));
    EXPECT_EQ(dayOfWeek(0.0), 7);                     // Saturday
    EXPECT_EQ(dayOfWeek(encodeDate(2026, 12, 6)), 1); // Sunday
    EXPECT_EQ(encodeDate(2000, 7, 8), 36715.0);
}

TEST(DateTimeValue, EveryMinuteOfADayReadsBackExactly)
{
    const SerialDateTime day = encodeDate(2024, 2, 29);
    for (int m = 0; m < 1440; ++m) {
        const SerialDateTime v = day + encodeTime(m / 60, m % 60);
        ASSERT_EQ(minuteOfDay(v), m);
        ASSERT_EQ(toQDate(v), QDate(2024, 2, 29));
        ASSERT_EQ(toQTime(v), QTime(m / 60, m % 60));
    }
}

TEST(DateTimeValue, BeforeDayZeroUsesTheFloor)
{
    const SerialDateTime v = encodeDate(1500, 1, 1) + encodeTime(6, 30);
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

TEST(DateTimeValue, EveryDayFrom1500To9999WithoutDrift)
{
    // Each day, at times whose fractions are not exact in binary, converts to the same date and
    // minute and back to the same value; dayOfWeek agrees with the calendar.
    const QTime times[] = {QTime(0, 0), QTime(9, 5), QTime(23, 59), QTime(0, 1)};
    for (qint64 jd = QDate(1500, 1, 1).toJulianDay(); jd <= QDate(9999, 12, 31).toJulianDay();
         ++jd) {
        const QDate d = QDate::fromJulianDay(jd);
        const SerialDateTime day = fromQDate(d);
        ASSERT_EQ(dayOf(day), jd - JulianOfDayZero);
        ASSERT_EQ(dayOfWeek(day), d.dayOfWeek() % 7 + 1);
        for (const QTime &t : times) {
            const SerialDateTime v = day + encodeTime(t.hour(), t.minute());
            ASSERT_EQ(toQDate(v), d) << d.toString(Qt::ISODate).toStdString();
            ASSERT_EQ(toQTime(v), t) << d.toString(Qt::ISODate).toStdString();
            // QDateTime in local time is slow to build; a sample of days is enough for it.
            if (jd % 97 == 0) {
                ASSERT_EQ(fromQDateTime(QDateTime(d, t)), v);
            }
        }
    }
}

TEST(DateTimeValue, NearMidnightNeverFallsIntoThePreviousDay)
{
    // A value a hair below a whole day (arithmetic noise) is that day at midnight.
    const SerialDateTime day = encodeDate(2000, 7, 8);
    EXPECT_EQ(toQDate(day - 1e-10), QDate(2000, 7, 8));
    EXPECT_EQ(minuteOfDay(day - 1e-10), 0);
    EXPECT_EQ(toQDate(encodeDate(1600, 1, 1) - 1e-10), QDate(1600, 1, 1));
    // Summing 48 half hours gives the next day exactly.
    SerialDateTime sum = day;
    for (int i = 0; i < 48; ++i)
        sum += encodeTime(0, 30);
    EXPECT_EQ(toQDate(sum), QDate(2000, 7, 9));
    EXPECT_EQ(msOfDay(sum), 0);
}
