#pragma once
// What the time grid and the all-day strip plug into the main window. The window keeps the
// navigation state (ViewDates span, ViewState numbers, scale, zoom height, scroll position) and calls
// these at the points named below; an empty hook is skipped.
#include "mainwin/TimeFamilyLayout.h"

#include <functional>

struct TimeGridHooks {
    // Drop the time selection and any drag state: on switching to a time view, on a time-scale
    // change and when the selected date changes while a range is selected.
    std::function<void()> reinitialise;
    // Apply the window's numbers before drawing: minutes per row, rows per day, the row layout
    // (row count, row height, header row / strip height) and the day-column widths (column 0
    // is the 60-pixel hour axis, then ViewState.columnCount days).
    std::function<void(int minutesPerRow, const TimeFamily::RowLayout &rows,
                       const std::vector<int> &dayWidths)>
        applyLayout;
    // Collect the day view of ViewDates.spanStart .. spanEnd (ViewState.columnCount days) from the
    // events store and place it horizontally and vertically. Runs in every refresh of a time
    // view and after a change of scale or columns.
    std::function<void()> collect;
    // Place the collected items vertically again: after a scroll (ViewState.firstVisibleRow
    // changed) or a zoom (row height changed).
    std::function<void()> placeVertical;
    // One tick of autoScrollUpTimer (up = true) or autoScrollDownTimer while the grid drags past its edge: move
    // the drag target by one hour of rows; the window then scrolls timeScrollBar by one hour.
    std::function<void(bool up)> autoScrollTick;
};
