#include "views/TimeGridDrag.h"

#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "views/AllDayStrip.h"
#include "views/GridPress.h"
#include "views/TimeGrid.h"

#include <algorithm>

namespace
{

using DateTimeValue::MsPerDay;
constexpr qint64 MsPerMinute = 60000;

qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
SerialDateTime value(qint64 m)
{
    return DateTimeValue::fromMs(m);
}
qint64 dayMs(SerialDateTime t)
{
    return qint64(DateTimeValue::dayOf(t)) * MsPerDay;
}
qint64 timeOfDayMs(SerialDateTime t)
{
    return DateTimeValue::msOfDay(t);
}

} // namespace

TimeGridDrag::TimeGridDrag(TimeGrid &grid)
    : DayGridDrag(grid, grid, grid.m_selectedEvents), m_timeGrid(grid)
{
    m_upTimer.setInterval(AutoScrollMs);
    m_downTimer.setInterval(AutoScrollMs);
    QObject::connect(&m_upTimer, &QTimer::timeout, &grid, [this] { scrollUpTick(); });
    QObject::connect(&m_downTimer, &QTimer::timeout, &grid, [this] { scrollDownTick(); });
}

void TimeGridDrag::press(const GridMouseEvent &e)
{
    if (!GridPress::isHandled(e.shift)) return;
    const GridPress::Press press = GridPress::pressOf(e.shift);
    TimeGrid &grid = m_timeGrid;
    m_pressed = true;
    notePress(e.pos);

    grid.clearTimeSelection();
    if (press.plainLeft || press.leftDouble) grid.clearSelectedEvents();
    int day = 0;
    const SpanItem *hit = grid.itemAt(e.pos, &day);
    const int screenRow = std::max(1, grid.grid().rowAt(e.pos.y()));
    const int step = screenRow + grid.m_view.firstVisibleRow;
    m_outside = false;

    const int hitId = hit ? hit->id : 0;
    if (const std::optional<GridEventRow> row = pressItem(hit, press, [&e](const SpanItem &item) {
            return pressMode(item, e.pos.y(), item.top, item.bottom, true);
        }))
        m_dragRow = *row;

    const int d = std::clamp(day, 1, grid.dayCount());
    if (!hit || press.plainLeft) {
        if (press.shift) {
            m_previousDay = m_anchorDay;
            m_previousStep = m_anchorStep;
            m_currentDay = d;
            m_currentStep = step;
            selectStep();
        } else {
            m_anchorDay = m_previousDay = m_currentDay = d;
            m_anchorStep = m_previousStep = m_currentStep = step;
            if (!hit) grid.setDaySelection(d, {step, step});
        }
    }
    grid.allDayStrip()->update();
    grid.update();

    const SerialDateTime dayStart = grid.m_viewDates.spanStart() + d - 1;
    const int steps = grid.stepsPerDay();
    announcePress(press, grid.mapToGlobal(e.pos), hitId, grid.m_viewDates,
                  dayStart + double(step - 1) / steps, dayStart + double(step) / steps);
}

void TimeGridDrag::move(const GridMouseEvent &e)
{
    TimeGrid &grid = m_timeGrid;
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed || m_mode == DragClicked) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        if (const SpanItem *item = grid.itemAt(e.pos, nullptr)) {
            if ((e.pos.y() < item->top + 6 && !item->cutStart) ||
                (e.pos.y() >= item->bottom - 4 && !item->cutEnd))
                shape = GridPointer::SizeVertical;
        }
        grid.setPointer(shape);
        return;
    }
    if (m_mode >= DragMove && !dragStarted(e.pos)) return;
    const int header = grid.rowHeight(0);
    const int gridBottom = std::min(grid.height(), grid.grid().totalHeight());
    const bool inRowsV = e.pos.y() >= header && e.pos.y() < gridBottom;
    const bool inRowsH = e.pos.x() >= 0 && e.pos.x() < grid.width();
    const int firstVisibleRow = grid.m_view.firstVisibleRow;
    if (inRowsV && inRowsH) {
        stopAutoScroll();
        m_outside = false;
        const int day = std::clamp(grid.dayAt(e.pos.x()), 1, grid.dayCount());
        const int screenRow = std::max(1, grid.grid().rowAt(e.pos.y()));
        setCurrentCell(day, screenRow + firstVisibleRow);
        step();
        if (m_mode == DragSelect) grid.setPointer(GridPointer::Arrow);
        if (m_mode == DragMove) grid.setPointer(GridPointer::Drag);
        return;
    }
    if (inRowsV) stopAutoScroll(); // back inside vertically
    if (inRowsH && !inRowsV) {
        if (e.pos.y() < header)
            m_downTimer.stop();
        else
            m_upTimer.stop();
    }
    if (e.pos.y() < header && !m_outside) {
        setCurrentCell(m_previousDay, firstVisibleRow + 1);
        step();
        m_upTimer.start();
    } else if (e.pos.y() >= gridBottom && !m_outside) {
        setCurrentCell(m_previousDay, grid.rowCount() + firstVisibleRow - 1);
        step();
        m_downTimer.start();
    } else if (e.pos.x() >= grid.width()) {
        setCurrentCell(grid.dayCount(), m_previousStep);
        step();
    } else if (e.pos.x() < 0) {
        setCurrentCell(m_mode == DragEnd ? 0 : 1, m_previousStep);
        step();
    }
    m_outside = true;
}

