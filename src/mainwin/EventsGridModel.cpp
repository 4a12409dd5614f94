#include "mainwin/EventsGridModel.h"

#include "core/LayerPalette.h"
#include "store/DEventsDM.h"
#include "store/DLayersDM.h"

EventsGridModel::EventsGridModel(TDEvents &events, TDLayers &layers)
    : m_events(events), m_layers(layers)
{
}

DaySpanCollection &EventsGridModel::dayCollection()
{
    return m_events.collections().day;
}

void EventsGridModel::collectDayView(const DaySpanCollection::Request &request)
{
    m_events.CollectDayView(request);
}

std::optional<GridEventRow> EventsGridModel::eventRow(int id)
{
    if (!m_events.CDS.locate(TDEvents::F_ID, id)) return std::nullopt;
    if (m_events.StartTime() < TDEvents::ClipboardBelow) return std::nullopt;
    GridEventRow r;
    r.StartTime = m_events.StartTime();
    r.EndTime = m_events.EndTime();
    r.Recurrent = m_events.Recurrent();
    r.ComboBox1 = m_events.CDS.asInteger(TDEvents::F_ComboBox1);
    return r;
}

bool EventsGridModel::isBrowsing() const
{
    return m_events.CDS.state() == Table::State::Browse;
}

bool EventsGridModel::postEventTimes(int id, const GridEventRow &row)
{
    if (!eventRow(id)) return false;
    Table &t = m_events.CDS;
    if (!t.edit()) return false;
    t.setValue(TDEvents::F_StartTime, row.StartTime);
    t.setValue(TDEvents::F_EndTime, row.EndTime);
    t.setValue(TDEvents::F_ComboBox1, row.ComboBox1);
    m_posting = true;
    const TableResult r = t.post();
    m_posting = false;
    return r.applied;
}

void EventsGridModel::rescheduleAlarm(int id)
{
    m_events.refreshPendingAlarm(id);
}

QColor EventsGridModel::layerColor(int layerId)
{
    const Table::Bookmark here = m_layers.CDS.bookmark();
    const int colour = m_layers.locateID(layerId) ? m_layers.Color() : 0;
    m_layers.CDS.gotoBookmark(here);
    return LayerPalette::layerColor(colour);
}
