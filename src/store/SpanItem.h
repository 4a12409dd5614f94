#pragma once
// The unit of every span collection (time grid, all-day strip, month grid, year grid) and the
// item a collection is fed with. Indices in these records are 1-based throughout: rows, day
// columns, week rows, month columns, columns and lanes.
#include "core/DateTimeValue.h"

#include <QString>

// One placed item of a collection.
struct SpanItem {
    int id = 0;   // the event's id (for an occurrence, the recurring event's id)
    int slot = 0; // number in its cell list, from 1; the occupancy tables hold this number
    int layer = 0;
    SerialDateTime startTime = 0;
    SerialDateTime endTime = 0;
    int first = 0;         // first row (time and year grid) or day column (strip, month grid)
    bool cutStart = false; // began before First
    double startFrac = 0;  // fraction of the First row/day column where it starts; -1 zero length
    int last = 0;          // last row or day column covered, never below First
    bool cutEnd = false;   // goes on after Last
    double endFrac = 0;    // fraction of the Last row/day column where it ends; -1 zero length
    bool alarmSet = false;
    QString subject;
    QString description;
    int lane = 0; // column 1..16 (time and year grid) or lane 1..32 (strip and month grid)
    // Pixel rectangle filled by the placement step; Right and Bottom are exclusive edges.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool isOccurrence = false; // from the occurrence list rather than from a table row
};

// What the events walk hands to a collection, once per item, in event order (startTime
// ascending, endTime descending, subject by compareText, then id; occurrences merged in). It is
// also the record of the occurrence list: an occurrence of a recurring event (isOccurrence set)
// carries the event's id, layer, alarmSet, subject and description and its own times.
struct SpanSourceItem {
    int id = 0;
    int layer = 0;
    SerialDateTime startTime = 0;
    SerialDateTime endTime = 0;
    bool alarmSet = false;
    QString subject;
    QString description;
    bool isOccurrence = false;
};

// Starts the placed item `r` in `slot` from `source`: the source's fields copied, not cut,
// no lane, an empty rectangle. The placement fields (first, last, fractions) are the caller's.
inline void fillSpanItem(SpanItem &r, const SpanSourceItem &source, int slot)
{
    r.id = source.id;
    r.slot = slot;
    r.layer = source.layer;
    r.startTime = source.startTime;
    r.endTime = source.endTime;
    r.cutStart = false;
    r.cutEnd = false;
    r.alarmSet = source.alarmSet;
    r.subject = source.subject;
    r.description = source.description;
    r.lane = 0;
    r.left = r.top = r.right = r.bottom = 0;
    r.isOccurrence = source.isOccurrence;
}

// The collection window the events filter uses: rows with startTime < end and
// endTime >= start (recurring rows by their occurrences) can put an item into it.
struct CollectionWindow {
    SerialDateTime start = 0;
    SerialDateTime end = 0;
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
