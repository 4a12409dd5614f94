#include "views/AllDayStrip.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "core/DateTextHelpers.h"
#include "views/TimeGrid.h"
#include "views/GridPaint.h"
#include "views/GridPress.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

using namespace GridPaint;

namespace
{
using DateTimeValue::MsPerDay;
qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
} // namespace

AllDayStrip::AllDayStrip(QWidget *panel, TimeGrid &timeGrid)
    : DrawGrid(panel), m_dw(timeGrid)
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
    m_dw.m_model.dayCollection().placeStrip(g);
}

int AllDayStrip::dayAt(int x) const
{
    if (x < 0) return -1;
    const int col = grid().colAt(x);
    if (col < 0) return x >= grid().totalWidth() ? m_dw.dayCount() : -1;
    return std::min(col, m_dw.dayCount());
}

// ---------------------------------------------------------------------------------------------
// Painting: bars first, then the free lanes of the cells.

void AllDayStrip::paintBeforeCells(QPainter &p, const QRegion &region)
{
    p.setFont(font());
    for (const SpanItem &item : m_dw.m_model.dayCollection().stripItems()) {
        const QRect box(item.left, item.top, item.right - item.left, item.bottom - item.top);
        if (region.intersects(box)) paintBar(p, item);
    }
}

void AllDayStrip::paintBar(QPainter &p, const SpanItem &item)
{
    const QRect frame(item.left, item.top, item.right - item.left, item.bottom - item.top);
    p.setPen(lineColor());
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    const QRect in = frame.adjusted(1, 1, -1, -1);
    if (in.width() < 1 || in.height() < 1) return;
    const QColor white(Qt::white);
    const int w = colCount() > 1 ? colWidth(1) : in.width();

    // Time bar: the top 4 px, white where the exact times leave the first and last day.
    const QRect bar(in.left(), in.top(), in.width(), std::min(4, in.height()));
    if (item.startFrac < 0) {
        p.fillRect(bar, white);
        p.setPen(Qt::NoPen);
        p.setBrush(lineColor());
        p.drawPolygon(QPolygon({QPoint(bar.left(), bar.top()), QPoint(bar.left(), bar.bottom() + 1),
                                QPoint(bar.left() + 4, bar.bottom() + 1)}));
        p.setBrush(white);
        p.drawPolygon(
            QPolygon({QPoint(bar.left() + 1, bar.top()), QPoint(bar.left() + 4, bar.top()),
                      QPoint(bar.left() + 4, bar.bottom())}));
        p.setBrush(Qt::NoBrush);
    } else {
        p.fillRect(bar, item.isOccurrence ? occurrenceColor() : lineColor());
        if (item.startFrac > 0) {
            const int k = int(std::trunc(w * item.startFrac));
            p.fillRect(QRect(bar.left(), bar.top(), std::min(k, bar.width()), bar.height()), white);
        }
        if (item.endFrac > 0) {
            int k = int(std::ceil(w * item.endFrac));
            if (k > 0) k = w - k;
            if (k > 0)
                p.fillRect(
                    QRect(bar.right() - k + 1, bar.top(), std::min(k, bar.width()), bar.height()),
                    white);
        }
    }

    QRect ta(in.left(), in.top() + 4, in.width(), in.height() - 4);
    if (ta.height() < 1) return;
    p.setPen(Qt::NoPen);
    if (item.cutStart && ta.width() > 5) {
        p.fillRect(QRect(ta.left(), ta.top(), 5, ta.height()), lineColor());
        p.setBrush(white);
        p.drawPolygon(
            QPolygon({QPoint(ta.left(), ta.top() + 8), QPoint(ta.left() + 3, ta.top() + 5),
                      QPoint(ta.left() + 3, ta.top() + 11)}));
        ta.setLeft(ta.left() + 5);
    }
    if (item.cutEnd && ta.width() > 5) {
        p.fillRect(QRect(ta.right() - 4, ta.top(), 5, ta.height()), lineColor());
        p.setBrush(white);
        p.drawPolygon(
            QPolygon({QPoint(ta.right() - 1, ta.top() + 8), QPoint(ta.right() - 4, ta.top() + 5),
                      QPoint(ta.right() - 4, ta.top() + 11)}));
        ta.setRight(ta.right() - 5);
    }
    p.setBrush(Qt::NoBrush);
    p.fillRect(QRect(ta.left(), ta.top(), ta.width(), 1), lineColor());
    ta.setTop(ta.top() + 1);
    if (ta.width() < 1 || ta.height() < 1) return;

    const bool selected = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), item.id) !=
                          m_selectedEvents.end();
    const QColor fill = selected ? selectedColor() : m_dw.m_model.layerColor(item.layer);
    p.fillRect(ta, fill);
    if (item.alarmSet && m_dw.m_reg.showAlarmDayWeek()) {
        drawAlarmMark(p, ta.left(), ta.top(), ta.height(), fill, selected);
        ta.setLeft(ta.left() + 10);
    }

    QString text;
    const bool wholeDays = DateTimeValue::msOfDay(item.startTime) == 0 &&
                           DateTimeValue::msOfDay(item.endTime) == 0 &&
                           ms(item.startTime) != ms(item.endTime);
    if (!wholeDays) {
        const QString start = timeText(m_dw.m_format, item.startTime);
        const QString end = timeText(m_dw.m_format, item.endTime);
        const bool showStart = m_dw.m_reg.showStartDayWeek();
        const bool showEnd = m_dw.m_reg.showEndDayWeek();
        if (showStart && showEnd)
            text = start + QStringLiteral(" - ") + end + QLatin1Char(' ');
        else if (showStart)
            text = start + QLatin1Char(' ');
        else if (showEnd)
            text = end + QLatin1Char(' ');
    }
    int lead = 0;
    while (lead < item.subject.size() && item.subject.at(lead) == QLatin1Char(' '))
        ++lead;
    text += item.subject.mid(lead);
    p.save();
    p.setClipRect(ta, Qt::IntersectClip);
    p.setPen(selected ? white : QColor(Qt::black));
    p.drawText(QRect(ta.left() + 2, ta.top() + 1, std::max(0, ta.width() - 2), ta.height()),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

void AllDayStrip::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    if (row != 0) return;
    const QColor line = lineColor();
    if (col == 0) {
        p.fillRect(rect, panelColor());
        p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
    } else if (col <= m_dw.dayCount()) {
        const TimeGrid::StepRange sel = m_dw.daySelection(col);
        const bool wholeDay = sel.first == 1 && sel.last == m_dw.stepsPerDay();
        const QColor color = wholeDay ? occurrenceColor() : panelColor();
        const DaySpanCollection &c = m_dw.m_model.dayCollection();
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

// ---------------------------------------------------------------------------------------------
// Mouse.

void AllDayStrip::gridMouseDown(const GridMouseEvent &e)
{
    if (!GridPress::isHandled(e.shift)) return;
    const bool plainLeft = GridPress::isPlainLeft(e.shift);
    const bool leftDouble = GridPress::isLeftDouble(e.shift);
    const bool right = e.shift.testFlag(GridShift::Right);
    const bool shift = e.shift.testFlag(GridShift::Shift);
    const bool ctrl = e.shift.testFlag(GridShift::Ctrl);
    m_pressed = true;
    m_pressButton = e.button;

    m_dw.clearTimeSelection();
    if (plainLeft) {
        m_dw.clearSelectedEvents();
        clearSelectedEvents();
    }
    m_dw.setTimeGridActive(false);
    const int day = dayAt(e.pos.x());
    m_dragMode = DragSelect;
    const SpanItem *hit = nullptr;
    for (const SpanItem &item : m_dw.m_model.dayCollection().stripItems())
        if (e.pos.x() >= item.left + 1 && e.pos.x() < item.right && e.pos.y() >= item.top &&
            e.pos.y() < item.bottom) {
            hit = &item;
            break;
        }
    int hitId = 0;
    if (hit) {
        const SpanItem item = *hit;
        hitId = item.id;
        const std::optional<GridEventRow> row = m_dw.m_model.eventRow(item.id);
        m_clickedEventId = item.id;
        if (row) m_dragRow = *row;
        auto it = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), item.id);
        if (it != m_selectedEvents.end()) {
            if (ctrl) {
                *it = m_selectedEvents.back();
                m_selectedEvents.pop_back();
            }
        } else {
            if (right && !shift && !ctrl) {
                m_dw.clearSelectedEvents();
                clearSelectedEvents();
            }
            if (int(m_selectedEvents.size()) < TimeGrid::MaxSelectedEvents)
                m_selectedEvents.push_back(item.id);
        }
        if (item.isOccurrence) {
            m_occurrenceEventId = item.id;
            m_occurrenceDate = DateTimeValue::dayOf(item.startTime);
        } else {
            m_occurrenceEventId = -1;
        }
        if (!plainLeft || item.isOccurrence || !row)
            m_dragMode = DragClicked;
        else if (e.pos.x() < item.left + 5 && !item.cutStart)
            m_dragMode = DragStart;
        else if (e.pos.x() >= item.right - 4 && !item.cutEnd)
            m_dragMode = DragEnd;
        else
            m_dragMode = DragMove;
    } else if (!plainLeft && !leftDouble) {
        m_dw.clearSelectedEvents();
        clearSelectedEvents();
    }
    emit m_dw.commandStatesChanged();

    const int d = std::clamp(day, 1, m_dw.dayCount());
    if (!hit || plainLeft) {
        if (shift) {
            m_prevDay = m_anchorDay;
            m_curDay = d;
            rangeStep();
        } else {
            m_anchorDay = m_prevDay = m_curDay = d;
            if (!hit) m_dw.setDaySelection(d, {1, m_dw.stepsPerDay()});
        }
    }
    update();
    m_dw.update();

    if (right && hit) emit m_dw.eventPopupRequested(mapToGlobal(e.pos), hitId);
    if (leftDouble) {
        if (hit) {
            if (m_dw.onEditEvent)
                m_dw.onEditEvent(hitId, m_occurrenceEventId == hitId ? m_occurrenceDate : -1);
        } else {
            m_dw.m_time.setSelectionStart(m_dw.m_time.spanStart() + d - 1);
            m_dw.m_time.setSelectionEnd(m_dw.m_time.spanStart() + d);
            if (m_dw.onNewEvent) m_dw.onNewEvent();
        }
    }
}

