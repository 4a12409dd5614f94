#pragma once
// AllDayStrip: the strip over the time grid's header row that shows the events of 24 hours
// or more as bars in lanes 21 px apart. It offers the time grid's gestures in whole days:
// select days (they become wholly selected in the time grid), select, move and resize events.
// Created by the time grid; geometry (columns, height) follows the time grid's layout calls.
#include "core/DateTimeValue.h"
#include "platform/DrawGrid.h"
#include "store/SpanItem.h"
#include "views/TimeGridModel.h"

#include <vector>

class TimeGrid;

class AllDayStrip : public DrawGrid
{
    Q_OBJECT
public:
    static constexpr int LanePitch = 21;

    AllDayStrip(QWidget *panel, TimeGrid &timeGrid);

    void clearSelectedEvents();
    const std::vector<int> &selectedEvents() const { return m_selectedEvents; }
    quint8 dragMode() const { return m_dragMode; }
    int clickedEventId() const { return m_clickedEventId; }
    int occurrenceEventId() const { return m_occurrenceEventId; }
    SerialDateTime occurrenceDate() const { return m_occurrenceDate; }
    int currentDay() const { return m_curDay; }

    void updateDrag();
    // Re-collects the strip (the dragged event forced into it while resizing), places it,
    // asks for a layout when the strip became too low, and repaints.
    void refreshAfterPost();
    void invalidateDay(int day);
    // Left/Right of the strip items from the current day columns.
    void place();

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintBeforeCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;

private:
    void paintBar(QPainter &p, const SpanItem &item);
    int dayAt(int x) const; // day column under x, 0 for column 0, -1 outside
    void rangeStep();
    void moveStep();
    void changeStartStep();
    void changeEndStep();

    TimeGrid &m_dw;
    std::vector<int> m_selectedEvents;
    quint8 m_dragMode = 0;
    bool m_pressed = false;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    int m_clickedEventId = 0;
    int m_occurrenceEventId = -1;
    SerialDateTime m_occurrenceDate = -1;
    int m_anchorDay = 1, m_prevDay = 1, m_curDay = 1;
    SerialDateTime m_newStart = 0, m_newEnd = 0;
    GridEventRow m_dragRow;
};
