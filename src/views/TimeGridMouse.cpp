// TimeGrid: mouse handling, the drag steps and the auto-scroll ticks.
#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"
#include "views/GridPress.h"

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

const SpanItem *TimeGrid::itemAt(QPoint pos, int *dayOut) const
{
    const int day = dayAt(pos.x());
    if (dayOut) *dayOut = day;
    if (day < 1 || pos.y() < rowHeight(0)) return nullptr;
    for (const SpanItem &item : m_model.dayCollection().timeItems(day))
        if (pos.x() >= item.left && pos.x() < item.right && pos.y() >= item.top + 1 &&
            pos.y() < item.bottom)
            return &item;
    return nullptr;
}

bool TimeGrid::selectEvent(int id, bool ctrl, bool plainRight)
{
    auto it = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), id);
    if (it != m_selectedEvents.end()) {
        if (ctrl) {
            *it = m_selectedEvents.back();
            m_selectedEvents.pop_back();
        }
        return true;
    }
    if (plainRight) {
        clearSelectedEvents();
        m_allDay->clearSelectedEvents();
    }
    if (int(m_selectedEvents.size()) < MaxSelectedEvents) m_selectedEvents.push_back(id);
    return true;
}

void TimeGrid::gridMouseDown(const GridMouseEvent &e)
{
    if (!GridPress::isHandled(e.shift)) return;
    const bool plainLeft = GridPress::isPlainLeft(e.shift);
    const bool leftDouble = GridPress::isLeftDouble(e.shift);
    const bool right = e.shift.testFlag(GridShift::Right);
    const bool shift = e.shift.testFlag(GridShift::Shift);
    const bool ctrl = e.shift.testFlag(GridShift::Ctrl);
    m_pressed = true;
    m_pressButton = e.button;

    clearTimeSelection();
    if (plainLeft || leftDouble) {
        clearSelectedEvents();
        m_allDay->clearSelectedEvents();
    }
    m_timeGridActive = true;
    int day = 0;
    const SpanItem *hit = itemAt(e.pos, &day);
    const int row = std::max(1, grid().rowAt(e.pos.y()));
    const int step = row + m_view.firstVisibleRow;
    m_dragMode = DragSelect;
    m_isOutside = false;

    int hitId = 0;
    if (hit) {
        const SpanItem item = *hit; // the collection may be rebuilt below
        hitId = item.id;
        const std::optional<GridEventRow> row = m_model.eventRow(item.id);
        m_clickedEventId = item.id;
        if (row) m_dragRow = *row;
        selectEvent(item.id, ctrl, right && !shift && !ctrl);
        if (item.isOccurrence) {
            m_occurrenceEventId = item.id;
            m_occurrenceDate = DateTimeValue::dayOf(item.startTime);
        } else {
            m_occurrenceEventId = -1;
        }
        if (!plainLeft || !row) {
            m_dragMode = DragClicked;
        } else if (e.pos.y() < item.top + 5 && !item.cutStart) {
            m_dragMode = DragStart;
        } else if (e.pos.y() >= item.bottom - 4 && !item.cutEnd) {
            m_dragMode = DragEnd;
        } else {
            m_dragMode = item.isOccurrence ? DragClicked : DragMove;
        }
    } else if (!plainLeft && !leftDouble) {
        clearSelectedEvents();
        m_allDay->clearSelectedEvents();
    }
    emit commandStatesChanged();

    const int d = std::clamp(day, 1, dayCount());
    if (!hit || plainLeft) {
        if (shift) {
            m_prevDay = m_anchorDay;
            m_prevStep = m_anchorStep;
            m_curDay = d;
            m_curStep = step;
            rangeStep();
        } else {
            m_anchorDay = m_prevDay = m_curDay = d;
            m_anchorStep = m_prevStep = m_curStep = step;
            if (!hit) setDaySelection(d, {step, step});
        }
    }
    m_allDay->update();
    update();

    if (right && hit) emit eventPopupRequested(mapToGlobal(e.pos), hitId);
    if (leftDouble) {
        if (hit) {
            if (onEditEvent)
                onEditEvent(hitId, m_occurrenceEventId == hitId ? m_occurrenceDate : -1);
        } else {
            const SerialDateTime start = m_time.spanStart() + d - 1 + double(step - 1) / m_stepsPerDay;
            m_time.setSelectionStart(start);
            m_time.setSelectionEnd(m_time.spanStart() + d - 1 + double(step) / m_stepsPerDay);
            if (onNewEvent) onNewEvent();
        }
    }
}

