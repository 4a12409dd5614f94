#pragma once
// The year grid's mouse. A press selects a day or an event and picks the drag mode: the body of
// a one-time event moves it by whole days, the top edge of one lasting a day or more changes
// its start day and the bottom edge its end day. Nothing moves until the pointer has gone the
// platform's drag distance from the press; after that every move runs the mode's step on the
// (month column, day row) cell under the pointer. A step posts the event's new times at once
// and collects only the months the old and new times touch.
//
// Cells are (month 1..12, row 0..30). Blank rows (days a month lacks) are never a target: a
// press there selects nothing, an event step onto one is skipped, and a day range that ends on
// one stops at the month's last day.
#include "core/DateTimeValue.h"
#include "views/DayGridDrag.h"
#include "views/TimeGridModel.h"

#include <QPoint>
#include <optional>
#include <vector>

class YearGrid;
struct GridMouseEvent;
struct SpanItem;

class YearGridDrag
{
public:
    struct Cell {
        int month = 1;
        int row = 0;
        friend bool operator==(const Cell &, const Cell &) = default;
    };

    explicit YearGridDrag(YearGrid &grid);

    void press(const GridMouseEvent &e);
    void move(const GridMouseEvent &e);
    void release(const GridMouseEvent &e);

    GridDragMode mode() const { return m_mode; }
    int clickedEventId() const { return m_clickedEventId; }
    SerialDateTime pressedOccurrenceDay(int id) const
    {
        return m_occurrenceEventId == id ? m_occurrenceDate : -1;
    }

    // The drag mode a plain left press on `item` at height y picks: the start edge (top 4 px
    // unless the item begins in an earlier month), the end edge (bottom 4 px unless it goes on
    // into a later one) or the body; an item shorter than a day only moves, an occurrence only
    // clicks.
    static GridDragMode pressMode(const SpanItem &item, int y);

private:
    // Runs the step of the current drag mode for the current cell.
    void step();
    void selectStep();
    // A move, start or end step of the clicked event onto the current cell.
    void eventStep();
    // The clicked event's row when a step is due: browsing, the pointer on another cell that is
    // a real day, the event readable and not recurring; else nullopt.
    std::optional<GridEventRow> rowForStep();
    // Updates the selected events for a press on event `id`.
    void selectEvent(int id, bool ctrl, bool plainRight);
    // Posts `next` for the clicked event, which read `old` before the step; on success collects
    // and repaints the months either touches.
    void post(const GridEventRow &old, const GridEventRow &next);
    // The current cell of the pointer outside the grid, by the side it left on.
    Cell outsideCell(QPoint pos) const;
    // Days from the first shown day to the cell's day (blank rows count on past the month).
    int dayIndex(Cell c) const;

    YearGrid &m_grid;
    GridDragMode m_mode = DragSelect;
    bool m_pressed = false;
    bool m_dragging = false; // the pointer went the drag distance from the press
    QPoint m_pressPos;
    int m_clickedEventId = 0;
    int m_occurrenceEventId = -1;
    SerialDateTime m_occurrenceDate = -1;
    Cell m_anchor, m_previous, m_current;
    bool m_outside = false; // the pointer left the grid during this drag
};
