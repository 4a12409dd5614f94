#pragma once
// Side-by-side columns of the time grid (rows = time steps of one day) and of the year grid
// (rows = days of one month): an occupancy table of rows by 16 columns holding the Slot of the
// item there (0 = free) and a column count per row. The table itself lives in fixed arrays of
// its collection; ColumnTableRef is a view of one day's or one month's part of it.
#include "store/SpanItem.h"

#include <array>
#include <cstdint>

using ColumnRow = std::array<std::uint8_t, SpanLimits::MaxColumns>;

struct ColumnTableRef {
    ColumnRow *slotRows = nullptr;  // slotRows[row - 1][column - 1]
    std::uint8_t *counts = nullptr; // counts[row - 1]
    int rows = 0;                   // rows in use (R); rows beyond are never touched

    // Slot held at (row, column); 0 outside the table.
    int cell(int row, int column) const
    {
        if (row < 1 || row > rows || column < 1 || column > SpanLimits::MaxColumns) return 0;
        return slotRows[row - 1][column - 1];
    }
    int count(int row) const { return (row < 1 || row > rows) ? 0 : counts[row - 1]; }
};

namespace ColumnTable
{

// Empties rows 1..t.rows: every slot 0, every column count 0.
void clear(ColumnTableRef t);

// Smallest column 1..16 whose cells in rows first..last are all free; 0 when none is.
// first..last must lie within 1..t.rows.
int findFreeColumn(ColumnTableRef t, int first, int last);

// Writes slot into rows first..last of column.
void mark(ColumnTableRef t, int first, int last, int column, int slot);

// The column-count walk run after an item took `column` on rows first..last: climbs to the
// top row r of the cluster the item joined, descends to its bottom row q, and sets the column
// count of every row r..q to max(column, count of row r). Always ends (each phase moves r, q
// or the column monotonically).
void widenColumnCount(ColumnTableRef t, int first, int last, int column);

} // namespace ColumnTable
