#include "views/MonthGridDrag.h"

#include "core/ViewDates.h"
#include "views/GridPress.h"
#include "views/MonthGrid.h"

#include <algorithm>

namespace
{
using DateTimeValue::MsPerDay;
qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
// Whole day of an item's last moment: an end at midnight after the start closes the day before.
int lastDayOf(const GridEventRow &row)
{
    const int day = DateTimeValue::dayOf(row.endTime);
    const bool atMidnight = DateTimeValue::msOfDay(row.endTime) == 0;
    return atMidnight && ms(row.endTime) > ms(row.startTime) ? day - 1 : day;
}
} // namespace

MonthGridDrag::MonthGridDrag(MonthGrid &grid)
    : DayGridDrag(grid, grid, grid.m_selectedEvents), m_grid(grid)
{
}

int MonthGridDrag::dayAt(QPoint pos) const
{
    const GridGeometry &g = m_grid.grid();
    int col = g.colAt(pos.x());
    if (col < 0) col = pos.x() < 0 ? 0 : 6;
    int row = g.rowAt(pos.y());
    if (row < 0) row = pos.y() < 0 ? 0 : m_grid.weekCount() - 1;
    return std::clamp(row, 0, m_grid.weekCount() - 1) * 7 + std::clamp(col, 0, 6);
}

void MonthGridDrag::press(const GridMouseEvent &e)
{
    if (!GridPress::isHandled(e.shift)) return;
    const GridPress::Press press = GridPress::pressOf(e.shift);
    MonthGrid &grid = m_grid;
    m_pressed = true;
    m_outside = false;
    notePress(e.pos);

    grid.clearRowSelection();
    if (press.plainLeft) grid.clearSelectedEvents();
    const int day = dayAt(e.pos);
    const SpanItem *hit = grid.itemAt(e.pos);
    const int hitId = hit ? hit->id : 0;
    // An event shorter than a day only moves (an occurrence's body only clicks it).
    (void)pressItem(hit, press, [&e](const SpanItem &item) {
        if (ms(item.endTime) - ms(item.startTime) >= MsPerDay)
            return pressMode(item, e.pos.x(), item.left, item.right, false);
        return item.isOccurrence ? DragClicked : DragMove;
    });

    if (!hit || press.plainLeft) {
        if (press.shift) {
            m_currentDay = day;
            selectStep();
        } else {
            m_anchorDay = m_previousDay = m_currentDay = day;
            if (!hit) grid.setRowSelection(day / 7, {day % 7, day % 7});
        }
    }
    grid.invalidateGrid();

    announcePress(press, grid.mapToGlobal(e.pos), hitId, grid.m_viewDates, grid.firstDay() + day,
                  grid.firstDay() + day + 1);
}

void MonthGridDrag::move(const GridMouseEvent &e)
{
    MonthGrid &grid = m_grid;
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        if (const SpanItem *item = grid.itemAt(e.pos)) {
            const bool longEnough = ms(item->endTime) - ms(item->startTime) >= MsPerDay;
            if (longEnough && !item->isOccurrence &&
                ((e.pos.x() < item->left + 6 && !item->cutStart) ||
                 (e.pos.x() >= item->right - 4 && !item->cutEnd)))
                shape = GridPointer::SizeHorizontal;
        }
        grid.setPointer(shape);
        return;
    }
    if (m_mode == DragClicked) return;
    if (m_mode >= DragMove && !dragStarted(e.pos)) return;
    const QRect cells(0, 0, std::min(grid.width(), grid.grid().totalWidth()),
                      std::min(grid.height(), grid.grid().totalHeight()));
    if (cells.contains(e.pos)) {
        m_outside = false;
        m_currentDay = dayAt(e.pos);
        if (m_mode == DragSelect) grid.setPointer(GridPointer::Arrow);
        if (m_mode == DragMove) grid.setPointer(GridPointer::Drag);
        step();
        return;
    }
    if (m_outside) return;
    // Leaving the grid: the nearest cell on that side, once, until the pointer comes back.
    const int col = m_previousDay % 7;
    const int row = m_previousDay / 7;
    if (e.pos.y() < 0)
        m_currentDay = col;
    else if (e.pos.y() >= cells.height())
        m_currentDay = (grid.weekCount() - 1) * 7 + col;
    else if (e.pos.x() >= cells.width())
        m_currentDay = row * 7 + 6;
    else
        m_currentDay = row * 7;
    step();
    m_outside = true;
}

