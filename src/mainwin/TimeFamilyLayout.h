#pragma once
// Numbers of the time-grid views that the main window works out and hands to the time grid,
// the all-day strip, the date header and the scroll bar. Plain functions, no widgets; all
// sizes in pixels.
#include "core/DateTimeValue.h"

#include <QString>
#include <array>
#include <vector>

namespace TimeFamily
{
// Minutes per row of time-scale choice 0 to 5.
constexpr std::array<int, 6> ScaleMinutes{5, 6, 10, 15, 30, 60};
constexpr int DefaultScaleIndex = 3;
constexpr int DefaultRowHeight = 16;
constexpr int TimeAxisWidth = 60;

// Minutes per row of a time-scale choice; a choice outside 0 to 5 gives the default (15).
int minutesForScale(int scaleIndex);
// Rows of one day: 1440 / minutes (288, 240, 144, 96, 48, 24).
int stepsPerDay(int minutesPerRow);

// Row height after "Zoom In" (+5 unless already above 50) and "Zoom Out" (-5 unless already
// below 12).
int zoomedIn(int rowHeight);
int zoomedOut(int rowHeight);

// Widths of n columns that fill `width` exactly: column i (1-based) ends at
// nearest(i / n * width), halves rounded to the even neighbour. Empty for n < 1; a negative
// width counts as 0.
std::vector<int> columnWidths(int n, int width);

// Vertical layout of the time-grid panel for a given client height.
struct RowLayout {
    int rowCount = 0;     // grid rows including the header row 0
    int rowHeight = 0;    // pixels per time row
    int headerHeight = 0; // row 0 and the all-day strip
    bool scrollBarVisible = false;
    int scrollBarTop = 0;    // below row 0 (panel coordinates)
    int scrollBarHeight = 0; // 0 when hidden
    int pageSize = 23;       // whole hours per page of the scroll bar, 1 to 23
    friend bool operator==(const RowLayout &, const RowLayout &) = default;
};

// clientHeight: height of the window's client area (the top bar, the panel and the bottom bar);
// minRowHeight: the all-day strip's minimum (ViewState.stripHeight); zoomRowHeight: the row
// height the zoom commands set. When a day at the zoom height does not fit, the grid keeps that
// height and gets a scroll bar; otherwise the rows stretch to fill the height and the scroll bar
// is hidden (page 23). A client too small for one row gives one row and page 1.
RowLayout rowLayout(int clientHeight, int minRowHeight, int zoomRowHeight, int stepsPerDay);

// Highest first-visible hour for a page size: 24 - page, at least 0.
int lastScrollHour(int pageSize);
// First visible step (ViewState.firstVisibleRow) for first-visible hour `hour`; on the last page
// the rows are shifted so the day's last step ends at the grid's bottom. Never below 0.
int startPosition(int hour, int pageSize, int minutesPerRow, int rowCount);

// Header text of a time-grid day column: weekday and day number, and the short month name
// when the column is at least 76 wide; weekday and day from 51 to 75; only the weekday below 51.
QString headerText(SerialDateTime day, int columnWidth);
} // namespace TimeFamily
