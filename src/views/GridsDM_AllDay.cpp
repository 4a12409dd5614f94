#include "views/GridsDM_AllDay.h"

#include "core/DFormatDM.h"
#include "core/DRegDM.h"
#include "core/DTimeDM.h"
#include "core/DViewDM.h"
#include "core/DateTextHelpers.h"
#include "views/GridsDM_DayWeek.h"
#include "views/GridsDM_Paint.h"
#include "views/GridsDM_Press.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

using namespace GridsPaint;

namespace
{
using DateTimeValue::MsPerDay;
qint64 ms(TDateTime t)
{
    return DateTimeValue::toMs(t);
}
} // namespace

TLumGrid_AllDay::TLumGrid_AllDay(QWidget *panel, TLumGrid_DW &timeGrid)
    : TLumDrawGrid(panel), m_dw(timeGrid)
{
    setColor(panelColor());
    setGridLineWidth(0);
    setColCount(2);
    setRowCount(1);
    setRowHeight(0, 15);
    setColWidth(0, TLumGrid_DW::TimeColumnWidth);
    if (panel) setColWidth(1, std::max(0, panel->width() - 78));
    m_selectedEvents.reserve(TLumGrid_DW::MaxSelectedEvents);
}

void TLumGrid_AllDay::ClearSelectedEvents()
{
    if (!m_selectedEvents.empty()) update();
    m_selectedEvents.clear();
}

void TLumGrid_AllDay::InvalidateDay(int day)
{
    if (day < 1 || day >= colCount()) return;
    invalidateRect(QRect(grid().colLeft(day), 0, colWidth(day), height()));
}

void TLumGrid_AllDay::Place()
{
    StripGeometry g;
    for (int d = 1; d <= 7; ++d)
        if (d < colCount()) g.dayColumns[size_t(d - 1)] = {grid().colLeft(d), colWidth(d)};
    m_dw.m_model.dayCollection().placeStrip(g);
}

int TLumGrid_AllDay::dayAt(int x) const
{
    if (x < 0) return -1;
    const int col = grid().colAt(x);
    if (col < 0) return x >= grid().totalWidth() ? m_dw.dayCount() : -1;
    return std::min(col, m_dw.dayCount());
}

// ---------------------------------------------------------------------------------------------
// Painting: bars first, then the free lanes of the cells.

void TLumGrid_AllDay::paintBeforeCells(QPainter &p, const QRegion &region)
{
    p.setFont(font());
    for (const TSpanItem_Rec &item : m_dw.m_model.dayCollection().stripItems()) {
        const QRect box(item.Left, item.Top, item.Right - item.Left, item.Bottom - item.Top);
        if (region.intersects(box)) paintBar(p, item);
    }
}

