#pragma once
// The all-day strip's mouse: the time grid's gestures in whole days. A press selects days
// (they become wholly selected in the time grid) or a bar and picks the drag mode: the body of
// a one-time bar moves it by whole days, its left edge changes the start and its right edge
// the end. Every step is posted through the model at once and the strip collected again, with
// the dragged event kept in the strip while it is resized.
#include "views/DayGridDrag.h"

#include <QPoint>

class AllDayStrip;
class TimeGrid;
struct GridMouseEvent;

class AllDayStripDrag : public DayGridDrag
{
public:
    AllDayStripDrag(AllDayStrip &strip, TimeGrid &timeGrid, std::vector<int> &selectedEvents);

    void press(const GridMouseEvent &e);
    void move(const GridMouseEvent &e);
    void release(const GridMouseEvent &e);

private:
    // The bar under `pos` (its left edge one pixel further right); null where there is none.
    const SpanItem *barAt(QPoint pos) const;
    bool cellChanged() const override { return m_currentDay != m_previousDay; }
    void selectStep() override;
    void moveStep() override;
    void changeStartStep() override;
    void changeEndStep() override;
    // Posts the dragged event's new times; on success collects the strip again (the event
    // forced into it while resizing), asks for a layout when the strip became too low, and
    // repaints.
    void post(const GridEventRow &row);

    TimeGrid &m_timeGrid;
    AllDayStrip &m_strip;
};
