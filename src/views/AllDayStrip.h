#pragma once
// AllDayStrip: the strip over the time grid's header row that shows the events of 24 hours
// or more as bars in lanes 21 px apart. Its mouse (AllDayStripDrag) offers the time grid's
// gestures in whole days: select days (they become wholly selected in the time grid), select,
// move and resize events. Created by the time grid; geometry (columns, height) follows the
// time grid's layout calls.
#include "platform/DrawGrid.h"
#include "store/SpanItem.h"
#include "views/AllDayStripDrag.h"

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
    GridDragMode dragMode() const { return m_drag.mode(); }
    // See DayGridDrag::pressedOccurrenceDay (presses in the strip).
    SerialDateTime pressedOccurrenceDay(int id) const { return m_drag.pressedOccurrenceDay(id); }

    void invalidateDay(int day);
    // Left/Right of the strip items from the current day columns.
    void place();
    // Day column under x: 0 for column 0, the last day right of the columns, -1 left of the
    // strip.
    int dayAt(int x) const;

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintBeforeCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;

private:
    void paintBar(QPainter &p, const SpanItem &item);

    TimeGrid &m_timeGrid;
    std::vector<int> m_selectedEvents;
    AllDayStripDrag m_drag{*this, m_timeGrid, m_selectedEvents};
};
