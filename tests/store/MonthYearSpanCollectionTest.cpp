#include "support/SpanTestSupport.h"

#include <gtest/gtest.h>

using namespace SpanTest;

namespace
{

struct MonthFixture : ::testing::Test {
    std::unique_ptr<SpanCollections> all = makeCollections();
    MonthSpanCollection &month = all->month;
    // Week rows of February 2024, from Monday 29 January.
    void collect(const std::vector<SpanSourceItem> &items, int a = 1, int b = 6)
    {
        SpanOrder::collect(month, month.begin(at(2024, 1, 29), a, b), items);
    }
};

struct YearFixture : ::testing::Test {
    std::unique_ptr<SpanCollections> all = makeCollections();
    YearSpanCollection &year = all->year;
    void collect(int y, const std::vector<SpanSourceItem> &items, int a = 1, int b = 12)
    {
        SpanOrder::collect(year, year.begin(at(y, 1, 1), a, b), items);
    }
};

} // namespace

TEST_F(MonthFixture, WindowOfTheWeekRows)
{
    const CollectionWindow w = month.begin(at(2024, 1, 29), 2, 3);
    EXPECT_EQ(w.start, at(2024, 2, 5));
    EXPECT_EQ(w.end, at(2024, 2, 19));
}

TEST_F(MonthFixture, FridayToTuesdaySplitsOverTwoWeeks)
{
    collect({item(1, at(2024, 2, 2, 10), at(2024, 2, 6, 12))});
    ASSERT_EQ(month.itemCount(1), 1);
    const SpanItem &a = *month.item(1, 1);
    EXPECT_EQ(a.first, 5);
    EXPECT_EQ(a.last, 7);
    EXPECT_FALSE(a.cutStart);
    EXPECT_TRUE(a.cutEnd);
    ASSERT_EQ(month.itemCount(2), 1);
    const SpanItem &b = *month.item(2, 1);
    EXPECT_EQ(b.first, 1);
    EXPECT_EQ(b.last, 2);
    EXPECT_TRUE(b.cutStart);
    EXPECT_FALSE(b.cutEnd);
    EXPECT_EQ(month.itemCount(3), 0);
}

TEST_F(MonthFixture, DayBoundaries)
{
    struct Case {
        const char *name;
        SerialDateTime start, end;
        int week, first, last;
    } cases[] = {
        {"whole day ending at midnight", at(2024, 2, 29), at(2024, 3, 1), 5, 4, 4},
        {"leap day zero length", at(2024, 2, 29, 10), at(2024, 2, 29, 10), 5, 4, 4},
        {"zero length at midnight on a Sunday", at(2024, 2, 4), at(2024, 2, 4), 1, 7, 7},
        {"short event on the last day", at(2024, 3, 10, 22), at(2024, 3, 10, 23), 6, 7, 7},
        {"ending at the week's end", at(2024, 2, 9), at(2024, 2, 12), 2, 5, 7},
    };
    for (const Case &c : cases) {
        collect({item(1, c.start, c.end)});
        int total = 0;
        for (int w = 1; w <= 6; ++w)
            total += month.itemCount(w);
        ASSERT_EQ(total, 1) << c.name;
        ASSERT_EQ(month.itemCount(c.week), 1) << c.name;
        EXPECT_EQ(month.item(c.week, 1)->first, c.first) << c.name;
        EXPECT_EQ(month.item(c.week, 1)->last, c.last) << c.name;
        EXPECT_FALSE(month.item(c.week, 1)->cutEnd) << c.name;
    }
}

TEST_F(MonthFixture, EndAtTheWindowStartIsLeftOut)
{
    collect(
        {item(1, at(2024, 1, 28, 10), at(2024, 1, 29)), item(2, at(2024, 1, 29), at(2024, 1, 29))});
    ASSERT_EQ(month.itemCount(1), 1);
    EXPECT_EQ(month.item(1, 1)->id, 2);
    EXPECT_EQ(month.item(1, 1)->startFrac, -1);
}

TEST_F(MonthFixture, ThirtyThreeOverlappingEventsInAWeekShowThirtyTwo)
{
    std::vector<SpanSourceItem> items;
    for (int i = 1; i <= 33; ++i)
        items.push_back(item(i, at(2024, 2, 6), at(2024, 2, 8)));
    collect(items);
    EXPECT_EQ(month.itemCount(2), 32);
    EXPECT_EQ(month.laneOccupant(2, 2, 32), 32);
    EXPECT_EQ(month.laneOccupant(2, 4, 1), 0);
    // A bar on a free day still finds lane 1.
    items.push_back(item(40, at(2024, 2, 9), at(2024, 2, 10)));
    collect(items);
    EXPECT_EQ(month.itemCount(2), 33);
    EXPECT_EQ(month.item(2, 33)->lane, 1);
}

