#include "mainwin/EventsStoreGridModel.h"

#include "core/LayerPalette.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"

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

MonthSpanCollection &EventsStoreGridModel::monthCollection()
{
    return m_events.collections().month;
}

void EventsStoreGridModel::collectMonthView(SerialDateTime firstDay, SerialDateTime spanEnd,
                                            int firstWeek, int lastWeek)
{
    m_events.collectMonthView(firstDay, spanEnd, firstWeek, lastWeek);
}

std::optional<GridEventRow> EventsStoreGridModel::eventRow(int id)
{
    const auto event = m_events.event(id);
    if (!event) return std::nullopt;
    GridEventRow r;
    r.startTime = event->startTime();
    r.endTime = event->endTime();
    r.recurrent = event->isRecurring();
    r.extraDays = RecurrenceColumns::extraDaysOf(*event);
    return r;
}

bool EventsStoreGridModel::isBrowsing() const
{
    return m_events.isBrowsing();
}

bool EventsStoreGridModel::postEventTimes(int id, const GridEventRow &row)
{
    if (m_readOnly) return false;
    // A write that fails keeps the new times on the screen and in memory; the window's bar
    // tells the user, and the times reach the file with the next write that succeeds.
    m_posting = true;
    const TableResult r = m_events.updateEventTimes(id, row.startTime, row.endTime, row.extraDays);
    m_posting = false;
    return r.applied;
}

QColor EventsStoreGridModel::layerColor(int layerId)
{
    return LayerPalette::layerColor(m_layers.layerColor(layerId));
}
