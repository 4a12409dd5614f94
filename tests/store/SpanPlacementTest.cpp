#include "support/SpanTestSupport.h"

#include <gtest/gtest.h>

using namespace SpanTest;

namespace
{

struct Rect {
    int left, top, right, bottom;
    bool operator==(const Rect &) const = default;
};
Rect rectOf(const SpanItem &r)
{
    return {r.left, r.top, r.right, r.bottom};
}
std::ostream &operator<<(std::ostream &os, const Rect &r)
{
    return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

// Day columns 110 px wide after a 60 px time column.
template <std::size_t N> std::array<GridBand, N> columns(int left, int width)
{
    std::array<GridBand, N> c;
    for (std::size_t i = 0; i < N; ++i)
        c[i] = {left + int(i) * width, width};
    return c;
}

} // namespace

TEST(SpanPlacement, TimeGridSharesTheColumnByTheCountAndFollowsTheScroll)
{
    auto all = makeCollections();
    DaySpanCollection &day = all->day;
    const auto w = day.begin(weekRequest());
    SpanOrder::collect(day, w,
                       {item(1, at(2024, 3, 5, 9), at(2024, 3, 5, 11)),
                        item(2, at(2024, 3, 5, 10), at(2024, 3, 5, 12)),
                        item(3, at(2024, 3, 6, 9, 10), at(2024, 3, 6, 9, 50)),
                        item(4, at(2024, 3, 7, 8), at(2024, 3, 7, 9)),
                        item(5, at(2024, 3, 7, 8), at(2024, 3, 7, 9)),
                        item(6, at(2024, 3, 7, 8), at(2024, 3, 7, 9))});
    TimeGridGeometry g;
    g.dayColumns = columns<7>(60, 110);
    g.headerHeight = 15;
    g.rowHeight = 16;
    g.scrollRow = 32; // 8:00 at the top
    day.placeTimeGrid(g, 1, 7);
    // Usable width 100: halves for A and B.
    EXPECT_EQ(rectOf(*day.timeItem(2, 1)), (Rect{169, 78, 220, 207}));
    EXPECT_EQ(rectOf(*day.timeItem(2, 2)), (Rect{219, 142, 270, 271}));
    // A lone box: the whole usable width; rows 37..40.
    EXPECT_EQ(rectOf(*day.timeItem(3, 1)), (Rect{279, 78, 380, 143}));
    // Thirds truncate: 33, 66, 100.
    EXPECT_EQ(day.timeItem(4, 2)->left, 390 + 33 - 1);
    EXPECT_EQ(day.timeItem(4, 2)->right, 390 + 66);
    EXPECT_EQ(day.timeItem(4, 3)->right, 390 + 100);

    g.scrollRow = 36;
    g.rowHeight = 21;
    day.placeTimeGridVertical(g, 2, 2);
    EXPECT_EQ(rectOf(*day.timeItem(2, 1)), (Rect{169, 14, 220, 183}));
    EXPECT_EQ(day.timeItem(3, 1)->top, 78); // outside the days placed
}

TEST(SpanPlacement, StripBarsSpanTheirDayColumns)
{
    auto all = makeCollections();
    DaySpanCollection &day = all->day;
    const auto w = day.begin(weekRequest());
    SpanOrder::collect(
        day, w,
        {item(1, at(2024, 3, 5), at(2024, 3, 7)), item(2, at(2024, 3, 6, 12), at(2024, 3, 8, 12))});
    StripGeometry g;
    g.dayColumns = columns<7>(60, 110);
    day.placeStrip(g);
    EXPECT_EQ(rectOf(*day.stripItem(1)), (Rect{169, -1, 390, 21}));
    EXPECT_EQ(rectOf(*day.stripItem(2)), (Rect{279, 20, 610, 42}));
}

TEST(SpanPlacement, MonthBarsStackSixteenPixelsApartBelowTheDayNumbers)
{
    auto all = makeCollections();
    MonthSpanCollection &month = all->month;
    SpanOrder::collect(
        month, month.begin(at(2024, 1, 29), 1, 6),
        {item(1, at(2024, 2, 6), at(2024, 2, 8)), item(2, at(2024, 2, 7, 9), at(2024, 2, 7, 10))});
    MonthGridGeometry g;
    g.dayColumns = columns<7>(0, 100);
    g.weekTops = {0, 90, 180, 270, 360, 450};
    month.place(g, 1, 6);
    EXPECT_EQ(rectOf(*month.item(2, 1)), (Rect{99, 105, 300, 122}));
    EXPECT_EQ(rectOf(*month.item(2, 2)), (Rect{199, 121, 300, 138}));
}

TEST(SpanPlacement, YearBoxesShareTheMonthColumnAndSpanTheirDayRows)
{
    auto all = makeCollections();
    YearSpanCollection &year = all->year;
    SpanOrder::collect(
        year, year.begin(at(2024, 1, 1), 1, 12),
        {item(1, at(2024, 2, 27), at(2024, 3, 2)), item(2, at(2024, 2, 28), at(2024, 2, 28))});
    YearGridGeometry g;
    g.monthColumns = columns<12>(30, 80);
    for (int r = 0; r < 31; ++r)
        g.dayRows[r] = {r * 20, 20};
    year.place(g, 1, 12);
    // Usable width 68, two columns of 34.
    EXPECT_EQ(rectOf(*year.item(2, 1)), (Rect{109, 519, 144, 580}));
    EXPECT_EQ(rectOf(*year.item(2, 2)), (Rect{143, 539, 178, 560}));
    EXPECT_EQ(rectOf(*year.item(3, 1)), (Rect{189, -1, 258, 20}));
}