void TLumGrid_AllDay::paintBar(QPainter &p, const TSpanItem_Rec &item)
{
    const QRect frame(item.Left, item.Top, item.Right - item.Left, item.Bottom - item.Top);
    p.setPen(lineColor());
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    const QRect in = frame.adjusted(1, 1, -1, -1);
    if (in.width() < 1 || in.height() < 1) return;
    const QColor white(Qt::white);
    const int w = colCount() > 1 ? colWidth(1) : in.width();

    // Time bar: the top 4 px, white where the exact times leave the first and last day.
    const QRect bar(in.left(), in.top(), in.width(), std::min(4, in.height()));
    if (item.StartFrac < 0) {
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
        p.fillRect(bar, item.IsOccurrence ? occurrenceColor() : lineColor());
        if (item.StartFrac > 0) {
            const int k = int(std::trunc(w * item.StartFrac));
            p.fillRect(QRect(bar.left(), bar.top(), std::min(k, bar.width()), bar.height()), white);
        }
        if (item.EndFrac > 0) {
            int k = int(std::ceil(w * item.EndFrac));
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
    if (item.CutStart && ta.width() > 5) {
        p.fillRect(QRect(ta.left(), ta.top(), 5, ta.height()), lineColor());
        p.setBrush(white);
        p.drawPolygon(
            QPolygon({QPoint(ta.left(), ta.top() + 8), QPoint(ta.left() + 3, ta.top() + 5),
                      QPoint(ta.left() + 3, ta.top() + 11)}));
        ta.setLeft(ta.left() + 5);
    }
    if (item.CutEnd && ta.width() > 5) {
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

    const bool selected = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), item.ID) !=
                          m_selectedEvents.end();
    const QColor fill = selected ? selectedColor() : m_dw.m_model.layerColor(item.Layer);
    p.fillRect(ta, fill);
    if (item.AlarmSet && m_dw.m_reg.ShowAlarmDW()) {
        drawAlarmMark(p, ta.left(), ta.top(), ta.height(), fill, selected);
        ta.setLeft(ta.left() + 10);
    }

    QString text;
    const bool wholeDays = DateTimeValue::msOfDay(item.StartTime) == 0 &&
                           DateTimeValue::msOfDay(item.EndTime) == 0 &&
                           ms(item.StartTime) != ms(item.EndTime);
    if (!wholeDays) {
        const QString start = TimeText(m_dw.m_format, item.StartTime);
        const QString end = TimeText(m_dw.m_format, item.EndTime);
        const bool showStart = m_dw.m_reg.ShowStartDW();
        const bool showEnd = m_dw.m_reg.ShowEndDW();
        if (showStart && showEnd)
            text = start + QStringLiteral(" - ") + end + QLatin1Char(' ');
        else if (showStart)
            text = start + QLatin1Char(' ');
        else if (showEnd)
            text = end + QLatin1Char(' ');
    }
    int lead = 0;
    while (lead < item.Subject.size() && item.Subject.at(lead) == QLatin1Char(' '))
        ++lead;
    text += item.Subject.mid(lead);
    p.save();
    p.setClipRect(ta, Qt::IntersectClip);
    p.setPen(selected ? white : QColor(Qt::black));
    p.drawText(QRect(ta.left() + 2, ta.top() + 1, std::max(0, ta.width() - 2), ta.height()),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

void TLumGrid_AllDay::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    if (row != 0) return;
    const QColor line = lineColor();
    if (col == 0) {
        p.fillRect(rect, panelColor());
        p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
    } else if (col <= m_dw.dayCount()) {
        const TLumGrid_DW::StepRange sel = m_dw.DaySelection(col);
        const bool wholeDay = sel.first == 1 && sel.last == m_dw.StepsPerDay();
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

void TLumGrid_AllDay::gridMouseDown(const GridMouseEvent &e)
{
    if (!GridsPress::isHandled(e.shift)) return;
    const bool plainLeft = GridsPress::isPlainLeft(e.shift);
    const bool leftDouble = GridsPress::isLeftDouble(e.shift);
    const bool right = e.shift.testFlag(GridShift::Right);
    const bool shift = e.shift.testFlag(GridShift::Shift);
    const bool ctrl = e.shift.testFlag(GridShift::Ctrl);
    m_pressed = true;
    m_pressButton = e.button;

    m_dw.ClearTimeSelection();
    if (plainLeft) {
        m_dw.ClearSelectedEvents();
        ClearSelectedEvents();
    }
    m_dw.SetTimeGridActive(false);
    const int day = dayAt(e.pos.x());
    m_dragMode = DragSelect;
    const TSpanItem_Rec *hit = nullptr;
    for (const TSpanItem_Rec &item : m_dw.m_model.dayCollection().stripItems())
        if (e.pos.x() >= item.Left + 1 && e.pos.x() < item.Right && e.pos.y() >= item.Top &&
            e.pos.y() < item.Bottom) {
            hit = &item;
            break;
        }
    int hitId = 0;
    if (hit) {
        const TSpanItem_Rec item = *hit;
        hitId = item.ID;
        const std::optional<GridEventRow> row = m_dw.m_model.eventRow(item.ID);
        m_clickedEventId = item.ID;
        if (row) m_dragRow = *row;
        auto it = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), item.ID);
        if (it != m_selectedEvents.end()) {
            if (ctrl) {
                *it = m_selectedEvents.back();
                m_selectedEvents.pop_back();
            }
        } else {
            if (right && !shift && !ctrl) {
                m_dw.ClearSelectedEvents();
                ClearSelectedEvents();
            }
            if (int(m_selectedEvents.size()) < TLumGrid_DW::MaxSelectedEvents)
                m_selectedEvents.push_back(item.ID);
        }
        if (item.IsOccurrence) {
            m_occurrenceEventId = item.ID;
            m_occurrenceDate = DateTimeValue::dayOf(item.StartTime);
        } else {
            m_occurrenceEventId = -1;
        }
        if (!plainLeft || item.IsOccurrence || !row)
            m_dragMode = DragClicked;
        else if (e.pos.x() < item.Left + 5 && !item.CutStart)
            m_dragMode = DragStart;
        else if (e.pos.x() >= item.Right - 4 && !item.CutEnd)
            m_dragMode = DragEnd;
        else
            m_dragMode = DragMove;
    } else if (!plainLeft && !leftDouble) {
        m_dw.ClearSelectedEvents();
        ClearSelectedEvents();
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
            if (!hit) m_dw.SetDaySelection(d, {1, m_dw.StepsPerDay()});
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
            m_dw.m_time.setSelStart(m_dw.m_time.FirstDate() + d - 1);
            m_dw.m_time.setSelEnd(m_dw.m_time.FirstDate() + d);
            if (m_dw.onNewEvent) m_dw.onNewEvent();
        }
    }
}

void TLumGrid_AllDay::gridMouseMove(const GridMouseEvent &e)
{
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        for (const TSpanItem_Rec &item : m_dw.m_model.dayCollection().stripItems()) {
            if (e.pos.x() < item.Left + 1 || e.pos.x() >= item.Right || e.pos.y() < item.Top ||
                e.pos.y() >= item.Bottom)
                continue;
            if (!item.IsOccurrence && ((e.pos.x() < item.Left + 6 && !item.CutStart) ||
                                       (e.pos.x() >= item.Right - 4 && !item.CutEnd)))
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
    UpdateDrag();
}

void TLumGrid_AllDay::gridMouseUp(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    const quint8 mode = m_dragMode;
    TDView &view = m_dw.m_view;
    const std::optional<GridEventRow> row =
        mode >= DragMove ? m_dw.m_model.eventRow(m_clickedEventId) : std::nullopt;
    if ((mode == DragStart || mode == DragEnd) && row &&
        ms(row->EndTime) - ms(row->StartTime) < MsPerDay) {
        m_dw.CollectAll();
        emit m_dw.layoutRequested();
    }
    if (view.MinRowHeight != height()) {
        emit m_dw.layoutRequested();
        update();
    }
    if (mode == DragSelect) {
        int first = 0;
        for (int d = 1; d <= 7 && !first; ++d)
            if (m_dw.DaySelection(d).isSet()) first = d;
        if (first) {
            int last = first;
            while (last < 7 && m_dw.DaySelection(last + 1).isSet())
                ++last;
            m_dw.m_time.setSelStart(m_dw.m_time.FirstDate() + first - 1);
            m_dw.m_time.setSelEnd(m_dw.m_time.FirstDate() + last);
        }
        if (e.button == Qt::RightButton) emit m_dw.selectPopupRequested(mapToGlobal(e.pos));
    }
    if (row && (mode == DragMove || mode == DragStart || (mode == DragEnd && row->Recurrent)))
        m_dw.m_model.rescheduleAlarm(m_clickedEventId);
    m_dragMode = DragSelect;
    setPointer(GridPointer::Arrow);
    emit m_dw.commandStatesChanged();
}

void TLumGrid_AllDay::UpdateDrag()
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

void TLumGrid_AllDay::rangeStep()
{
    const int n = m_dw.dayCount();
    const int a = std::clamp(m_anchorDay, 1, n);
    const int b = std::clamp(m_curDay, 1, n);
    for (int d = 1; d <= 7; ++d) {
        const bool in = d <= n && d >= std::min(a, b) && d <= std::max(a, b);
        m_dw.SetDaySelection(d, in ? TLumGrid_DW::StepRange{1, m_dw.StepsPerDay()}
                                   : TLumGrid_DW::StepRange{});
    }
    m_prevDay = m_curDay;
}

void TLumGrid_AllDay::moveStep()
{
    EventGridModel &model = m_dw.m_model;
    if (!model.isBrowsing() || m_curDay == m_prevDay) return;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || row->Recurrent) return;
    const qint64 delta = qint64(m_curDay - m_prevDay) * MsPerDay;
    GridEventRow next = *row;
    next.StartTime = DateTimeValue::fromMs(ms(row->StartTime) + delta);
    next.EndTime = DateTimeValue::fromMs(ms(row->EndTime) + delta);
    if (model.postEventTimes(m_clickedEventId, next)) RefreshAfterPost();
}

void TLumGrid_AllDay::changeStartStep()
{
    EventGridModel &model = m_dw.m_model;
    if (!model.isBrowsing() || m_curDay == m_prevDay) return;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || row->Recurrent) return;
    const qint64 t = ms(m_dw.m_time.FirstDate()) + qint64(m_curDay - 1) * MsPerDay;
    GridEventRow next = *row;
    next.StartTime = t < ms(row->EndTime) ? DateTimeValue::fromMs(t) : row->EndTime;
    if (model.postEventTimes(m_clickedEventId, next)) RefreshAfterPost();
}

void TLumGrid_AllDay::changeEndStep()
{
    EventGridModel &model = m_dw.m_model;
    if (!model.isBrowsing() || m_curDay == m_prevDay) return;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || row->Recurrent) return;
    const qint64 first = ms(m_dw.m_time.FirstDate());
    if (m_curDay == 0 && ms(row->StartTime) < first) m_curDay = 1;
    const qint64 t = first + qint64(m_curDay) * MsPerDay;
    GridEventRow next = *row;
    next.EndTime = t > ms(row->StartTime) ? DateTimeValue::fromMs(t) : row->StartTime;
    if (model.postEventTimes(m_clickedEventId, next)) RefreshAfterPost();
}

void TLumGrid_AllDay::RefreshAfterPost()
{
    const int forced = (m_dragMode == DragStart || m_dragMode == DragEnd) ? m_clickedEventId : 0;
    m_dw.collect(DaySpanCollection::AllDayPart, 1, m_dw.dayCount(), forced, 0);
    Place();
    if (height() < m_dw.m_view.MinRowHeight) emit m_dw.layoutRequested();
    update();
    if (std::optional<GridEventRow> row = m_dw.m_model.eventRow(m_clickedEventId)) m_dragRow = *row;
    m_prevDay = m_curDay;
}
