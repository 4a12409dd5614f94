#include "support/SpanTestSupport.h"

#include <gtest/gtest.h>

using namespace SpanTest;

namespace
{

struct DayFixture : ::testing::Test {
    std::unique_ptr<SpanCollections> all = makeCollections();
    DaySpanCollection &day = all->day;
    CollectionWindow window;

    void collect(const std::vector<SpanSourceItem> &items,
                 DaySpanCollection::Request request = weekRequest())
    {
        window = day.begin(request);
        SpanOrder::collect(day, window, items);
    }
    const SpanItem &only(int d)
    {
        EXPECT_EQ(day.timeItemCount(d), 1);
        return *day.timeItem(d, 1);
    }
};

} // namespace

TEST_F(DayFixture, WindowCoversTheStripOrOnlyTheGridDays)
{
    auto r = weekRequest();
    r.firstGridDay = 3;
    r.lastGridDay = 4;
    window = day.begin(r);
    EXPECT_EQ(window.start, at(2024, 3, 4));
    EXPECT_EQ(window.end, at(2024, 3, 11));
    r.parts = DaySpanCollection::TimeGridPart;
    window = day.begin(r);
    EXPECT_EQ(window.start, at(2024, 3, 6));
    EXPECT_EQ(window.end, at(2024, 3, 8));
}

TEST_F(DayFixture, OvernightEventIsCutAtMidnightInBothDays)
{
    collect({item(1, at(2024, 3, 4, 22), at(2024, 3, 5, 2))});
    const SpanItem &mon = only(1);
    EXPECT_EQ(mon.first, 89);
    EXPECT_EQ(mon.last, 96);
    EXPECT_FALSE(mon.cutStart);
    EXPECT_TRUE(mon.cutEnd);
    EXPECT_EQ(mon.endFrac, 0);
    const SpanItem &tue = only(2);
    EXPECT_EQ(tue.first, 1);
    EXPECT_TRUE(tue.cutStart);
    EXPECT_FALSE(tue.cutEnd);
    EXPECT_EQ(tue.last, 8);
    EXPECT_EQ(day.stripItemCount(), 0);
}

TEST_F(DayFixture, EndAtMidnightCoversNoRowOfTheNextDay)
{
    collect({item(1, at(2024, 3, 4, 22), at(2024, 3, 5, 0))});
    const SpanItem &mon = only(1);
    EXPECT_EQ(mon.last, 96);
    EXPECT_FALSE(mon.cutEnd);
    EXPECT_EQ(day.timeItemCount(2), 0);
    for (int row = 1; row <= 96; ++row)
        ASSERT_EQ(day.timeOccupant(2, row, 1), 0) << row;
}

TEST_F(DayFixture, RowsAndFractionsAtOddMinutes)
{
    // 9:05 to 10:50 at 15-minute rows: row 37 from a third in, to row 44 ending two thirds in.
    collect({item(1, at(2024, 3, 6, 9, 5), at(2024, 3, 6, 10, 50))});
    const SpanItem &r = only(3);
    EXPECT_EQ(r.first, 37);
    EXPECT_DOUBLE_EQ(r.startFrac, 5.0 / 15);
    EXPECT_EQ(r.last, 44);
    EXPECT_DOUBLE_EQ(r.endFrac, 5.0 / 15);
}

TEST_F(DayFixture, ZeroLengthItemTakesOneRowWithoutFractions)
{
    collect({item(1, at(2024, 3, 4, 10), at(2024, 3, 4, 10)),
             item(2, at(2024, 3, 5, 0), at(2024, 3, 5, 0))});
    const SpanItem &r = only(1);
    EXPECT_EQ(r.first, 41);
    EXPECT_EQ(r.last, 41);
    EXPECT_EQ(r.startFrac, -1);
    EXPECT_EQ(r.endFrac, -1);
    EXPECT_EQ(day.timeOccupant(1, 41, 1), 1);
    EXPECT_EQ(only(2).first, 1); // midnight: the day it stands on, not the day before
    EXPECT_EQ(day.timeItemCount(1), 1);
}

TEST_F(DayFixture, UnderAMinuteStillCoversTheStartRow)
{
    collect({item(1, at(2024, 3, 4, 10), at(2024, 3, 4, 10) + 30.0 / 86400)});
    const SpanItem &r = only(1);
    EXPECT_EQ(r.first, 41);
    EXPECT_EQ(r.last, 41);
    EXPECT_EQ(day.timeOccupant(1, 41, 1), 1);
}

