#pragma once
// The month grid's mouse. Cells are counted as day offsets from the first shown day (week row
// r, weekday column c is day 7r + c), so the anchor, previous and current cells of DayGridDrag
// are days 0..41 and a range of days is selected in reading order. A press selects days or a
// bar and picks the drag mode: the body of a one-time bar moves it by whole days, the left
// edge of a bar of a day or more changes its start and the right edge its end. Every step is
// posted through the model at once and only the weeks it touched are collected again.
#include "views/DayGridDrag.h"

class MonthGrid;
struct GridMouseEvent;

class MonthGridDrag : public DayGridDrag
{
public:
    explicit MonthGridDrag(MonthGrid &grid);

    void press(const GridMouseEvent &e);
    void move(const GridMouseEvent &e);
    void release(const GridMouseEvent &e);

private:
    // Day offset of the cell under pos, clamped into the shown weeks.
    int dayAt(QPoint pos) const;
    bool cellChanged() const override { return m_currentDay != m_previousDay; }
    void selectStep() override;
    void moveStep() override;
    void changeStartStep() override;
    void changeEndStep() override;
    // Posts the dragged event's new times; on success collects, places and repaints at once
    // every week row the event covered before or covers now.
    void post(const GridEventRow &before, const GridEventRow &after);
    // Writes the selected days to ViewDates' selection: from the first selected day to the
    // last day of the run of selected week rows that follows it. Nothing selected: unchanged.
    void storeSelection();

    MonthGrid &m_grid;
    bool m_outside = false; // the pointer left the grid during this drag
};