void TimeGrid::gridMouseMove(const GridMouseEvent &e)
{
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed || m_dragMode == DragClicked) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        if (const SpanItem *item = itemAt(e.pos, nullptr)) {
            if ((e.pos.y() < item->top + 6 && !item->cutStart) ||
                (e.pos.y() >= item->bottom - 4 && !item->cutEnd))
                shape = GridPointer::SizeVertical;
        }
        setPointer(shape);
        return;
    }
    const int header = rowHeight(0);
    const int gridBottom = std::min(height(), grid().totalHeight());
    const bool inRowsV = e.pos.y() >= header && e.pos.y() < gridBottom;
    const bool inRowsH = e.pos.x() >= 0 && e.pos.x() < width();
    if (inRowsV && inRowsH) {
        stopTimers();
        m_isOutside = false;
        const int day = std::clamp(dayAt(e.pos.x()), 1, dayCount());
        const int row = std::max(1, grid().rowAt(e.pos.y()));
        setCurrentCell(day, row + m_view.firstVisibleRow);
        updateDrag();
        if (m_dragMode == DragSelect) setPointer(GridPointer::Arrow);
        if (m_dragMode == DragMove) setPointer(GridPointer::Drag);
        return;
    }
    if (inRowsV) stopTimers(); // back inside vertically
    if (inRowsH && !inRowsV) {
        if (e.pos.y() < header)
            m_timerDown.stop();
        else
            m_timerUp.stop();
    }
    if (e.pos.y() < header && !m_isOutside) {
        setCurrentCell(m_prevDay, m_view.firstVisibleRow + 1);
        updateDrag();
        m_timerUp.start();
    } else if (e.pos.y() >= gridBottom && !m_isOutside) {
        setCurrentCell(m_prevDay, rowCount() + m_view.firstVisibleRow - 1);
        updateDrag();
        m_timerDown.start();
    } else if (e.pos.x() >= width()) {
        setCurrentCell(dayCount(), m_prevStep);
        updateDrag();
    } else if (e.pos.x() < 0) {
        setCurrentCell(m_dragMode == DragEnd ? 0 : 1, m_prevStep);
        updateDrag();
    }
    m_isOutside = true;
}

void TimeGrid::gridMouseUp(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    const GridDragMode mode = m_dragMode;
    const std::optional<GridEventRow> row =
        mode >= DragMove ? m_model.eventRow(m_clickedEventId) : std::nullopt;
    if ((mode == DragStart || mode == DragEnd) && row) {
        const bool wholeDays = ms(row->endTime) - ms(row->startTime) >= MsPerDay;
        const bool recurringDays = row->recurrent && row->extraDays > 0 &&
                                   timeOfDayMs(row->startTime) == timeOfDayMs(row->endTime);
        if (wholeDays || recurringDays) {
            collectAll();
            emit layoutRequested();
            m_allDay->update();
        }
    }
    stopTimers();
    if (mode == DragSelect) {
        int first = 0;
        for (int d = 1; d <= 7 && !first; ++d)
            if (daySelection(d).isSet()) first = d;
        if (first) {
            int last = first;
            while (last < 7 && daySelection(last + 1).isSet())
                ++last;
            m_time.setSelectionStart(m_time.spanStart() + first - 1 +
                               double(daySelection(first).first - 1) / m_stepsPerDay);
            m_time.setSelectionEnd(m_time.spanStart() + last - 1 +
                             double(daySelection(last).last) / m_stepsPerDay);
        }
        if (e.button == Qt::RightButton) emit selectPopupRequested(mapToGlobal(e.pos));
    }
    if (row && (mode == DragMove || mode == DragStart || (mode == DragEnd && row->recurrent)))
        m_model.rescheduleAlarm(m_clickedEventId);
    m_dragMode = DragSelect;
    setPointer(GridPointer::Arrow);
    emit commandStatesChanged();
}

void TimeGrid::setCurrentCell(int day, int step)
{
    m_curDay = day;
    m_curStep = step;
}

void TimeGrid::updateDrag()
{
    switch (m_dragMode) {
    case DragSelect:
        rangeStep();
        break;
    case DragMove:
        moveStep();
        break;
    case DragStart:
        changeStartStep();
        break;
    case DragEnd:
        changeEndStep();
        break;
    case DragClicked:
        break;
    }
}

void TimeGrid::rangeStep()
{
    const int n = dayCount();
    const int spd = m_stepsPerDay;
    const int anchorDay = std::clamp(m_anchorDay, 1, n);
    const int curDay = std::clamp(m_curDay, 1, n);
    const int anchorStep = std::clamp(m_anchorStep, 1, spd);
    const int curStep = std::clamp(m_curStep, 1, spd);
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
        setDaySelection(d, r);
    }
    m_prevDay = m_curDay;
    m_prevStep = m_curStep;
}

