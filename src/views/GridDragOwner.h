#pragma once
// The grid a DayGridDrag works for: its events model and the announcements a press or a
// release makes. The day grids (TimeGrid, through which its all-day strip also drags) and the
// month grid implement it.
#include "core/DateTimeValue.h"

class GridEventModel;

class GridDragOwner
{
public:
    virtual GridEventModel &dragModel() = 0;
    // Drops every selected event the owner shows (for the time grid also its strip's).
    virtual void clearSelectedEvents() = 0;
    // A double click on event `id`: its editor; occurrenceDate is the occurrence's day for an
    // occurrence, else -1.
    virtual void announceEdit(int id, SerialDateTime occurrenceDate) = 0;
    // The enabled state of commands may have changed.
    virtual void announceCommandStates() = 0;

protected:
    ~GridDragOwner() = default;
};
