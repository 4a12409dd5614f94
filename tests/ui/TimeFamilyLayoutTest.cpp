#include "mainwin/TimeFamilyLayout.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace TimeFamily;

TEST(ColumnWidths, CumulativeRoundingFillsTheWidthExactly)
{
    EXPECT_EQ(columnWidths(3, 100), (std::vector<int>{33, 34, 33}));
    // 2.5 and 7.5 round to the even neighbours 2 and 8.
    EXPECT_EQ(columnWidths(4, 10), (std::vector<int>{2, 3, 3, 2}));
    for (int n = 1; n <= 7; ++n)
        for (int w : {0, 1, 6, 599, 1141}) {
            const auto widths = columnWidths(n, w);
            ASSERT_EQ(int(widths.size()), n);
            EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), w) << n << " " << w;
        }
    EXPECT_TRUE(columnWidths(0, 100).empty());
    EXPECT_EQ(columnWidths(2, -40), (std::vector<int>{0, 0}));
}

TEST(RowLayout, DayTooTallForTheGridScrollsWithTheZoomHeight)
{
    // H = 600 - 15 - 86 = 499: 31 rows of 16 with 3 pixels over.
    const RowLayout r = rowLayout(600, 15, 16, 96);
    EXPECT_TRUE(r.scrollBarVisible);
    EXPECT_EQ(r.rowHeight, 16);
    EXPECT_EQ(r.rowCount, 32);
    EXPECT_EQ(r.headerHeight, 18);
    EXPECT_EQ(r.scrollBarTop, 18);
    EXPECT_EQ(r.scrollBarHeight, 600 - 15 - 3 - 87);
    EXPECT_EQ(r.pageSize, 7); // 31 rows of 15 minutes = 7.75 hours
}

TEST(RowLayout, DayThatFitsStretchesTheRowsAndHidesTheScrollBar)
{
    // One-hour rows: 24 x 16 fits into H = 499, so rows grow to 499 / 24 = 20.
    const RowLayout r = rowLayout(600, 15, 16, 24);
    EXPECT_FALSE(r.scrollBarVisible);
    EXPECT_EQ(r.rowHeight, 20);
    EXPECT_EQ(r.rowCount, 25);
    EXPECT_EQ(r.headerHeight, 15 + 499 - 480);
    EXPECT_EQ(r.pageSize, 23);
}

TEST(RowLayout, ExactFitAndOnePixelShort)
{
    // H = 96 * 16 exactly: fits; one pixel less: scrolls.
    EXPECT_FALSE(rowLayout(96 * 16 + 15 + 86, 15, 16, 96).scrollBarVisible);
    EXPECT_TRUE(rowLayout(96 * 16 + 15 + 85, 15, 16, 96).scrollBarVisible);
}

TEST(RowLayout, ClientSmallerThanTheBarsKeepsOneRowAndAPageOfOneHour)
{
    const RowLayout r = rowLayout(40, 15, 16, 288);
    EXPECT_EQ(r.rowCount, 1);
    EXPECT_EQ(r.pageSize, 1);
    EXPECT_GE(r.scrollBarHeight, 0);
    EXPECT_EQ(rowLayout(300, 15, 16, 288).pageSize, 1); // 12 rows of 5 minutes: under an hour
}

TEST(StartPosition, HoursBecomeRowsAndTheLastPageEndsWithTheDay)
{
    EXPECT_EQ(startPosition(8, 7, 15, 32), 32);
    EXPECT_EQ(startPosition(16, 7, 15, 32), 64);
    // Hour 17 is the last page: 96 steps - 31 shown rows.
    EXPECT_EQ(startPosition(17, 7, 15, 32), 96 - 31);
    EXPECT_EQ(startPosition(30, 7, 15, 32), 96 - 31);
    EXPECT_EQ(startPosition(8, 7, 60, 10), 8);
    // Whole day shown: page 23 keeps the first row.
    EXPECT_EQ(startPosition(0, 23, 15, 97), 0);
    EXPECT_EQ(startPosition(1, 23, 15, 97), 0);
}

TEST(Zoom, StepsOfFiveWithinTheLimits)
{
    EXPECT_EQ(zoomedIn(16), 21);
    EXPECT_EQ(zoomedIn(50), 55);
    EXPECT_EQ(zoomedIn(51), 51);
    EXPECT_EQ(zoomedOut(16), 11);
    EXPECT_EQ(zoomedOut(12), 7);
    EXPECT_EQ(zoomedOut(11), 11);
}

TEST(TimeScale, ChoicesAndRowsPerDay)
{
    const int steps[] = {288, 240, 144, 96, 48, 24};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(stepsPerDay(minutesForScale(i)), steps[i]);
    EXPECT_EQ(minutesForScale(6), 15);
    EXPECT_EQ(minutesForScale(-1), 15);
}

TEST(HeaderText, ShortensWithTheColumnWidth)
{
    const SerialDateTime wed = DateTimeValue::encodeDate(2000, 8, 9);
    EXPECT_EQ(headerText(wed, 76), "Wed 9 Aug");
    EXPECT_EQ(headerText(wed, 75), "Wed 9");
    EXPECT_EQ(headerText(wed, 51), "Wed 9");
    EXPECT_EQ(headerText(wed, 50), "Wed");
    EXPECT_EQ(headerText(DateTimeValue::encodeDate(2000, 8, 13), 200), "Sun 13 Aug");
}