bool TimeGrid::postStep(const GridEventRow &row)
{
    m_oldStart = m_dragRow.startTime;
    m_oldEnd = m_dragRow.endTime;
    if (!m_model.postEventTimes(m_clickedEventId, row)) return false;
    m_newStart = row.startTime;
    m_newEnd = row.endTime;
    refreshAfterPost();
    return true;
}

void TimeGrid::moveStep()
{
    if (!m_model.isBrowsing() || (m_curDay == m_prevDay && m_curStep == m_prevStep)) return;
    const std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId);
    if (!row || row->recurrent) return;
    m_dragRow = *row;
    const qint64 delta = qint64(m_curStep - m_prevStep) * m_timeScale * MsPerMinute +
                         qint64(m_curDay - m_prevDay) * MsPerDay;
    GridEventRow next = *row;
    next.startTime = value(ms(row->startTime) + delta);
    next.endTime = value(ms(row->endTime) + delta);
    postStep(next);
}

void TimeGrid::changeStartStep()
{
    if (!m_model.isBrowsing() || (m_curDay == m_prevDay && m_curStep == m_prevStep)) return;
    const std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId);
    if (!row) return;
    m_dragRow = *row;
    GridEventRow next = *row;
    const qint64 t = qint64(m_curStep - 1) * m_timeScale * MsPerMinute;
    if (row->recurrent) {
        const qint64 endTime = timeOfDayMs(row->endTime);
        next.startTime =
            value(dayMs(row->startTime) + (endTime > t || row->extraDays > 0 ? t : endTime));
    } else {
        const qint64 at = ms(m_time.spanStart()) + qint64(m_curDay - 1) * MsPerDay + t;
        next.startTime = at >= ms(row->endTime) ? row->endTime : value(at);
    }
    postStep(next);
}

void TimeGrid::changeEndStep()
{
    if (!m_model.isBrowsing() || (m_curDay == m_prevDay && m_curStep == m_prevStep)) return;
    const std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId);
    if (!row) return;
    m_dragRow = *row;
    GridEventRow next = *row;
    const qint64 t = qint64(m_curStep) * m_timeScale * MsPerMinute; // MsPerDay at midnight
    if (row->recurrent) {
        const qint64 endTime = timeOfDayMs(row->endTime);
        if (t >= MsPerDay && endTime != 0) ++next.extraDays;
        if (t < MsPerDay && endTime == 0) next.extraDays = std::max(0, next.extraDays - 1);
        const qint64 startTime = timeOfDayMs(row->startTime);
        const qint64 frac = t % MsPerDay;
        next.endTime =
            value(dayMs(row->endTime) + (t <= startTime && next.extraDays <= 0 ? startTime : frac));
    } else {
        const qint64 at = ms(m_time.spanStart()) + qint64(m_curDay - 1) * MsPerDay + t;
        next.endTime = at > ms(row->startTime) ? value(at) : row->startTime;
    }
    postStep(next);
}

void TimeGrid::refreshAfterPost()
{
    const int n = dayCount();
    int first = 1;
    int last = n;
    if (!m_dragRow.recurrent) {
        // The day an end falls on; an end at midnight belongs to the day before unless the
        // event has no length.
        const auto endDay = [&](SerialDateTime start, SerialDateTime end) {
            const int d = dayIndexOf(end);
            return timeOfDayMs(end) == 0 && ms(end) != ms(start) ? d - 1 : d;
        };
        switch (m_dragMode) {
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
        const int forced =
            (m_dragMode == DragStart || m_dragMode == DragEnd) ? m_clickedEventId : 0;
        collect(DaySpanCollection::TimeGridPart, first, last, 0, forced);
        placeDays(first, last, true, true);
        for (int d = first; d <= last; ++d)
            invalidateDay(d);
    }
    if (std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId)) m_dragRow = *row;
    m_prevDay = m_curDay;
    m_prevStep = m_curStep;
}

void TimeGrid::upTick()
{
    if (m_curStep <= 1) return;
    const int perHour = stepsPerHour();
    const GridScrollState s = scrollState ? scrollState() : GridScrollState{};
    int k = perHour;
    if (scrollState && s.atLastPosition()) k -= (rowCount() - 1) % perHour;
    m_curStep = std::max(1, m_curStep - std::max(1, k));
    updateDrag();
    if (setScrollPosition && scrollState && s.position > 0) setScrollPosition(s.position - 1);
}

void TimeGrid::downTick()
{
    if (m_curStep >= m_stepsPerDay) return;
    m_curStep = std::min(m_stepsPerDay, m_curStep + stepsPerHour());
    updateDrag();
    if (setScrollPosition && scrollState) {
        const GridScrollState s = scrollState();
        if (s.position < s.maximum - s.pageSize + 1) setScrollPosition(s.position + 1);
    }
}

void TimeGrid::stopTimers()
{
    m_timerUp.stop();
    m_timerDown.stop();
}