void AllDayStrip::gridMouseMove(const GridMouseEvent &e)
{
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        for (const SpanItem &item : m_dw.m_model.dayCollection().stripItems()) {
            if (e.pos.x() < item.left + 1 || e.pos.x() >= item.right || e.pos.y() < item.top ||
                e.pos.y() >= item.bottom)
                continue;
            if (!item.isOccurrence && ((e.pos.x() < item.left + 6 && !item.cutStart) ||
                                       (e.pos.x() >= item.right - 4 && !item.cutEnd)))
                shape = GridPointer::SizeHorizontal;
            break;
        }
        setPointer(shape);
        return;
    }
    if (m_dragMode == DragClicked) return;
    if (e.pos.y() < 0 || e.pos.y() >= height()) return;
    if (e.pos.x() >= width()) {
        m_curDay = m_dw.dayCount();
    } else if (e.pos.x() < 0) {
        m_curDay = m_dragMode == DragEnd ? 0 : 1;
    } else {
        const int day = dayAt(e.pos.x());
        m_curDay = day <= 0 ? (m_dragMode == DragEnd ? 0 : 1) : day;
    }
    if (m_dragMode == DragSelect) setPointer(GridPointer::Arrow);
    if (m_dragMode == DragMove) setPointer(GridPointer::Drag);
    updateDrag();
}

