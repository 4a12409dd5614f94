// TLumGrid_DW: mouse handling, the drag steps and the auto-scroll ticks.
#include "core/DTimeDM.h"
#include "core/DViewDM.h"
#include "views/GridsDM_AllDay.h"
#include "views/GridsDM_DayWeek.h"
#include "views/GridsDM_Press.h"

#include <algorithm>

namespace
{

using DateTimeValue::MsPerDay;
constexpr qint64 MsPerMinute = 60000;

qint64 ms(TDateTime t)
{
    return DateTimeValue::toMs(t);
}
TDateTime value(qint64 m)
{
    return DateTimeValue::fromMs(m);
}
qint64 dayMs(TDateTime t)
{
    return qint64(DateTimeValue::dayOf(t)) * MsPerDay;
}
qint64 timeOfDayMs(TDateTime t)
{
    return DateTimeValue::msOfDay(t);
}

} // namespace

const TSpanItem_Rec *TLumGrid_DW::itemAt(QPoint pos, int *dayOut) const
{
    const int day = dayAt(pos.x());
    if (dayOut) *dayOut = day;
    if (day < 1 || pos.y() < rowHeight(0)) return nullptr;
    for (const TSpanItem_Rec &item : m_model.dayCollection().timeItems(day))
        if (pos.x() >= item.Left && pos.x() < item.Right && pos.y() >= item.Top + 1 &&
            pos.y() < item.Bottom)
            return &item;
    return nullptr;
}

bool TLumGrid_DW::selectEvent(int id, bool ctrl, bool plainRight)
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
        ClearSelectedEvents();
        m_allDay->ClearSelectedEvents();
    }
    if (int(m_selectedEvents.size()) < MaxSelectedEvents) m_selectedEvents.push_back(id);
    return true;
}

void TLumGrid_DW::gridMouseDown(const GridMouseEvent &e)
{
    if (!GridsPress::isHandled(e.shift)) return;
    const bool plainLeft = GridsPress::isPlainLeft(e.shift);
    const bool leftDouble = GridsPress::isLeftDouble(e.shift);
    const bool right = e.shift.testFlag(GridShift::Right);
    const bool shift = e.shift.testFlag(GridShift::Shift);
    const bool ctrl = e.shift.testFlag(GridShift::Ctrl);
    m_pressed = true;
    m_pressButton = e.button;

    ClearTimeSelection();
    if (plainLeft || leftDouble) {
        ClearSelectedEvents();
        m_allDay->ClearSelectedEvents();
    }
    m_timeGridActive = true;
    int day = 0;
    const TSpanItem_Rec *hit = itemAt(e.pos, &day);
    const int row = std::max(1, grid().rowAt(e.pos.y()));
    const int step = row + m_view.StartPosition;
    m_dragMode = DragSelect;
    m_isOutside = false;

    int hitId = 0;
    if (hit) {
        const TSpanItem_Rec item = *hit; // the collection may be rebuilt below
        hitId = item.ID;
        const std::optional<GridEventRow> row = m_model.eventRow(item.ID);
        m_clickedEventId = item.ID;
        if (row) m_dragRow = *row;
        selectEvent(item.ID, ctrl, right && !shift && !ctrl);
        if (item.IsOccurrence) {
            m_occurrenceEventId = item.ID;
            m_occurrenceDate = DateTimeValue::dayOf(item.StartTime);
        } else {
            m_occurrenceEventId = -1;
        }
        if (!plainLeft || !row) {
            m_dragMode = DragClicked;
        } else if (e.pos.y() < item.Top + 5 && !item.CutStart) {
            m_dragMode = DragStart;
        } else if (e.pos.y() >= item.Bottom - 4 && !item.CutEnd) {
            m_dragMode = DragEnd;
        } else {
            m_dragMode = item.IsOccurrence ? DragClicked : DragMove;
        }
    } else if (!plainLeft && !leftDouble) {
        ClearSelectedEvents();
        m_allDay->ClearSelectedEvents();
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
            if (!hit) SetDaySelection(d, {step, step});
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
            const TDateTime start = m_time.FirstDate() + d - 1 + double(step - 1) / m_stepsPerDay;
            m_time.setSelStart(start);
            m_time.setSelEnd(m_time.FirstDate() + d - 1 + double(step) / m_stepsPerDay);
            if (onNewEvent) onNewEvent();
        }
    }
}

