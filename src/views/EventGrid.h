#pragma once
// EventGrid: an owner-drawn grid whose mouse selects, moves and resizes events (the time grid,
// through which its all-day strip drags too, the month grid and the year grid), and what such
// a grid tells the window.
#include "core/DateTimeValue.h"
#include "platform/DrawGrid.h"

class GridEventModel;

class EventGrid : public DrawGrid
{
    Q_OBJECT
public:
    using DrawGrid::DrawGrid;

    virtual GridEventModel &dragModel() = 0;
    // Drops every selected event the grid shows (for the time grid also its strip's).
    virtual void clearSelectedEvents() = 0;

signals:
    // A right press on an event (also with shift or ctrl): show the event menu at globalPos.
    void eventPopupRequested(QPoint globalPos, int eventId);
    // A right release after a range selection: show the selection menu at globalPos.
    void selectPopupRequested(QPoint globalPos);
    // A double click on an event: its editor. occurrenceDate is the occurrence's day for an
    // occurrence, else -1.
    void editRequested(int eventId, SerialDateTime occurrenceDate);
    // A double click on free time or a free day, after ViewDates' selection was set to it:
    // the new-event command.
    void newEventRequested();
    // The enabled state of commands may have changed.
    void commandStatesChanged();
};
