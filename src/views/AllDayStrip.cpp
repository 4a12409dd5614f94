#include "views/AllDayStrip.h"

#include "core/Settings.h"
#include "views/BoxPaint.h"
#include "views/GridPaint.h"
#include "views/TimeGrid.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

using namespace GridPaint;

AllDayStrip::AllDayStrip(QWidget *panel, TimeGrid &timeGrid) : DrawGrid(panel), m_timeGrid(timeGrid)
{
    setColor(panelColor());
    setGridLineWidth(0);
    setColCount(2);
    setRowCount(1);
    setRowHeight(0, 15);
    setColWidth(0, TimeGrid::TimeColumnWidth);
    if (panel) setColWidth(1, std::max(0, panel->width() - 78));
    m_selectedEvents.reserve(TimeGrid::MaxSelectedEvents);
}

void AllDayStrip::clearSelectedEvents()
{
    if (!m_selectedEvents.empty()) update();
    m_selectedEvents.clear();
}

void AllDayStrip::invalidateDay(int day)
{
    if (day < 1 || day >= colCount()) return;
    invalidateRect(QRect(grid().colLeft(day), 0, colWidth(day), height()));
}

void AllDayStrip::place()
{
    StripGeometry g;
    for (int d = 1; d <= 7; ++d)
        if (d < colCount()) g.dayColumns[size_t(d - 1)] = {grid().colLeft(d), colWidth(d)};
    m_timeGrid.m_model.dayCollection().placeStrip(g);
}

int AllDayStrip::dayAt(int x) const
{
    if (x < 0) return -1;
    const int col = grid().colAt(x);
    if (col < 0) return x >= grid().totalWidth() ? m_timeGrid.dayCount() : -1;
    return std::min(col, m_timeGrid.dayCount());
}

// ---------------------------------------------------------------------------------------------
// Painting: bars first, then the free lanes of the cells.

void AllDayStrip::paintBeforeCells(QPainter &p, const QRegion &region)
{
    p.setFont(font());
    for (const SpanItem &item : m_timeGrid.m_model.dayCollection().stripItems())
        if (region.intersects(itemRect(item))) paintBar(p, item);
}

void AllDayStrip::paintBar(QPainter &p, const SpanItem &item)
{
    const bool selected = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), item.id) !=
                          m_selectedEvents.end();
    const QColor fill = selected ? selectedColor() : m_timeGrid.m_model.layerColor(item.layer);
    const Settings &settings = m_timeGrid.m_settings;
    BoxPaint::paintStripBar(
        p, item, colCount() > 1 ? colWidth(1) : 0, fill, selected,
        item.alarmSet && settings.showAlarmDayWeek(),
        barText(item, m_timeGrid.m_format, settings.showStartDayWeek(), settings.showEndDayWeek()));
}

void AllDayStrip::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    if (row != 0) return;
    const QColor line = lineColor();
    if (col == 0) {
        p.fillRect(rect, panelColor());
        p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
    } else if (col <= m_timeGrid.dayCount()) {
        const TimeGrid::StepRange sel = m_timeGrid.daySelection(col);
        const bool wholeDay = sel.first == 1 && sel.last == m_timeGrid.stepsPerDay();
        const QColor color = wholeDay ? occurrenceColor() : panelColor();
        const DaySpanCollection &c = m_timeGrid.m_model.dayCollection();
        const int bottom = rect.bottom();
        for (int lane = 1; lane <= SpanLimits::MaxLanes && (lane - 1) * LanePitch <= bottom;
             ++lane) {
            if (c.laneOccupant(col, lane) != 0) continue;
            int top = rect.top() + (lane - 1) * LanePitch;
            if (lane > 1 && c.laneOccupant(col, lane - 1) == 0) --top;
            const int end = std::min(rect.top() + (lane - 1) * LanePitch + 20, bottom - 1);
            if (end >= top)
                p.fillRect(QRect(rect.left(), top, rect.width() - 1, end - top + 1), color);
        }
        p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
    }
    p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
}

void AllDayStrip::gridMouseDown(const GridMouseEvent &e)
{
    m_drag.press(e);
}

void AllDayStrip::gridMouseMove(const GridMouseEvent &e)
{
    m_drag.move(e);
}

void AllDayStrip::gridMouseUp(const GridMouseEvent &e)
{
    m_drag.release(e);
}
