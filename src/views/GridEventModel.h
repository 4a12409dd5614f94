#pragma once
// What every grid that drags events (day, week and month grids) needs from the events data:
// one event's times, posting new ones, its alarm and the layer colours. Implemented over the
// stores in the program and by small in-memory models in tests.
#include "core/DateTimeValue.h"

#include <QColor>
#include <optional>

// The fields of one events row a drag step reads and writes.
struct GridEventRow {
    SerialDateTime startTime = 0;
    SerialDateTime endTime = 0;
    bool recurrent = false;
    int extraDays = 0; // recurring rows: extra whole days an occurrence spans (0 or more)
};

class GridEventModel
{
public:
    virtual ~GridEventModel() = default;

    // Locates the event by id and reads its row; nullopt when there is no such event.
    virtual std::optional<GridEventRow> eventRow(int id) = 0;
    // True while the events table is in browse state; drag steps are skipped otherwise.
    virtual bool isBrowsing() const = 0;
    // Puts the row in edit state, writes startTime, endTime and extraDays and posts; the post
    // also recomputes the event's pending alarm, so a drag leaves it right after every step.
    // False when nothing was posted (no such event, the store refused). The grid refreshes
    // what it touched itself after a successful post.
    virtual bool postEventTimes(int id, const GridEventRow &row) = 0;

    // Palette colour of the layer with this id; white when the layer does not exist.
    virtual QColor layerColor(int layerId) = 0;
};
