#pragma once
// Which events the current view has selected: the time grid and its all-day strip in views
// 0-8, the month grid in views 9-14, the year grid in views 15-18, nothing in the tasks view.
// Reads the grids of the window it is made for each time it is asked; holds no state itself.
#include "core/DateTimeValue.h"

#include <optional>
#include <vector>

class EventGrid;
class MainWindow;

class EventSelection
{
public:
    // One selected entry: the event's id and, for an occurrence of a recurring event, the
    // occurrence's day (-1 for a one-time event, or when the grid no longer knows which
    // occurrence was chosen).
    struct Entry {
        int id = 0;
        SerialDateTime occurrenceDay = -1;
        bool isOccurrence() const { return occurrenceDay >= 0; }
    };

    // The window must outlive the selection.
    explicit EventSelection(const MainWindow &window) : m_window(window) {}

    // The selected entries in selection order; in the time views the time grid's before its
    // strip's. Empty in the tasks view.
    std::vector<Entry> entries() const;
    // The ids of entries(), in the same order.
    std::vector<int> ids() const;
    // The single selected entry; nullopt when none or several are selected.
    std::optional<Entry> single() const;
    // Drops the selected events of the current view's grid (with the strip in the time
    // views); the selected days stay.
    void clear() const;

private:
    // The grid of the current view; null in the tasks view.
    EventGrid *currentGrid() const;

    const MainWindow &m_window;
};
