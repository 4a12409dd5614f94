#pragma once
// The month collection: per week row (up to 6) a cell list and an occupancy table of 7 day
// columns by 32 lanes. Fixed-size storage; allocates nothing but the text it copies.
//
// Use: begin() clears week rows a..b and returns the collection window; add() once per item
// in event order; place() computes the bars' pixel rectangles.
#include "store/SpanCellLists.h"
#include "store/SpanGeometry.h"
#include "store/SpanItem.h"

#include <array>
#include <cstdint>
#include <span>

class MonthSpanCollection
{
public:
    MonthSpanCollection();

    // firstDay: F, the first shown day (week row 1 starts there); week rows a..b, clamped to
    // 1..6 (b < a covers nothing). Returns F + 7(a-1) .. F + 7b.
    CollectionWindow begin(SerialDateTime firstDay, int firstWeek, int lastWeek);
    // Every item of any length takes part, except one that ends exactly at the window start
    // while starting before it.
    void add(const SpanSourceItem &item);
    // Pixel rectangles of the items of week rows a..b.
    void place(const MonthGridGeometry &g, int firstWeek, int lastWeek);

    // Read access; out-of-range arguments give 0 or an empty list.
    int itemCount(int week) const { return m_cells.count(week); }
    std::span<const SpanItem> items(int week) const { return m_cells.items(week); }
    const SpanItem *item(int week, int slot) const { return m_cells.item(week, slot); }
    int laneOccupant(int week, int dayColumn, int lane) const; // Slot or 0

private:
    using LaneRow = std::array<std::uint8_t, SpanLimits::MaxLanes>;
    using WeekLanes = std::array<LaneRow, 7>;

    SpanCellLists<SpanLimits::MaxWeeks> m_cells;
    std::array<WeekLanes, SpanLimits::MaxWeeks> m_lanes{};

    qint64 m_firstDay = 0;
    int m_a = 1;
    int m_b = 0;
    qint64 m_windowStartMs = 0;
};
