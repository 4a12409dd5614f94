#pragma once
// What the day and week grids need from the events data, so that they can be driven by the
// events store in the program and by a small in-memory model in tests.
#include "core/DateTimeValue.h"
#include "store/DaySpanCollection.h"

#include <QColor>
#include <optional>

// The fields of one events row a drag step reads and writes.
struct GridEventRow {
    SerialDateTime startTime = 0;
    SerialDateTime endTime = 0;
    bool recurrent = false;
    int extraDays = 0; // recurring rows: extra whole days an occurrence spans (0 or more)
};

class TimeGridModel
{
public:
    virtual ~TimeGridModel() = default;

    // The day-view collection the grids paint and hit-test. The grids run its placement steps
    // themselves; the model only collects into it.
    virtual DaySpanCollection &dayCollection() = 0;
    // Collects the parts, days and forced IDs of the request (begin() plus one add() per item
    // of the shown layers in event order, occurrences merged in).
    virtual void collectDayView(const DaySpanCollection::Request &request) = 0;

    // Locates the event by id and reads its row; nullopt when there is no such event.
    virtual std::optional<GridEventRow> eventRow(int id) = 0;
    // True while the events table is in browse state; drag steps are skipped otherwise.
    virtual bool isBrowsing() const = 0;
    // Puts the row in edit state, writes startTime, endTime and extraDays and posts. False
    // when nothing was posted (no such event, the store refused). The grid refreshes the
    // days it touched itself after a successful post.
    virtual bool postEventTimes(int id, const GridEventRow &row) = 0;
    // Recomputes the pending alarm of an event whose times changed.
    virtual void rescheduleAlarm(int id) = 0;

    // Palette colour of the layer with this id; white when the layer does not exist.
    virtual QColor layerColor(int layerId) = 0;
};
