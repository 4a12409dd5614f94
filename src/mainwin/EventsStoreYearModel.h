#pragma once
// The year grid's view of the events and layers stores. Event rows are read and posted through
// the day grids' adapter, so drag posts are marked the same way (postingDrag()).
#include "mainwin/EventsStoreGridModel.h"
#include "views/YearGridModel.h"

class EventsStore;
class LayersStore;

class EventsStoreYearModel : public YearGridModel
{
public:
    // Both stores must outlive the model.
    EventsStoreYearModel(EventsStore &events, LayersStore &layers);

    YearSpanCollection &yearCollection() override;
    void collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstMonth,
                         int lastMonth) override;
    std::optional<GridEventRow> eventRow(int id) override { return m_rows.eventRow(id); }
    bool isBrowsing() const override { return m_rows.isBrowsing(); }
    bool postEventTimes(int id, const GridEventRow &row) override
    {
        return m_rows.postEventTimes(id, row);
    }
    QColor layerColor(int layerId) override { return m_rows.layerColor(layerId); }

    // True only while postEventTimes() posts.
    bool postingDrag() const { return m_rows.postingDrag(); }
    void setReadOnly(bool on) { m_rows.setReadOnly(on); }

private:
    EventsStore &m_events;
    EventsStoreGridModel m_rows;
};
