#pragma once
// TLumGrid_AllDay: the strip over the time grid's header row that shows the events of 24 hours
// or more as bars in lanes 21 px apart. It offers the time grid's gestures in whole days:
// select days (they become wholly selected in the time grid), select, move and resize events.
// Created by the time grid; geometry (columns, height) follows the time grid's layout calls.
#include "core/DateTimeValue.h"
#include "platform/LumDrawGrid.h"
#include "store/SpanItem.h"
#include "views/EventGridModel.h"

#include <vector>

class TLumGrid_DW;

class TLumGrid_AllDay : public TLumDrawGrid
{
    Q_OBJECT
public:
    static constexpr int LanePitch = 21;

    TLumGrid_AllDay(QWidget *panel, TLumGrid_DW &timeGrid);

    void ClearSelectedEvents();
    const std::vector<int> &SelectedEvents() const { return m_selectedEvents; }
    quint8 DragMode() const { return m_dragMode; }
    int ClickedEventId() const { return m_clickedEventId; }
    int OccurrenceEventId() const { return m_occurrenceEventId; }
    TDateTime OccurrenceDate() const { return m_occurrenceDate; }
    int CurDay() const { return m_curDay; }

    void UpdateDrag();
    // Re-collects the strip (the dragged event forced into it while resizing), places it,
    // asks for a layout when the strip became too low, and repaints.
    void RefreshAfterPost();
    void InvalidateDay(int day);
    // Left/Right of the strip items from the current day columns.
    void Place();

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintBeforeCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;

private:
    void paintBar(QPainter &p, const TSpanItem_Rec &item);
    int dayAt(int x) const; // day column under x, 0 for column 0, -1 outside
    void rangeStep();
    void moveStep();
    void changeStartStep();
    void changeEndStep();

    TLumGrid_DW &m_dw;
    std::vector<int> m_selectedEvents;
    quint8 m_dragMode = 0;
    bool m_pressed = false;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    int m_clickedEventId = 0;
    int m_occurrenceEventId = -1;
    TDateTime m_occurrenceDate = -1;
    int m_anchorDay = 1, m_prevDay = 1, m_curDay = 1;
    TDateTime m_newStart = 0, m_newEnd = 0;
    GridEventRow m_dragRow;
};