void AllDayStrip::gridMouseUp(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    const quint8 mode = m_dragMode;
    ViewState &view = m_dw.m_view;
    const std::optional<GridEventRow> row =
        mode >= DragMove ? m_dw.m_model.eventRow(m_clickedEventId) : std::nullopt;
    if ((mode == DragStart || mode == DragEnd) && row &&
        ms(row->endTime) - ms(row->startTime) < MsPerDay) {
        m_dw.collectAll();
        emit m_dw.layoutRequested();
    }
    if (view.stripHeight != height()) {
        emit m_dw.layoutRequested();
        update();
    }
    if (mode == DragSelect) {
        int first = 0;
        for (int d = 1; d <= 7 && !first; ++d)
            if (m_dw.daySelection(d).isSet()) first = d;
        if (first) {
            int last = first;
            while (last < 7 && m_dw.daySelection(last + 1).isSet())
                ++last;
            m_dw.m_time.setSelectionStart(m_dw.m_time.spanStart() + first - 1);
            m_dw.m_time.setSelectionEnd(m_dw.m_time.spanStart() + last);
        }
        if (e.button == Qt::RightButton) emit m_dw.selectPopupRequested(mapToGlobal(e.pos));
    }
    if (row && (mode == DragMove || mode == DragStart || (mode == DragEnd && row->recurrent)))
        m_dw.m_model.rescheduleAlarm(m_clickedEventId);
    m_dragMode = DragSelect;
    setPointer(GridPointer::Arrow);
    emit m_dw.commandStatesChanged();
}

