#pragma once
// The year collection: per shown month (up to 12) a cell list and an occupancy table of 31 day
// rows by 16 columns with a column count per row, laid out as the time grid lays out time
// rows. Fixed-size storage; allocates nothing but the text it copies.
//
// Use: begin() clears month columns a..b and returns the collection window; add() once per
// item in event order; place() computes the boxes' pixel rectangles.
#include "store/ColumnTable.h"
#include "store/SpanCellLists.h"
#include "store/SpanGeometry.h"
#include "store/SpanItem.h"

#include <array>
#include <cstdint>
#include <span>

class YearSpanCollection
{
public:
    YearSpanCollection();

    // firstDay: a day of the first shown month; F is the first of that month and month
    // column j starts at F + off(j). Month columns a..b are clamped to 1..12 (b < a covers
    // nothing). Returns F + off(a) .. F + off(b + 1).
    CollectionWindow begin(SerialDateTime firstDay, int firstMonth, int lastMonth);
    // Every item of any length takes part, except one that ends exactly at the window start
    // while starting before it.
    void add(const SpanSourceItem &item);
    // Pixel rectangles of the items of month columns a..b.
    void place(const YearGridGeometry &g, int firstMonth, int lastMonth);

    // off(j): days from F to the first of month column j, j = 1..13 (off(1) = 0); 0 outside.
    int monthOffset(int month) const;
    int monthLength(int month) const; // 28..31; 0 outside 1..12
    SerialDateTime firstDay() const { return double(m_firstDay); }

    // Read access; out-of-range arguments give 0 or an empty list.
    int itemCount(int month) const { return m_cells.count(month); }
    std::span<const SpanItem> items(int month) const { return m_cells.items(month); }
    const SpanItem *item(int month, int slot) const { return m_cells.item(month, slot); }
    int occupant(int month, int dayRow, int column) const; // Slot or 0
    int columnCount(int month, int dayRow) const;
    ColumnTableRef monthTable(int month); // rows = the month's length

private:
    using MonthTable = std::array<ColumnRow, SpanLimits::MaxMonthDays>;
    using MonthCounts = std::array<std::uint8_t, SpanLimits::MaxMonthDays>;

    SpanCellLists<SpanLimits::MaxMonths> m_cells;
    std::array<MonthTable, SpanLimits::MaxMonths> m_slots{};
    std::array<MonthCounts, SpanLimits::MaxMonths> m_counts{};
    std::array<int, SpanLimits::MaxMonths + 1> m_offsets{};

    qint64 m_firstDay = 0;
    int m_a = 1;
    int m_b = 0;
    qint64 m_windowStartMs = 0;
};
