#pragma once
// What a press on one of the dated grids (the time grid, its all-day strip, the month grid)
// starts and the moves of the held mouse drive: the drag mode chosen at the press, the event
// pressed on, the anchor, previous and current day, and the step each move runs for its mode.
// TimeGridDrag adds the steps within a day; AllDayStripDrag and MonthGridDrag work in whole
// days.
#include "core/DateTimeValue.h"
#include "views/GridEventModel.h"
#include "views/GridPress.h"

#include <QPoint>
#include <functional>
#include <optional>
#include <vector>

class DrawGrid;
class ViewDates;
class EventGrid;
struct SpanItem;

// What the held mouse does, chosen at the press.
enum GridDragMode : quint8 {
    DragSelect = 0,  // select a range of time (days in the strip)
    DragClicked = 1, // pressed on an event that does not move
    DragMove = 2,    // move a one-time event
    DragStart = 3,   // change an event's start
    DragEnd = 4      // change an event's end
};

class DayGridDrag
{
public:
    static constexpr int MaxSelectedEvents = 100;

    virtual ~DayGridDrag() = default;

    GridDragMode mode() const { return m_mode; }
    int clickedEventId() const { return m_clickedEventId; }
    // The day of the occurrence of recurring event `id` pressed last; -1 when the last press
    // was not on an occurrence of `id`.
    SerialDateTime pressedOccurrenceDay(int id) const
    {
        return m_occurrenceEventId == id ? m_occurrenceDate : -1;
    }

    // Runs the step of the current drag mode for the current cell.
    void step();

protected:
    // `widget` is the grid the mouse works on (the owner itself or the time grid's all-day
    // strip) and `selectedEvents` that grid's selected events. All must outlive the drag.
    DayGridDrag(EventGrid &owner, DrawGrid &widget, std::vector<int> &selectedEvents);

    // Whether the pointer reached another cell since the last step.
    virtual bool cellChanged() const = 0;
    virtual void selectStep() = 0;
    virtual void moveStep() = 0;
    virtual void changeStartStep() = 0;
    virtual void changeEndStep() = 0;

    // A press on `item`: it becomes the clicked event and, for an occurrence, the occurrence
    // pressed on. It is selected; ctrl takes an already selected event out of the selection,
    // and a plain right press on an event not yet selected first drops every selected event of
    // both grids. Returns the event's row (nullopt when it cannot be read).
    std::optional<GridEventRow> pressOnEvent(const SpanItem &item, bool ctrl, bool plainRight);
    // A press on `hit` (null: free space), in the mode DragSelect. On an event: pressOnEvent,
    // then the drag mode `grab` picks for a plain left press on a readable event, DragClicked
    // for any other press. On free space a press other than a plain left or a left double
    // click drops the selected events. Either way the grid then says that command states may
    // have changed. Returns the event's row; nullopt on free space or an unreadable event.
    std::optional<GridEventRow>
    pressItem(const SpanItem *hit, const GridPress::Press &press,
              const std::function<GridDragMode(const SpanItem &)> &grab);
    // What a plain left press on a readable event grabs: its start edge (the first 5 px along
    // the drag axis, unless the event begins before the grid shows it), its end edge (the last
    // 4 px, unless it goes on after) or its body. `along` is the pointer's coordinate on that
    // axis and `low`..`high` (exclusive) the box's extent there. An occurrence's body only
    // clicks it; its edges are grabbed only where `occurrenceEdges` says so.
    static GridDragMode pressMode(const SpanItem &item, int along, int low, int high,
                                  bool occurrenceEdges);
    // The clicked event's row when a step is due: the events table browsing, the pointer in
    // another cell, the event readable and, with `oneTimeOnly`, not recurring; else nullopt.
    std::optional<GridEventRow> rowForStep(bool oneTimeOnly);
    // A double click on event `id`: asks for its editor (with the occurrence's day for an
    // occurrence).
    void requestEdit(int id);
    // The clicked event's row at the release of a move or resize; nullopt otherwise.
    std::optional<GridEventRow> draggedRow();
    // Remembers where a handled press happened, for dragStarted().
    void notePress(QPoint pos);
    // Whether a move or resize may run its steps at `pos`: only once the pointer has gone
    // QApplication::startDragDistance() (Manhattan length) from the press, so a click that
    // wobbles never moves an event. Stays true for the rest of the drag.
    bool dragStarted(QPoint pos);
    // `row` with both times moved by whole days.
    static GridEventRow shiftedByDays(const GridEventRow &row, int days);
    // What a handled press asks of the window once the grid is updated: the event menu for a
    // right press on event `hitId` (0: none); for a left double click the event's editor, or
    // on free time ViewDates' selection set to [selectionStart, selectionEnd) and the
    // new-event command.
    void announcePress(const GridPress::Press &press, QPoint globalPos, int hitId, ViewDates &dates,
                       SerialDateTime selectionStart, SerialDateTime selectionEnd);
    // The end of every release: the mode returns to selecting. The event's alarm needs no
    // work here: every step's post recomputed it.
    void finishRelease();

    EventGrid &m_owner;
    DrawGrid &m_widget;
    std::vector<int> &m_selectedEvents;

    GridDragMode m_mode = DragSelect;
    bool m_pressed = false; // a handled press is held
    int m_clickedEventId = 0;
    int m_occurrenceEventId = -1;
    SerialDateTime m_occurrenceDate = -1;
    int m_anchorDay = 1;
    int m_previousDay = 1;
    int m_currentDay = 1;
    QPoint m_pressPos;
    bool m_dragStarted = false;
};
