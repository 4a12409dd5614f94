#include "views/YearGridDrag.h"

#include "core/ViewDates.h"
#include "store/SpanItem.h"
#include "views/GridPress.h"
#include "views/YearGrid.h"

#include <QApplication>
#include <algorithm>

namespace
{
using DateTimeValue::MsPerDay;
qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
SerialDateTime value(qint64 m)
{
    return DateTimeValue::fromMs(m);
}
} // namespace

YearGridDrag::YearGridDrag(YearGrid &grid) : m_grid(grid) {}

GridDragMode YearGridDrag::pressMode(const SpanItem &item, int y)
{
    if (item.isOccurrence) return DragClicked;
    if (ms(item.endTime) - ms(item.startTime) < MsPerDay) return DragMove;
    if (y < item.top + 5 && !item.cutStart) return DragStart;
    if (y >= item.bottom - 4 && !item.cutEnd) return DragEnd;
    return DragMove;
}

void YearGridDrag::selectEvent(int id, bool ctrl, bool plainRight)
{
    std::vector<int> &selected = m_grid.m_selectedEvents;
    const auto it = std::find(selected.begin(), selected.end(), id);
    if (it == selected.end()) {
        if (plainRight) m_grid.clearSelectedEvents();
        if (int(selected.size()) < YearGrid::MaxSelectedEvents) selected.push_back(id);
    } else if (ctrl) {
        selected.erase(it);
    }
}

void YearGridDrag::press(const GridMouseEvent &e)
{
    if (!GridPress::isHandled(e.shift)) return;
    const GridPress::Press press = GridPress::pressOf(e.shift);
    YearGrid &grid = m_grid;
    m_pressed = true;
    m_dragging = false;
    m_pressPos = e.pos;
    m_outside = false;

    grid.clearColumnSelection();
    if (press.plainLeft || press.leftDouble) grid.clearSelectedEvents();
    int month = 1;
    const SpanItem *hit = grid.itemAt(e.pos, &month);
    const Cell cell{std::clamp(month, 1, grid.monthCount()), grid.grid().rowAt(e.pos.y())};
    const std::optional<SerialDateTime> day = grid.dateOf(cell.month, cell.row);
    m_mode = DragSelect;

    int hitId = 0;
    if (hit) {
        const SpanItem item = *hit; // the collection may be rebuilt below
        hitId = item.id;
        const bool readable = grid.m_model.eventRow(item.id).has_value();
        selectEvent(item.id, press.ctrl, press.plainRight());
        m_clickedEventId = item.id;
        m_occurrenceEventId = item.isOccurrence ? item.id : -1;
        m_occurrenceDate = DateTimeValue::dayOf(item.startTime);
        m_mode = press.plainLeft && readable ? pressMode(item, e.pos.y()) : DragClicked;
    } else {
        if (!press.plainLeft && !press.leftDouble) grid.clearSelectedEvents();
        if (!day) m_mode = DragClicked; // a day the month lacks: nothing to select
    }
    emit grid.commandStatesChanged();

    if (day && (!hit || press.plainLeft)) {
        if (press.shift) {
            m_previous = m_anchor;
            m_current = cell;
            selectStep();
        } else {
            m_anchor = m_previous = m_current = cell;
            if (!hit) grid.setColumnSelection(cell.month, {cell.row, cell.row});
        }
    }
    grid.update();

    if (press.right && hit) emit grid.eventPopupRequested(grid.mapToGlobal(e.pos), hitId);
    if (press.leftDouble) {
        if (hit) {
            emit grid.editRequested(hitId, pressedOccurrenceDay(hitId));
        } else if (day) {
            grid.m_viewDates.setSelectionStart(*day);
            grid.m_viewDates.setSelectionEnd(*day + 1);
            emit grid.newEventRequested();
        }
    }
}

void YearGridDrag::move(const GridMouseEvent &e)
{
    YearGrid &grid = m_grid;
    const bool buttonDown = e.shift & (GridShift::Left | GridShift::Right | GridShift::Middle);
    if (!m_pressed || m_mode == DragClicked) {
        if (buttonDown) return;
        GridPointer shape = GridPointer::Arrow;
        if (const SpanItem *item = grid.itemAt(e.pos, nullptr)) {
            const GridDragMode edge = pressMode(*item, e.pos.y());
            if (edge == DragStart || edge == DragEnd) shape = GridPointer::SizeVertical;
        }
        grid.setPointer(shape);
        return;
    }
    if (!m_dragging) {
        if ((e.pos - m_pressPos).manhattanLength() < QApplication::startDragDistance()) return;
        m_dragging = true;
    }
    const int bottom = std::min(grid.height(), grid.grid().totalHeight());
    if (e.pos.x() >= 0 && e.pos.x() < grid.width() && e.pos.y() >= 0 && e.pos.y() < bottom) {
        m_outside = false;
        m_current = {std::clamp(grid.monthAt(e.pos.x()), 1, grid.monthCount()),
                     std::max(0, grid.grid().rowAt(e.pos.y()))};
        step();
        grid.setPointer(m_mode == DragSelect ? GridPointer::Arrow
                        : m_mode == DragMove ? GridPointer::Drag
                                             : GridPointer::SizeVertical);
        return;
    }
    if (m_outside) return;
    m_current = outsideCell(e.pos);
    step();
    m_outside = true;
}