TEST_F(DayFixture, DayLongEventGoesToTheStripUnlessForcedIntoTheGrid)
{
    const auto e = item(7, at(2024, 3, 4, 10), at(2024, 3, 5, 10));
    collect({e});
    EXPECT_EQ(day.timeItemCount(1) + day.timeItemCount(2), 0);
    ASSERT_EQ(day.stripItemCount(), 1);
    EXPECT_EQ(day.stripItem(1)->first, 1);
    EXPECT_EQ(day.stripItem(1)->last, 2);

    auto forced = weekRequest();
    forced.forcedTimeGridId = 7;
    collect({e}, forced);
    EXPECT_EQ(day.stripItemCount(), 0);
    EXPECT_EQ(only(1).first, 41);
    EXPECT_TRUE(only(1).cutEnd);
    EXPECT_EQ(only(2).last, 40);

    auto toStrip = weekRequest();
    toStrip.forcedAllDayId = 8;
    collect({item(8, at(2024, 3, 4, 10), at(2024, 3, 4, 12))}, toStrip);
    EXPECT_EQ(day.timeItemCount(1), 0);
    EXPECT_EQ(day.stripItemCount(), 1);
}

TEST_F(DayFixture, SeventeenAtOneHourShowSixteen)
{
    std::vector<SpanSourceItem> items;
    for (int i = 1; i <= 17; ++i)
        items.push_back(item(i, at(2024, 3, 4, 10), at(2024, 3, 4, 11),
                             QStringLiteral("s%1").arg(i, 2, 10, QLatin1Char('0'))));
    collect(items);
    ASSERT_EQ(day.timeItemCount(1), 16);
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(day.timeItem(1, i)->lane, i);
    EXPECT_EQ(day.timeItem(1, 16)->id, 16);
    EXPECT_EQ(day.columnCount(1, 41), 16);
    EXPECT_EQ(day.columnCount(1, 44), 16);
}

TEST_F(DayFixture, HundredItemsFillADayList)
{
    std::vector<SpanSourceItem> items;
    for (int i = 1; i <= 101; ++i)
        items.push_back(
            item(i, at(2024, 3, 4) + (i - 1) * 10.0 / 1440, at(2024, 3, 4) + i * 10.0 / 1440));
    collect(items);
    EXPECT_EQ(day.timeItemCount(1), 100);
    EXPECT_EQ(day.timeItem(1, 100)->id, 100);
}

TEST_F(DayFixture, OverlapTakesTheNextColumnAndCountsTwo)
{
    collect({item(1, at(2024, 3, 4, 9), at(2024, 3, 4, 11)),
             item(2, at(2024, 3, 4, 10), at(2024, 3, 4, 12))});
    EXPECT_EQ(day.timeItem(1, 1)->lane, 1);
    EXPECT_EQ(day.timeItem(1, 2)->lane, 2);
    for (int row = 37; row <= 48; ++row)
        EXPECT_EQ(day.columnCount(1, row), 2) << row;
    EXPECT_EQ(day.columnCount(1, 36), 0);
    EXPECT_EQ(day.columnCount(1, 49), 0);
}

TEST_F(DayFixture, ClusterCountSpreadsOverTheWholeCluster)
{
    collect({item(1, at(2024, 3, 4, 9), at(2024, 3, 4, 11)),
             item(2, at(2024, 3, 4, 9, 30), at(2024, 3, 4, 10)),
             item(3, at(2024, 3, 4, 10, 30), at(2024, 3, 4, 12))});
    EXPECT_EQ(day.timeItem(1, 1)->lane, 1);
    EXPECT_EQ(day.timeItem(1, 2)->lane, 2);
    EXPECT_EQ(day.timeItem(1, 3)->lane, 2);
    for (int row = 37; row <= 48; ++row)
        EXPECT_EQ(day.columnCount(1, row), 2) << row;
    // A later event after the cluster starts a cluster of its own.
    collect({item(1, at(2024, 3, 4, 9), at(2024, 3, 4, 11)),
             item(2, at(2024, 3, 4, 9, 30), at(2024, 3, 4, 10)),
             item(4, at(2024, 3, 4, 13), at(2024, 3, 4, 14))});
    EXPECT_EQ(day.columnCount(1, 53), 1);
}

TEST_F(DayFixture, LongerEventWithTheSameStartTakesColumnOne)
{
    collect({item(1, at(2024, 3, 4, 9), at(2024, 3, 4, 10)),
             item(2, at(2024, 3, 4, 9), at(2024, 3, 4, 12))});
    EXPECT_EQ(day.timeItem(1, 1)->id, 2);
    EXPECT_EQ(day.timeItem(1, 1)->lane, 1);
}

TEST_F(DayFixture, OccurrenceAndOneTimeEventSortBySubject)
{
    const SerialDateTime s = at(2024, 3, 4, 9), e = at(2024, 3, 4, 10);
    struct Case {
        const char *name;
        QString rowSubject, occurrenceSubject;
        bool occurrenceFirst;
    } cases[] = {{"occurrence subject first", "beta", "Alpha", true},
                 {"row subject first", "Alpha", "beta", false},
                 {"same subject: row first", "Same", "Same", false}};
    for (const Case &c : cases) {
        collect({item(5, s, e, c.rowSubject), item(9, s, e, c.occurrenceSubject, true)});
        ASSERT_EQ(day.timeItemCount(1), 2) << c.name;
        const SpanItem &first = *day.timeItem(1, 1);
        EXPECT_EQ(first.isOccurrence, c.occurrenceFirst) << c.name;
        EXPECT_EQ(first.lane, 1) << c.name;
    }
}