void AllDayStrip::updateDrag()
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
    default:
        break;
    }
}

void AllDayStrip::rangeStep()
{
    const int n = m_dw.dayCount();
    const int a = std::clamp(m_anchorDay, 1, n);
    const int b = std::clamp(m_curDay, 1, n);
    for (int d = 1; d <= 7; ++d) {
        const bool in = d <= n && d >= std::min(a, b) && d <= std::max(a, b);
        m_dw.setDaySelection(d, in ? TimeGrid::StepRange{1, m_dw.stepsPerDay()}
                                   : TimeGrid::StepRange{});
    }
    m_prevDay = m_curDay;
}

void AllDayStrip::moveStep()
{
    TimeGridModel &model = m_dw.m_model;
    if (!model.isBrowsing() || m_curDay == m_prevDay) return;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || row->recurrent) return;
    const qint64 delta = qint64(m_curDay - m_prevDay) * MsPerDay;
    GridEventRow next = *row;
    next.startTime = DateTimeValue::fromMs(ms(row->startTime) + delta);
    next.endTime = DateTimeValue::fromMs(ms(row->endTime) + delta);
    if (model.postEventTimes(m_clickedEventId, next)) refreshAfterPost();
}

void AllDayStrip::changeStartStep()
{
    TimeGridModel &model = m_dw.m_model;
    if (!model.isBrowsing() || m_curDay == m_prevDay) return;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || row->recurrent) return;
    const qint64 t = ms(m_dw.m_time.spanStart()) + qint64(m_curDay - 1) * MsPerDay;
    GridEventRow next = *row;
    next.startTime = t < ms(row->endTime) ? DateTimeValue::fromMs(t) : row->endTime;
    if (model.postEventTimes(m_clickedEventId, next)) refreshAfterPost();
}

void AllDayStrip::changeEndStep()
{
    TimeGridModel &model = m_dw.m_model;
    if (!model.isBrowsing() || m_curDay == m_prevDay) return;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || row->recurrent) return;
    const qint64 first = ms(m_dw.m_time.spanStart());
    if (m_curDay == 0 && ms(row->startTime) < first) m_curDay = 1;
    const qint64 t = first + qint64(m_curDay) * MsPerDay;
    GridEventRow next = *row;
    next.endTime = t > ms(row->startTime) ? DateTimeValue::fromMs(t) : row->startTime;
    if (model.postEventTimes(m_clickedEventId, next)) refreshAfterPost();
}

void AllDayStrip::refreshAfterPost()
{
    const int forced = (m_dragMode == DragStart || m_dragMode == DragEnd) ? m_clickedEventId : 0;
    m_dw.collect(DaySpanCollection::AllDayPart, 1, m_dw.dayCount(), forced, 0);
    place();
    if (height() < m_dw.m_view.stripHeight) emit m_dw.layoutRequested();
    update();
    if (std::optional<GridEventRow> row = m_dw.m_model.eventRow(m_clickedEventId)) m_dragRow = *row;
    m_prevDay = m_curDay;
}
