#pragma once
// The day, week and month grids' view of the events and layers stores. Drag posts made through it
// are marked (postingDrag()) so that the events store's after-post hook can tell them from other
// posts: the grid refreshes the days it touched itself.
#include "views/MonthGridModel.h"
#include "views/TimeGridModel.h"

class EventsStore;
class LayersStore;

class EventsStoreGridModel : public TimeGridModel, public MonthGridModel
{
public:
    // Both stores must outlive the model.
    EventsStoreGridModel(EventsStore &events, LayersStore &layers);

    DaySpanCollection &dayCollection() override;
    void collectDayView(const DaySpanCollection::Request &request) override;
    MonthSpanCollection &monthCollection() override;
    void collectMonthView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstWeek,
                          int lastWeek) override;
    // Reads by id whatever the filters say (a drag keeps its event even when it leaves the
    // collection window).
    std::optional<GridEventRow> eventRow(int id) override;
    bool isBrowsing() const override;
    // Edits and posts startTime, endTime and extraDays. False when the event does not exist,
    // is the clipboard row, or the table refused the change; a post kept in memory whose write
    // to the file failed counts as posted (the table retries the write).
    bool postEventTimes(int id, const GridEventRow &row) override;
    QColor layerColor(int layerId) override;

    // True only while postEventTimes() posts.
    bool postingDrag() const { return m_posting; }
    // A read-only calendar: postEventTimes() refuses, so drags move nothing.
    void setReadOnly(bool on) { m_readOnly = on; }

private:
    EventsStore &m_events;
    LayersStore &m_layers;
    bool m_posting = false;
    bool m_readOnly = false;
};