TEST_F(DayFixture, ThreeOverlappingMultiDayEventsRaiseTheStripTo73)
{
    collect({item(1, at(2024, 3, 4, 9), at(2024, 3, 7, 17)),
             item(2, at(2024, 3, 5), at(2024, 3, 7)), item(3, at(2024, 3, 6), at(2024, 3, 8))});
    ASSERT_EQ(day.stripItemCount(), 3);
    EXPECT_EQ(day.stripHeight(), 73);
    const SpanItem &a = *day.stripItem(1);
    EXPECT_EQ(a.lane, 1);
    EXPECT_EQ(a.first, 1);
    EXPECT_EQ(a.last, 4);
    EXPECT_DOUBLE_EQ(a.startFrac, 9.0 / 24);
    EXPECT_DOUBLE_EQ(a.endFrac, 17.0 / 24);
    EXPECT_EQ(a.top, -1);
    EXPECT_EQ(a.bottom, 21);
    const SpanItem &b = *day.stripItem(2);
    EXPECT_EQ(b.lane, 2);
    EXPECT_EQ(b.last, 3); // midnight end closes the previous day
    EXPECT_EQ(day.stripItem(3)->lane, 3);
    EXPECT_EQ(day.laneOccupant(4, 3), 3);
    EXPECT_EQ(day.laneOccupant(5, 3), 0);
    collect({});
    EXPECT_EQ(day.stripHeight(), 15);
}

TEST_F(DayFixture, StripCutsAtBothEndsAndSkipsAnEndAtTheWindowStart)
{
    collect({item(1, at(2024, 3, 1), at(2024, 3, 20)), item(2, at(2024, 3, 2), at(2024, 3, 4)),
             item(3, at(2024, 3, 6), at(2024, 3, 7))});
    ASSERT_EQ(day.stripItemCount(), 2);
    const SpanItem &a = *day.stripItem(1);
    EXPECT_TRUE(a.cutStart);
    EXPECT_TRUE(a.cutEnd);
    EXPECT_EQ(a.first, 1);
    EXPECT_EQ(a.last, 7);
    const SpanItem &whole = *day.stripItem(2);
    EXPECT_EQ(whole.id, 3);
    EXPECT_EQ(whole.first, 3);
    EXPECT_EQ(whole.last, 3);
    EXPECT_EQ(whole.lane, 2);
}

TEST_F(DayFixture, ThirtyThreeOverlappingMultiDayEventsShowThirtyTwo)
{
    std::vector<SpanSourceItem> items;
    for (int i = 1; i <= 33; ++i)
        items.push_back(item(i, at(2024, 3, 4), at(2024, 3, 6)));
    collect(items);
    EXPECT_EQ(day.stripItemCount(), 32);
    EXPECT_EQ(day.stripItem(32)->lane, 32);
    EXPECT_EQ(day.stripHeight(), 21 * 32 + 10);
}

TEST_F(DayFixture, PartialCollectionKeepsTheOtherDays)
{
    collect({item(1, at(2024, 3, 4, 9), at(2024, 3, 4, 10)),
             item(2, at(2024, 3, 5, 9), at(2024, 3, 5, 10))});
    auto r = weekRequest(DaySpanCollection::TimeGridPart);
    r.firstGridDay = r.lastGridDay = 2;
    window = day.begin(r);
    EXPECT_EQ(day.timeItemCount(1), 1);
    EXPECT_EQ(day.timeItemCount(2), 0);
    EXPECT_EQ(day.timeOccupant(2, 37, 1), 0);
    SpanOrder::collect(day, window,
                       {item(3, at(2024, 3, 5, 11), at(2024, 3, 5, 12)),
                        item(4, at(2024, 3, 4, 11), at(2024, 3, 4, 12))});
    EXPECT_EQ(day.timeItemCount(1), 1); // day 1 lies outside the call
    EXPECT_EQ(day.timeItem(2, 1)->id, 3);
}

TEST_F(DayFixture, BadRequestsAreClamped)
{
    auto r = weekRequest();
    r.spanEnd = r.firstDay + 40;
    r.lastGridDay = 12;
    r.rows = 5000;
    r.rowMinutes = 0;
    window = day.begin(r);
    EXPECT_EQ(day.dayCount(), 7);
    EXPECT_EQ(day.rows(), 288);
    SpanOrder::collect(day, window,
                       {item(1, at(2024, 3, 10, 23), at(2024, 3, 11)),
                        item(2, at(2024, 3, 9, 5), at(2024, 3, 8, 5))});
    EXPECT_EQ(day.timeItemCount(7), 1);
    EXPECT_EQ(day.timeItemCount(6), 0); // ends before it starts: no day covered
}