TEST_F(MonthFixture, PartialCollectionClearsOnlyItsWeeks)
{
    collect({item(1, at(2024, 2, 1, 9), at(2024, 2, 1, 10)),
             item(2, at(2024, 2, 8, 9), at(2024, 2, 8, 10))});
    collect({}, 2, 2);
    EXPECT_EQ(month.itemCount(1), 1);
    EXPECT_EQ(month.itemCount(2), 0);
    EXPECT_EQ(month.laneOccupant(2, 4, 1), 0);
}

TEST_F(YearFixture, WindowAndMonthOffsets)
{
    const CollectionWindow w = year.begin(at(2024, 3, 17), 2, 3);
    EXPECT_EQ(year.firstDay(), at(2024, 3, 1));
    EXPECT_EQ(w.start, at(2024, 4, 1));
    EXPECT_EQ(w.end, at(2024, 6, 1));
    EXPECT_EQ(year.monthLength(11), 31); // January 2025
    EXPECT_EQ(year.monthLength(12), 28);
    EXPECT_EQ(year.monthOffset(13), 365);
}

TEST_F(YearFixture, EventAcrossAMonthEndIsCutInBothMonths)
{
    collect(2024, {item(1, at(2024, 1, 30, 10), at(2024, 2, 2, 10))});
    const SpanItem &jan = *year.item(1, 1);
    EXPECT_EQ(jan.first, 30);
    EXPECT_EQ(jan.last, 31);
    EXPECT_TRUE(jan.cutEnd);
    EXPECT_FALSE(jan.cutStart);
    const SpanItem &feb = *year.item(2, 1);
    EXPECT_EQ(feb.first, 1);
    EXPECT_EQ(feb.last, 2);
    EXPECT_TRUE(feb.cutStart);
    EXPECT_FALSE(feb.cutEnd);
}

TEST_F(YearFixture, LeapDayAndMidnightEnds)
{
    collect(2024,
            {item(1, at(2024, 2, 29), at(2024, 3, 1)), item(2, at(2024, 3, 1), at(2024, 3, 1))});
    EXPECT_EQ(year.monthLength(2), 29);
    ASSERT_EQ(year.itemCount(2), 1);
    EXPECT_EQ(year.item(2, 1)->first, 29);
    EXPECT_EQ(year.item(2, 1)->last, 29);
    EXPECT_FALSE(year.item(2, 1)->cutEnd);
    ASSERT_EQ(year.itemCount(3), 1);
    EXPECT_EQ(year.item(3, 1)->id, 2);
    EXPECT_EQ(year.item(3, 1)->first, 1);
    EXPECT_EQ(year.item(3, 1)->endFrac, -1);

    collect(2023, {item(1, at(2023, 2, 28), at(2023, 3, 1))});
    EXPECT_EQ(year.monthLength(2), 28);
    EXPECT_EQ(year.item(2, 1)->last, 28);
    EXPECT_EQ(year.itemCount(3), 0);
    EXPECT_EQ(year.occupant(2, 29, 1), 0);
}

TEST_F(YearFixture, EndAtTheWindowStartIsLeftOut)
{
    collect(2024, {item(1, at(2023, 12, 30), at(2024, 1, 1)),
                   item(2, at(2023, 12, 30), at(2024, 1, 1, 0, 1))});
    ASSERT_EQ(year.itemCount(1), 1);
    EXPECT_EQ(year.item(1, 1)->id, 2);
    EXPECT_TRUE(year.item(1, 1)->cutStart);
    EXPECT_EQ(year.item(1, 1)->last, 1);
}

TEST_F(YearFixture, OverlappingDaysShareColumnsAsInTheTimeGrid)
{
    collect(2024,
            {item(1, at(2024, 5, 9), at(2024, 5, 12)), item(2, at(2024, 5, 10), at(2024, 5, 11)),
             item(3, at(2024, 5, 11, 12), at(2024, 5, 14))});
    EXPECT_EQ(year.item(5, 1)->lane, 1);
    EXPECT_EQ(year.item(5, 2)->lane, 2);
    EXPECT_EQ(year.item(5, 3)->lane, 2);
    for (int d = 9; d <= 13; ++d)
        EXPECT_EQ(year.columnCount(5, d), 2) << d;
    EXPECT_EQ(year.columnCount(5, 14), 0);
}

TEST_F(YearFixture, LongEventCoversEveryMonthItTouches)
{
    collect(2024, {item(1, at(2023, 11, 1), at(2025, 2, 1))}, 3, 5);
    EXPECT_EQ(year.itemCount(2), 0);
    EXPECT_EQ(year.itemCount(6), 0);
    for (int m = 3; m <= 5; ++m) {
        ASSERT_EQ(year.itemCount(m), 1);
        EXPECT_EQ(year.item(m, 1)->last, year.monthLength(m));
        EXPECT_TRUE(year.item(m, 1)->cutStart && year.item(m, 1)->cutEnd);
    }
}