void TLumGrid_DW::gridMouseMove(const GridMouseEvent &e)
{
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed || m_dragMode == DragClicked) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        if (const TSpanItem_Rec *item = itemAt(e.pos, nullptr)) {
            if ((e.pos.y() < item->Top + 6 && !item->CutStart) ||
                (e.pos.y() >= item->Bottom - 4 && !item->CutEnd))
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
        SetCurrentCell(day, row + m_view.StartPosition);
        UpdateDrag();
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
        SetCurrentCell(m_prevDay, m_view.StartPosition + 1);
        UpdateDrag();
        m_timerUp.start();
    } else if (e.pos.y() >= gridBottom && !m_isOutside) {
        SetCurrentCell(m_prevDay, rowCount() + m_view.StartPosition - 1);
        UpdateDrag();
        m_timerDown.start();
    } else if (e.pos.x() >= width()) {
        SetCurrentCell(dayCount(), m_prevStep);
        UpdateDrag();
    } else if (e.pos.x() < 0) {
        SetCurrentCell(m_dragMode == DragEnd ? 0 : 1, m_prevStep);
        UpdateDrag();
    }
    m_isOutside = true;
}

void TLumGrid_DW::gridMouseUp(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    const GridDragMode mode = m_dragMode;
    const std::optional<GridEventRow> row =
        mode >= DragMove ? m_model.eventRow(m_clickedEventId) : std::nullopt;
    if ((mode == DragStart || mode == DragEnd) && row) {
        const bool wholeDays = ms(row->EndTime) - ms(row->StartTime) >= MsPerDay;
        const bool recurringDays = row->Recurrent && row->ComboBox1 > 0 &&
                                   timeOfDayMs(row->StartTime) == timeOfDayMs(row->EndTime);
        if (wholeDays || recurringDays) {
            CollectAll();
            emit layoutRequested();
            m_allDay->update();
        }
    }
    stopTimers();
    if (mode == DragSelect) {
        int first = 0;
        for (int d = 1; d <= 7 && !first; ++d)
            if (DaySelection(d).isSet()) first = d;
        if (first) {
            int last = first;
            while (last < 7 && DaySelection(last + 1).isSet())
                ++last;
            m_time.setSelStart(m_time.FirstDate() + first - 1 +
                               double(DaySelection(first).first - 1) / m_stepsPerDay);
            m_time.setSelEnd(m_time.FirstDate() + last - 1 +
                             double(DaySelection(last).last) / m_stepsPerDay);
        }
        if (e.button == Qt::RightButton) emit selectPopupRequested(mapToGlobal(e.pos));
    }
    if (row && (mode == DragMove || mode == DragStart || (mode == DragEnd && row->Recurrent)))
        m_model.rescheduleAlarm(m_clickedEventId);
    m_dragMode = DragSelect;
    setPointer(GridPointer::Arrow);
    emit commandStatesChanged();
}

void TLumGrid_DW::SetCurrentCell(int day, int step)
{
    m_curDay = day;
    m_curStep = step;
}

void TLumGrid_DW::UpdateDrag()
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

void TLumGrid_DW::rangeStep()
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
        SetDaySelection(d, r);
    }
    m_prevDay = m_curDay;
    m_prevStep = m_curStep;
}

bool TLumGrid_DW::postStep(const GridEventRow &row)
{
    m_oldStart = m_dragRow.StartTime;
    m_oldEnd = m_dragRow.EndTime;
    if (!m_model.postEventTimes(m_clickedEventId, row)) return false;
    m_newStart = row.StartTime;
    m_newEnd = row.EndTime;
    RefreshAfterPost();
    return true;
}