void TimeGridDrag::release(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    TimeGrid &grid = m_timeGrid;
    const GridDragMode mode = m_mode;
    const std::optional<GridEventRow> row = draggedRow();
    if ((mode == DragStart || mode == DragEnd) && row) {
        const bool wholeDays = ms(row->endTime) - ms(row->startTime) >= MsPerDay;
        const bool recurringDays = row->recurrent && row->extraDays > 0 &&
                                   timeOfDayMs(row->startTime) == timeOfDayMs(row->endTime);
        if (wholeDays || recurringDays) {
            grid.collectAll();
            emit grid.layoutRequested();
            grid.allDayStrip()->update();
        }
    }
    stopAutoScroll();
    if (mode == DragSelect) {
        grid.storeSelection();
        if (e.button == Qt::RightButton) emit grid.selectPopupRequested(grid.mapToGlobal(e.pos));
    }
    finishRelease();
}

void TimeGridDrag::setCurrentCell(int day, int step)
{
    m_currentDay = day;
    m_currentStep = step;
}

bool TimeGridDrag::cellChanged() const
{
    return m_currentDay != m_previousDay || m_currentStep != m_previousStep;
}

void TimeGridDrag::selectStep()
{
    const int n = m_timeGrid.dayCount();
    const int spd = m_timeGrid.stepsPerDay();
    const int anchorDay = std::clamp(m_anchorDay, 1, n);
    const int curDay = std::clamp(m_currentDay, 1, n);
    const int anchorStep = std::clamp(m_anchorStep, 1, spd);
    const int curStep = std::clamp(m_currentStep, 1, spd);
    using StepRange = TimeGrid::StepRange;
    for (int d = 1; d <= 7; ++d) {
        StepRange r;
        if (d > n || d < std::min(anchorDay, curDay) || d > std::max(anchorDay, curDay)) {
            r = {};
        } else if (anchorDay == curDay) {
            r = {std::min(anchorStep, curStep), std::max(anchorStep, curStep)};
        } else if (curDay > anchorDay) {
            r = d == anchorDay ? StepRange{anchorStep, spd}
                : d == curDay  ? StepRange{1, curStep}
                               : StepRange{1, spd};
        } else {
            r = d == anchorDay ? StepRange{1, anchorStep}
                : d == curDay  ? StepRange{curStep, spd}
                               : StepRange{1, spd};
        }
        m_timeGrid.setDaySelection(d, r);
    }
    m_previousDay = m_currentDay;
    m_previousStep = m_currentStep;
}

bool TimeGridDrag::post(const GridEventRow &row)
{
    m_oldStart = m_dragRow.startTime;
    m_oldEnd = m_dragRow.endTime;
    if (!m_timeGrid.m_model.postEventTimes(m_clickedEventId, row)) return false;
    m_newStart = row.startTime;
    m_newEnd = row.endTime;
    refreshAfterPost();
    return true;
}

void TimeGridDrag::moveStep()
{
    const std::optional<GridEventRow> row = rowForStep(true);
    if (!row) return;
    m_dragRow = *row;
    const qint64 delta =
        qint64(m_currentStep - m_previousStep) * m_timeGrid.timeScale() * MsPerMinute +
        qint64(m_currentDay - m_previousDay) * MsPerDay;
    GridEventRow next = *row;
    next.startTime = value(ms(row->startTime) + delta);
    next.endTime = value(ms(row->endTime) + delta);
    post(next);
}

