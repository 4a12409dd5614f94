#include "mainwin/EventsStoreYearModel.h"

#include "store/EventsStore.h"

EventsStoreYearModel::EventsStoreYearModel(EventsStore &events, LayersStore &layers)
    : m_events(events), m_rows(events, layers)
{
}

YearSpanCollection &EventsStoreYearModel::yearCollection()
{
    return m_events.collections().year;
}

void EventsStoreYearModel::collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd,
                                           int firstMonth, int lastMonth)
{
    m_events.collectYearView(firstDay, spanEnd, firstMonth, lastMonth);
}
