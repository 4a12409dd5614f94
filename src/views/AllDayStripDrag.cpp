#include "views/AllDayStripDrag.h"

#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "views/AllDayStrip.h"
#include "views/GridPress.h"
#include "views/TimeGrid.h"

#include <algorithm>

namespace
{
using DateTimeValue::MsPerDay;
qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
} // namespace

AllDayStripDrag::AllDayStripDrag(AllDayStrip &strip, TimeGrid &timeGrid,
                                 std::vector<int> &selectedEvents)
    : DayGridDrag(timeGrid, strip, selectedEvents), m_timeGrid(timeGrid), m_strip(strip)
{
}

const SpanItem *AllDayStripDrag::barAt(QPoint pos) const
{
    for (const SpanItem &item : m_timeGrid.m_model.dayCollection().stripItems())
        if (pos.x() >= item.left + 1 && pos.x() < item.right && pos.y() >= item.top &&
            pos.y() < item.bottom)
            return &item;
    return nullptr;
}

void AllDayStripDrag::press(const GridMouseEvent &e)
{
    if (!GridPress::isHandled(e.shift)) return;
    const GridPress::Press press = GridPress::pressOf(e.shift);
    TimeGrid &grid = m_timeGrid;
    m_pressed = true;
    notePress(e.pos);

    grid.clearTimeSelection();
    if (press.plainLeft) grid.clearSelectedEvents();
    const int day = m_strip.dayAt(e.pos.x());
    const SpanItem *hit = barAt(e.pos);
    const int hitId = hit ? hit->id : 0;
    (void)pressItem(hit, press, [&e](const SpanItem &item) {
        return pressMode(item, e.pos.x(), item.left, item.right, false);
    });

    const int d = std::clamp(day, 1, grid.dayCount());
    if (!hit || press.plainLeft) {
        if (press.shift) {
            m_previousDay = m_anchorDay;
            m_currentDay = d;
            selectStep();
        } else {
            m_anchorDay = m_previousDay = m_currentDay = d;
            if (!hit) grid.setDaySelection(d, {1, grid.stepsPerDay()});
        }
    }
    m_strip.update();
    grid.update();

    const SerialDateTime dayStart = grid.m_viewDates.spanStart() + d - 1;
    announcePress(press, m_strip.mapToGlobal(e.pos), hitId, grid.m_viewDates, dayStart,
                  dayStart + 1);
}

void AllDayStripDrag::move(const GridMouseEvent &e)
{
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        if (const SpanItem *item = barAt(e.pos)) {
            if (!item->isOccurrence && ((e.pos.x() < item->left + 6 && !item->cutStart) ||
                                        (e.pos.x() >= item->right - 4 && !item->cutEnd)))
                shape = GridPointer::SizeHorizontal;
        }
        m_strip.setPointer(shape);
        return;
    }
    if (m_mode == DragClicked) return;
    if (m_mode >= DragMove && !dragStarted(e.pos)) return;
    if (e.pos.y() < 0 || e.pos.y() >= m_strip.height()) return;
    if (e.pos.x() >= m_strip.width()) {
        m_currentDay = m_timeGrid.dayCount();
    } else if (e.pos.x() < 0) {
        m_currentDay = m_mode == DragEnd ? 0 : 1;
    } else {
        const int day = m_strip.dayAt(e.pos.x());
        m_currentDay = day <= 0 ? (m_mode == DragEnd ? 0 : 1) : day;
    }
    if (m_mode == DragSelect) m_strip.setPointer(GridPointer::Arrow);
    if (m_mode == DragMove) m_strip.setPointer(GridPointer::Drag);
    step();
}

void AllDayStripDrag::release(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    TimeGrid &grid = m_timeGrid;
    const GridDragMode mode = m_mode;
    const std::optional<GridEventRow> row = draggedRow();
    if ((mode == DragStart || mode == DragEnd) && row &&
        ms(row->endTime) - ms(row->startTime) < MsPerDay) {
        grid.collectAll();
        emit grid.layoutRequested();
    }
    if (grid.m_view.stripHeight != m_strip.height()) {
        emit grid.layoutRequested();
        m_strip.update();
    }
    if (mode == DragSelect) {
        grid.storeSelection();
        if (e.button == Qt::RightButton) emit grid.selectPopupRequested(m_strip.mapToGlobal(e.pos));
    }
    finishRelease();
}

void AllDayStripDrag::selectStep()
{
    const int n = m_timeGrid.dayCount();
    const int a = std::clamp(m_anchorDay, 1, n);
    const int b = std::clamp(m_currentDay, 1, n);
    for (int d = 1; d <= 7; ++d) {
        const bool in = d <= n && d >= std::min(a, b) && d <= std::max(a, b);
        m_timeGrid.setDaySelection(d, in ? TimeGrid::StepRange{1, m_timeGrid.stepsPerDay()}
                                         : TimeGrid::StepRange{});
    }
    m_previousDay = m_currentDay;
}

void AllDayStripDrag::moveStep()
{
    const std::optional<GridEventRow> row = rowForStep(true);
    if (!row) return;
    post(shiftedByDays(*row, m_currentDay - m_previousDay));
}

void AllDayStripDrag::changeStartStep()
{
    const std::optional<GridEventRow> row = rowForStep(true);
    if (!row) return;
    const qint64 t = ms(m_timeGrid.m_viewDates.spanStart()) + qint64(m_currentDay - 1) * MsPerDay;
    GridEventRow next = *row;
    next.startTime = t < ms(row->endTime) ? DateTimeValue::fromMs(t) : row->endTime;
    post(next);
}

void AllDayStripDrag::changeEndStep()
{
    const std::optional<GridEventRow> row = rowForStep(true);
    if (!row) return;
    const qint64 first = ms(m_timeGrid.m_viewDates.spanStart());
    if (m_currentDay == 0 && ms(row->startTime) < first) m_currentDay = 1;
    const qint64 t = first + qint64(m_currentDay) * MsPerDay;
    GridEventRow next = *row;
    next.endTime = t > ms(row->startTime) ? DateTimeValue::fromMs(t) : row->startTime;
    post(next);
}

void AllDayStripDrag::post(const GridEventRow &row)
{
    TimeGrid &grid = m_timeGrid;
    if (!grid.m_model.postEventTimes(m_clickedEventId, row)) return;
    const int forced = (m_mode == DragStart || m_mode == DragEnd) ? m_clickedEventId : 0;
    grid.collect(DaySpanCollection::AllDayPart, 1, grid.dayCount(), forced, 0);
    m_strip.place();
    if (m_strip.height() < grid.m_view.stripHeight) emit grid.layoutRequested();
    m_strip.update();
    m_previousDay = m_currentDay;
}
