#pragma once
// The day-view collection: the time-grid part (per shown day a cell list, an occupancy table of
// time rows by 16 columns and a column count per row) and the all-day part (one cell list for
// the strip, an occupancy table of shown days by 32 lanes, and the strip height). All storage
// is fixed-size; a collection allocates nothing but the text it copies (QString sharing).
//
// Use: begin() clears the cells the call covers and returns the collection window for the
// events filter; then add() once per item in event order; then placeTimeGrid()/placeStrip().
#include "store/ColumnTable.h"
#include "store/SpanGeometry.h"
#include "store/SpanItem.h"

#include <array>
#include <cstdint>
#include <span>

class DaySpanCollection
{
public:
    enum Part : unsigned { TimeGridPart = 1, AllDayPart = 2, BothParts = 3 };

    struct Request {
        SerialDateTime firstDay = 0; // F, first shown day (its time of day is ignored)
        SerialDateTime spanEnd = 0;  // S, the day after the last shown day; n = S - F, 1..7
        int firstGridDay = 1;        // a, first day of the time-grid part (1-based, in 1..n)
        int lastGridDay = 1;         // b, last day of the time-grid part (a..n)
        unsigned parts = BothParts;
        int forcedAllDayId = 0;   // event forced into the strip; 0 = none
        int forcedTimeGridId = 0; // event forced into the time grid; 0 = none
        int rowMinutes = 15;      // g, minutes per time row
        int rows = 96;            // R, time rows per day (at most 288)
    };

    DaySpanCollection();

    // Clears the cells of the parts wanted (time-grid days a..b; the whole strip with height
    // 15) and returns the window: F..S with the all-day part wanted, else F+a-1 .. F+b.
    // Out-of-range numbers are clamped (n to 1..7, a and b to 1..n, R to 1..288); b < a
    // leaves no time-grid day.
    CollectionWindow begin(const Request &request);
    // Places one item (placement rules of the time grid and of the strip). Items past a
    // cell's 100, or without a free column or lane, are left out of that cell.
    void add(const SpanSourceItem &item);

    // Pixel rectangles of the time-grid items of days a..b (Left/Right from the column count
    // of the item's First row, Top/Bottom from the rows and the scroll position).
    void placeTimeGrid(const TimeGridGeometry &g, int firstDay, int lastDay);
    // Only Top/Bottom of days a..b (after a zoom or a scroll).
    void placeTimeGridVertical(const TimeGridGeometry &g, int firstDay, int lastDay);
    // Left/Right of every strip item (Top/Bottom are set by add(): 21 x lane - 22 .. 21 x lane).
    void placeStrip(const StripGeometry &g);

    // Read access; out-of-range arguments give 0 or an empty list.
    int dayCount() const { return m_days; } // n
    int rows() const { return m_rows; }     // R
    int rowMinutes() const { return m_rowMinutes; }
    int timeItemCount(int day) const;
    std::span<const SpanItem> timeItems(int day) const;
    const SpanItem *timeItem(int day, int slot) const;    // nullptr when absent
    int timeOccupant(int day, int row, int column) const; // Slot or 0
    int columnCount(int day, int row) const;
    ColumnTableRef timeTable(int day); // for the tests and the views' free-column fill

    int stripItemCount() const { return m_stripCount; }
    std::span<const SpanItem> stripItems() const;
    const SpanItem *stripItem(int slot) const;
    int laneOccupant(int day, int lane) const; // Slot or 0
    int stripHeight() const { return m_stripHeight; }

private:
    void addToTimeGrid(const SpanSourceItem &item);
    void addToStrip(const SpanSourceItem &item);

    using ItemList = std::array<SpanItem, SpanLimits::MaxItemsPerCell>;
    using DayTable = std::array<ColumnRow, SpanLimits::MaxTimeRows>;
    using DayCounts = std::array<std::uint8_t, SpanLimits::MaxTimeRows>;
    using LaneRow = std::array<std::uint8_t, SpanLimits::MaxLanes>;

    std::array<ItemList, SpanLimits::MaxDays> m_timeItems;
    std::array<int, SpanLimits::MaxDays> m_timeCount{};
    std::array<DayTable, SpanLimits::MaxDays> m_timeSlots{};
    std::array<DayCounts, SpanLimits::MaxDays> m_timeCounts{};

    ItemList m_stripItems;
    int m_stripCount = 0;
    std::array<LaneRow, SpanLimits::MaxDays> m_stripLanes{};
    int m_stripHeight = 15;

    qint64 m_firstDay = 0; // F as a day number
    int m_days = 1;        // n
    int m_a = 1;
    int m_b = 0;
    unsigned m_parts = 0;
    int m_forcedAllDay = 0;
    int m_forcedTimeGrid = 0;
    int m_rowMinutes = 15;
    int m_rows = 96;
    qint64 m_windowStartMs = 0;
};