void TimeGridDrag::changeStartStep()
{
    const std::optional<GridEventRow> row = rowForStep(false);
    if (!row) return;
    m_dragRow = *row;
    GridEventRow next = *row;
    const qint64 t = qint64(m_currentStep - 1) * m_timeGrid.timeScale() * MsPerMinute;
    if (row->recurrent) {
        const qint64 endTime = timeOfDayMs(row->endTime);
        next.startTime =
            value(dayMs(row->startTime) + (endTime > t || row->extraDays > 0 ? t : endTime));
    } else {
        const qint64 at =
            ms(m_timeGrid.m_viewDates.spanStart()) + qint64(m_currentDay - 1) * MsPerDay + t;
        next.startTime = at >= ms(row->endTime) ? row->endTime : value(at);
    }
    post(next);
}

void TimeGridDrag::changeEndStep()
{
    const std::optional<GridEventRow> row = rowForStep(false);
    if (!row) return;
    m_dragRow = *row;
    GridEventRow next = *row;
    // MsPerDay at midnight
    const qint64 t = qint64(m_currentStep) * m_timeGrid.timeScale() * MsPerMinute;
    if (row->recurrent) {
        const qint64 endTime = timeOfDayMs(row->endTime);
        if (t >= MsPerDay && endTime != 0) ++next.extraDays;
        if (t < MsPerDay && endTime == 0) next.extraDays = std::max(0, next.extraDays - 1);
        const qint64 startTime = timeOfDayMs(row->startTime);
        const qint64 frac = t % MsPerDay;
        next.endTime =
            value(dayMs(row->endTime) + (t <= startTime && next.extraDays <= 0 ? startTime : frac));
    } else {
        const qint64 at =
            ms(m_timeGrid.m_viewDates.spanStart()) + qint64(m_currentDay - 1) * MsPerDay + t;
        next.endTime = at > ms(row->startTime) ? value(at) : row->startTime;
    }
    post(next);
}

void TimeGridDrag::refreshAfterPost()
{
    TimeGrid &grid = m_timeGrid;
    const int n = grid.dayCount();
    int first = 1;
    int last = n;
    if (!m_dragRow.recurrent) {
        const auto dayIndexOf = [&grid](SerialDateTime t) { return grid.dayIndexOf(t); };
        // The day an end falls on; an end at midnight belongs to the day before unless the
        // event has no length.
        const auto endDay = [&](SerialDateTime start, SerialDateTime end) {
            const int d = dayIndexOf(end);
            return timeOfDayMs(end) == 0 && ms(end) != ms(start) ? d - 1 : d;
        };
        switch (m_mode) {
        case DragMove:
            first = std::min(dayIndexOf(m_oldStart), dayIndexOf(m_newStart));
            last = std::max(endDay(m_oldStart, m_oldEnd), endDay(m_newStart, m_newEnd));
            break;
        case DragStart:
            first = std::min(dayIndexOf(m_oldStart), dayIndexOf(m_newStart));
            last = std::max(dayIndexOf(m_oldStart), dayIndexOf(m_newStart));
            break;
        case DragEnd:
            first = std::min(dayIndexOf(m_oldEnd), dayIndexOf(m_newEnd));
            last = std::max(dayIndexOf(m_oldEnd), dayIndexOf(m_newEnd));
            break;
        default:
            break;
        }
        first = std::max(first, 1);
        last = std::min(last, n);
    }
    if (first <= last) {
        const int forced = (m_mode == DragStart || m_mode == DragEnd) ? m_clickedEventId : 0;
        grid.recollectTimeDays(first, last, forced);
    }
    if (std::optional<GridEventRow> row = grid.m_model.eventRow(m_clickedEventId)) m_dragRow = *row;
    m_previousDay = m_currentDay;
    m_previousStep = m_currentStep;
}

void TimeGridDrag::scrollUpTick()
{
    if (m_currentStep <= 1) return;
    const int perHour = m_timeGrid.stepsPerHour();
    const GridScrollState s = m_timeGrid.m_scrollState;
    int k = perHour;
    if (s.atLastPosition()) k -= (m_timeGrid.rowCount() - 1) % perHour;
    m_currentStep = std::max(1, m_currentStep - std::max(1, k));
    step();
    if (s.position > 0) emit m_timeGrid.scrollRequested(s.position - 1);
}

void TimeGridDrag::scrollDownTick()
{
    const int steps = m_timeGrid.stepsPerDay();
    if (m_currentStep >= steps) return;
    m_currentStep = std::min(steps, m_currentStep + m_timeGrid.stepsPerHour());
    step();
    const GridScrollState s = m_timeGrid.m_scrollState;
    if (s.position < s.maximum - s.pageSize + 1) emit m_timeGrid.scrollRequested(s.position + 1);
}

void TimeGridDrag::stopAutoScroll()
{
    m_upTimer.stop();
    m_downTimer.stop();
}
