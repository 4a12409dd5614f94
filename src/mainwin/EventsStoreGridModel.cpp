#include "mainwin/EventsStoreGridModel.h"

#include "core/LayerPalette.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"

EventsStoreGridModel::EventsStoreGridModel(EventsStore &events, LayersStore &layers)
    : m_events(events), m_layers(layers)
{
}

DaySpanCollection &EventsStoreGridModel::dayCollection()
{
    return m_events.collections().day;
}

void EventsStoreGridModel::collectDayView(const DaySpanCollection::Request &request)
{
    m_events.collectDayView(request);
}

std::optional<GridEventRow> EventsStoreGridModel::eventRow(int id)
{
    if (!m_events.CDS.locate(EventsStore::F_ID, id)) return std::nullopt;
    if (m_events.currentStartTime() < EventsStore::ClipboardBelow) return std::nullopt;
    GridEventRow r;
    r.startTime = m_events.currentStartTime();
    r.endTime = m_events.currentEndTime();
    r.recurrent = m_events.currentIsRecurring();
    r.extraDays = m_events.CDS.asInteger(EventsStore::F_ComboBox1);
    return r;
}

bool EventsStoreGridModel::isBrowsing() const
{
    return m_events.CDS.state() == Table::State::Browse;
}

bool EventsStoreGridModel::postEventTimes(int id, const GridEventRow &row)
{
    if (!eventRow(id)) return false;
    Table &t = m_events.CDS;
    if (!t.edit()) return false;
    t.setValue(EventsStore::F_StartTime, row.startTime);
    t.setValue(EventsStore::F_EndTime, row.endTime);
    t.setValue(EventsStore::F_ComboBox1, row.extraDays);
    m_posting = true;
    const TableResult r = t.post();
    m_posting = false;
    return r.applied;
}

void EventsStoreGridModel::rescheduleAlarm(int id)
{
    m_events.refreshPendingAlarm(id);
}

QColor EventsStoreGridModel::layerColor(int layerId)
{
    const Table::Bookmark here = m_layers.CDS.bookmark();
    const int colour = m_layers.locateID(layerId) ? m_layers.currentColor() : 0;
    m_layers.CDS.gotoBookmark(here);
    return LayerPalette::layerColor(colour);
}
