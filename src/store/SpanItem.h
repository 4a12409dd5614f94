#pragma once
// The unit of every span collection (time grid, all-day strip, month grid, year grid) and the
// item a collection is fed with. Indices in these records are 1-based throughout: rows, day
// columns, week rows, month columns, columns and lanes.
#include "core/DateTimeValue.h"

#include <QString>

// One placed item of a collection.
struct TSpanItem_Rec {
    int ID = 0;   // the event's ID (for an occurrence, the recurring event's ID)
    int Slot = 0; // number in its cell list, from 1; the occupancy tables hold this number
    int Layer = 0;
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
    int First = 0;         // first row (time and year grid) or day column (strip, month grid)
    bool CutStart = false; // began before First
    double StartFrac = 0;  // fraction of the First row/day column where it starts; -1 zero length
    int Last = 0;          // last row or day column covered, never below First
    bool CutEnd = false;   // goes on after Last
    double EndFrac = 0;    // fraction of the Last row/day column where it ends; -1 zero length
    bool AlarmSet = false;
    QString Subject;
    QString Description;
    int Lane = 0; // column 1..16 (time and year grid) or lane 1..32 (strip and month grid)
    // Pixel rectangle filled by the placement step; Right and Bottom are exclusive edges.
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool IsOccurrence = false; // from the occurrence list rather than from a table row
};

// What the events walk hands to a collection, once per item, in event order (StartTime
// ascending, EndTime descending, Subject by compareText, then ID; occurrences merged in).
struct SpanSourceItem {
    int ID = 0;
    int Layer = 0;
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
    bool AlarmSet = false;
    QString Subject;
    QString Description;
    bool IsOccurrence = false;
};

// The collection window the events filter uses: rows with StartTime < end and
// EndTime >= start (recurring rows by their occurrences) can put an item into it.
struct CollectionWindow {
    TDateTime start = 0;
    TDateTime end = 0;
};

namespace SpanLimits
{
constexpr int MaxItemsPerCell = 100;
constexpr int MaxColumns = 16;
constexpr int MaxLanes = 32;
constexpr int MaxTimeRows = 288;
constexpr int MaxDays = 7;
constexpr int MaxWeeks = 6;
constexpr int MaxMonths = 12;
constexpr int MaxMonthDays = 31;
} // namespace SpanLimits
