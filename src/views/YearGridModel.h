#pragma once
// What the year grid needs from the events data, so that it can be driven by the events store
// in the program and by a small in-memory model in tests. The event rows a drag reads and
// posts are the day grids' GridEventRow.
#include "core/DateTimeValue.h"
#include "store/YearSpanCollection.h"
#include "views/TimeGridModel.h"

#include <QColor>
#include <optional>

class YearGridModel
{
public:
    virtual ~YearGridModel() = default;

    // The year collection the grid paints and hit-tests. The grid runs its placement step
    // itself; the model only collects into it.
    virtual YearSpanCollection &yearCollection() = 0;
    // Collects month columns firstMonth..lastMonth (1-based) of the months that start with
    // firstDay's month and end before spanEnd.
    virtual void collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstMonth,
                                 int lastMonth) = 0;

    // Locates the event by id and reads its row; nullopt when there is no such event.
    virtual std::optional<GridEventRow> eventRow(int id) = 0;
    // True while the events table is in browse state; drag steps are skipped otherwise.
    virtual bool isBrowsing() const = 0;
    // Writes startTime and endTime and posts. False when nothing was posted. The grid
    // collects the months it touched itself after a successful post.
    virtual bool postEventTimes(int id, const GridEventRow &row) = 0;
    // Recomputes the pending alarm of an event whose times changed.
    virtual void rescheduleAlarm(int id) = 0;
    // Palette colour of the layer with this id; white when the layer does not exist.
    virtual QColor layerColor(int layerId) = 0;
};