void TLumGrid_DW::moveStep()
{
    if (!m_model.isBrowsing() || (m_curDay == m_prevDay && m_curStep == m_prevStep)) return;
    const std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId);
    if (!row || row->Recurrent) return;
    m_dragRow = *row;
    const qint64 delta = qint64(m_curStep - m_prevStep) * m_timeScale * MsPerMinute +
                         qint64(m_curDay - m_prevDay) * MsPerDay;
    GridEventRow next = *row;
    next.StartTime = value(ms(row->StartTime) + delta);
    next.EndTime = value(ms(row->EndTime) + delta);
    postStep(next);
}

void TLumGrid_DW::changeStartStep()
{
    if (!m_model.isBrowsing() || (m_curDay == m_prevDay && m_curStep == m_prevStep)) return;
    const std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId);
    if (!row) return;
    m_dragRow = *row;
    GridEventRow next = *row;
    const qint64 t = qint64(m_curStep - 1) * m_timeScale * MsPerMinute;
    if (row->Recurrent) {
        const qint64 endTime = timeOfDayMs(row->EndTime);
        next.StartTime =
            value(dayMs(row->StartTime) + (endTime > t || row->ComboBox1 > 0 ? t : endTime));
    } else {
        const qint64 at = ms(m_time.FirstDate()) + qint64(m_curDay - 1) * MsPerDay + t;
        next.StartTime = at >= ms(row->EndTime) ? row->EndTime : value(at);
    }
    postStep(next);
}

void TLumGrid_DW::changeEndStep()
{
    if (!m_model.isBrowsing() || (m_curDay == m_prevDay && m_curStep == m_prevStep)) return;
    const std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId);
    if (!row) return;
    m_dragRow = *row;
    GridEventRow next = *row;
    const qint64 t = qint64(m_curStep) * m_timeScale * MsPerMinute; // MsPerDay at midnight
    if (row->Recurrent) {
        const qint64 endTime = timeOfDayMs(row->EndTime);
        if (t >= MsPerDay && endTime != 0) ++next.ComboBox1;
        if (t < MsPerDay && endTime == 0) next.ComboBox1 = std::max(0, next.ComboBox1 - 1);
        const qint64 startTime = timeOfDayMs(row->StartTime);
        const qint64 frac = t % MsPerDay;
        next.EndTime =
            value(dayMs(row->EndTime) + (t <= startTime && next.ComboBox1 <= 0 ? startTime : frac));
    } else {
        const qint64 at = ms(m_time.FirstDate()) + qint64(m_curDay - 1) * MsPerDay + t;
        next.EndTime = at > ms(row->StartTime) ? value(at) : row->StartTime;
    }
    postStep(next);
}

void TLumGrid_DW::RefreshAfterPost()
{
    const int n = dayCount();
    int first = 1;
    int last = n;
    if (!m_dragRow.Recurrent) {
        // The day an end falls on; an end at midnight belongs to the day before unless the
        // event has no length.
        const auto endDay = [&](TDateTime start, TDateTime end) {
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
            InvalidateDay(d);
    }
    if (std::optional<GridEventRow> row = m_model.eventRow(m_clickedEventId)) m_dragRow = *row;
    m_prevDay = m_curDay;
    m_prevStep = m_curStep;
}

void TLumGrid_DW::upTick()
{
    if (m_curStep <= 1) return;
    const int perHour = StepsPerHour();
    const GridScrollState s = scrollState ? scrollState() : GridScrollState{};
    int k = perHour;
    if (scrollState && s.atLastPosition()) k -= (rowCount() - 1) % perHour;
    m_curStep = std::max(1, m_curStep - std::max(1, k));
    UpdateDrag();
    if (setScrollPosition && scrollState && s.position > 0) setScrollPosition(s.position - 1);
}

void TLumGrid_DW::downTick()
{
    if (m_curStep >= m_stepsPerDay) return;
    m_curStep = std::min(m_stepsPerDay, m_curStep + StepsPerHour());
    UpdateDrag();
    if (setScrollPosition && scrollState) {
        const GridScrollState s = scrollState();
        if (s.position < s.maximum - s.pageSize + 1) setScrollPosition(s.position + 1);
    }
}

void TLumGrid_DW::stopTimers()
{
    m_timerUp.stop();
    m_timerDown.stop();
}