YearGridDrag::Cell YearGridDrag::outsideCell(QPoint pos) const
{
    if (pos.y() < 0) return {m_previous.month, 0};
    if (pos.x() >= 0 && pos.x() < m_grid.width())
        return {m_previous.month, std::max(0, m_grid.monthLength(m_previous.month) - 1)};
    if (pos.x() >= m_grid.width()) return {m_grid.monthCount(), m_previous.row};
    return {1, m_previous.row};
}

void YearGridDrag::release(const GridMouseEvent &e)
{
    if (!m_pressed) return;
    m_pressed = false;
    YearGrid &grid = m_grid;
    const GridDragMode mode = m_mode;
    if (mode == DragSelect) {
        grid.storeSelection();
        if (e.button == Qt::RightButton) emit grid.selectPopupRequested(grid.mapToGlobal(e.pos));
    }
    m_mode = DragSelect;
    grid.setPointer(GridPointer::Arrow);
    emit grid.commandStatesChanged();
}

void YearGridDrag::step()
{
    if (m_mode == DragSelect)
        selectStep();
    else if (m_mode != DragClicked)
        eventStep();
}

int YearGridDrag::dayIndex(Cell c) const
{
    return m_grid.m_model.yearCollection().monthOffset(c.month) + c.row;
}

void YearGridDrag::selectStep()
{
    const int n = m_grid.monthCount();
    // Both ends on real days: a blank row stands for the month's last day.
    const auto onDay = [this, n](Cell c) {
        c.month = std::clamp(c.month, 1, n);
        c.row = std::clamp(c.row, 0, std::max(0, m_grid.monthLength(c.month) - 1));
        return c;
    };
    const Cell a = onDay(m_anchor);
    const Cell b = onDay(m_current);
    const bool forward = std::pair(b.month, b.row) >= std::pair(a.month, a.row);
    const Cell &from = forward ? a : b;
    const Cell &to = forward ? b : a;
    for (int m = 1; m <= SpanLimits::MaxMonths; ++m) {
        YearGrid::RowRange r;
        if (m <= n && m >= from.month && m <= to.month)
            r = {m == from.month ? from.row : 0,
                 m == to.month ? to.row : m_grid.monthLength(m) - 1};
        m_grid.setColumnSelection(m, r);
    }
    m_previous = m_current;
}

std::optional<GridEventRow> YearGridDrag::rowForStep()
{
    YearGridModel &model = m_grid.m_model;
    if (!model.isBrowsing() || m_current == m_previous) return std::nullopt;
    if (!m_grid.dateOf(m_current.month, m_current.row)) return std::nullopt;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || row->recurrent) return std::nullopt;
    return row;
}

void YearGridDrag::eventStep()
{
    const std::optional<GridEventRow> row = rowForStep();
    if (!row) return;
    const qint64 day = ms(*m_grid.dateOf(m_current.month, m_current.row));
    GridEventRow next = *row;
    switch (m_mode) {
    case DragMove: {
        const qint64 delta = qint64(dayIndex(m_current) - dayIndex(m_previous)) * MsPerDay;
        next.startTime = value(ms(row->startTime) + delta);
        next.endTime = value(ms(row->endTime) + delta);
        break;
    }
    case DragStart: // onto the cell's midnight; the event keeps one day at least
        next.startTime = value(std::min(day, ms(row->endTime) - MsPerDay));
        break;
    case DragEnd: // onto the midnight after the cell; one day at least
        next.endTime = value(std::max(day + MsPerDay, ms(row->startTime) + MsPerDay));
        break;
    default:
        return;
    }
    post(*row, next);
}

void YearGridDrag::post(const GridEventRow &old, const GridEventRow &next)
{
    if (!m_grid.m_model.postEventTimes(m_clickedEventId, next)) return;
    const int first =
        std::min(m_grid.monthIndexOf(old.startTime), m_grid.monthIndexOf(next.startTime));
    const int last = std::max(m_grid.monthIndexOf(old.endTime), m_grid.monthIndexOf(next.endTime));
    m_grid.recollectMonths(first, last);
    m_previous = m_current;
}