void MonthGridDrag::release(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    const GridDragMode mode = m_mode;
    if (mode == DragSelect) {
        storeSelection();
        if (e.button == Qt::RightButton)
            emit m_grid.selectPopupRequested(m_grid.mapToGlobal(e.pos));
    }
    finishRelease();
}

void MonthGridDrag::storeSelection()
{
    int first = -1;
    for (int r = 0; r < m_grid.weekCount() && first < 0; ++r)
        if (m_grid.rowSelection(r).isSet()) first = r;
    if (first < 0) return;
    int last = first;
    while (last + 1 < m_grid.weekCount() && m_grid.rowSelection(last + 1).isSet())
        ++last;
    ViewDates &dates = m_grid.m_viewDates;
    dates.setSelectionStart(m_grid.firstDay() + first * 7 + m_grid.rowSelection(first).first);
    dates.setSelectionEnd(m_grid.firstDay() + last * 7 + m_grid.rowSelection(last).last + 1);
}

void MonthGridDrag::selectStep()
{
    const int a = std::min(m_anchorDay, m_currentDay);
    const int b = std::max(m_anchorDay, m_currentDay);
    for (int r = 0; r < 6; ++r) {
        const int first = std::max(a, r * 7);
        const int last = std::min(b, r * 7 + 6);
        m_grid.setRowSelection(r, r < m_grid.weekCount() && first <= last
                                      ? MonthGrid::ColumnRange{first - r * 7, last - r * 7}
                                      : MonthGrid::ColumnRange{});
    }
    m_previousDay = m_currentDay;
}

void MonthGridDrag::moveStep()
{
    const std::optional<GridEventRow> row = rowForStep(true);
    if (!row) return;
    post(*row, shiftedByDays(*row, m_currentDay - m_previousDay));
}

void MonthGridDrag::changeStartStep()
{
    const std::optional<GridEventRow> row = rowForStep(true);
    if (!row) return;
    const qint64 t = ms(m_grid.firstDay()) + qint64(m_currentDay) * MsPerDay;
    GridEventRow next = *row;
    // The event keeps at least one day.
    next.startTime = DateTimeValue::fromMs(std::min(t, ms(row->endTime) - MsPerDay));
    post(*row, next);
}

void MonthGridDrag::changeEndStep()
{
    const std::optional<GridEventRow> row = rowForStep(true);
    if (!row) return;
    const qint64 t = ms(m_grid.firstDay()) + qint64(m_currentDay + 1) * MsPerDay;
    GridEventRow next = *row;
    next.endTime = DateTimeValue::fromMs(std::max(t, ms(row->startTime) + MsPerDay));
    post(*row, next);
}

void MonthGridDrag::post(const GridEventRow &before, const GridEventRow &after)
{
    if (!m_grid.m_model.postEventTimes(m_clickedEventId, after)) return;
    // Every week the event covered or covers now: its bar appeared, went or changed there, and
    // the lanes of those weeks may have moved.
    const int first = DateTimeValue::dayOf(m_grid.firstDay());
    const int from =
        std::min(DateTimeValue::dayOf(before.startTime), DateTimeValue::dayOf(after.startTime)) -
        first;
    const int to = std::max(lastDayOf(before), lastDayOf(after)) - first;
    if (to >= 0) m_grid.recollectWeeks(std::max(from, 0) / 7, to / 7);
    m_previousDay = m_currentDay;
}
