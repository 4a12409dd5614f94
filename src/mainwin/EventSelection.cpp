#include "mainwin/EventSelection.h"

#include "core/ViewState.h"
#include "mainwin/MainWindow.h"
#include "views/AllDayStrip.h"
#include "views/MonthGrid.h"
#include "views/TimeGrid.h"
#include "views/YearGrid.h"

namespace
{
// The entries of one grid: each selected id with the occurrence day the grid pressed for it.
template <typename Grid> void append(std::vector<EventSelection::Entry> &entries, const Grid &grid)
{
    for (int id : grid.selectedEvents())
        entries.push_back({id, grid.pressedOccurrenceDay(id)});
}
} // namespace

std::vector<EventSelection::Entry> EventSelection::entries() const
{
    std::vector<Entry> result;
    const quint8 kind = m_window.currentView().kind;
    if (ViewState::usesTimeGrid(kind)) {
        append(result, *m_window.timeGrid());
        append(result, *m_window.timeGrid()->allDayStrip());
    } else if (ViewState::usesMonthGrid(kind)) {
        append(result, *m_window.monthGrid());
    } else if (ViewState::usesYearGrid(kind)) {
        append(result, *m_window.yearGrid());
    }
    return result;
}

std::vector<int> EventSelection::ids() const
{
    std::vector<int> result;
    for (const Entry &e : entries())
        result.push_back(e.id);
    return result;
}

std::optional<EventSelection::Entry> EventSelection::single() const
{
    const std::vector<Entry> all = entries();
    if (all.size() != 1) return std::nullopt;
    return all.front();
}

EventGrid *EventSelection::currentGrid() const
{
    const quint8 kind = m_window.currentView().kind;
    if (ViewState::usesTimeGrid(kind)) return m_window.timeGrid();
    if (ViewState::usesMonthGrid(kind)) return m_window.monthGrid();
    if (ViewState::usesYearGrid(kind)) return m_window.yearGrid();
    return nullptr;
}

void EventSelection::clear() const
{
    if (EventGrid *grid = currentGrid()) grid->clearSelectedEvents();
}
