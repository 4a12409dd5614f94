#pragma once
// Grid geometry handed to the placement steps as plain numbers, so placement needs no widget.
// A GridBand is one column (start = left edge, size = width) or one row (start = top edge,
// size = height) in grid pixels; its end edge is exclusive.
#include "store/SpanItem.h"

#include <array>

struct GridBand {
    int start = 0;
    int size = 0;
    int end() const { return start + size; }
};

struct TimeGridGeometry {
    std::array<GridBand, SpanLimits::MaxDays> dayColumns; // day column 1 at index 0
    int headerHeight = 15; // height of grid row 0 (covered by the all-day strip)
    int rowHeight = 16;    // pixels per time row
    int scrollRow = 0;     // v: the time row shown at screen row r is r + scrollRow
};

struct StripGeometry {
    std::array<GridBand, SpanLimits::MaxDays> dayColumns;
};

struct MonthGridGeometry {
    std::array<GridBand, 7> dayColumns;               // weekday column 1 at index 0
    std::array<int, SpanLimits::MaxWeeks> weekTops{}; // top edge of week row 1 at index 0
};

struct YearGridGeometry {
    std::array<GridBand, SpanLimits::MaxMonths> monthColumns; // month column 1 at index 0
    std::array<GridBand, SpanLimits::MaxMonthDays> dayRows;   // day row 1 at index 0
};
