#pragma once
// The time grid's mouse. A press selects a time range or an event and picks the drag mode: the
// body of a one-time event moves it, its top edge changes the start and its bottom edge the
// end. Every move runs the mode's step on the (day, step) cell under the pointer; an event's
// new times are posted through the model at once and only the days the step touched are
// collected again. Dragging past the top or bottom edge runs the auto-scroll: every tick moves
// the target one hour and asks the window (TimeGrid::scrollRequested) to scroll one hour.
#include "views/DayGridDrag.h"

#include <QTimer>

class TimeGrid;
struct GridMouseEvent;

class TimeGridDrag : public DayGridDrag
{
public:
    static constexpr int AutoScrollMs = 60;

    explicit TimeGridDrag(TimeGrid &grid);

    void press(const GridMouseEvent &e);
    void move(const GridMouseEvent &e);
    void release(const GridMouseEvent &e);

    int currentStep() const { return m_currentStep; }
    bool autoScrollingUp() const { return m_upTimer.isActive(); }
    bool autoScrollingDown() const { return m_downTimer.isActive(); }

private:
    void setCurrentCell(int day, int step);
    bool cellChanged() const override;
    void selectStep() override;
    void moveStep() override;
    void changeStartStep() override;
    void changeEndStep() override;
    // Posts the dragged event's new times; on success collects and repaints the touched days.
    bool post(const GridEventRow &row);
    void refreshAfterPost();
    void scrollUpTick();
    void scrollDownTick();
    void stopAutoScroll();

    TimeGrid &m_timeGrid;
    int m_anchorStep = 1;
    int m_previousStep = 1;
    int m_currentStep = 1;
    bool m_outside = false; // the pointer left the rows during this drag
    SerialDateTime m_newStart = 0, m_newEnd = 0, m_oldStart = 0, m_oldEnd = 0;
    GridEventRow m_dragRow; // the dragged row as last read
    QTimer m_upTimer;
    QTimer m_downTimer;
};
