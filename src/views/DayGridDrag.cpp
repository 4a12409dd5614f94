#include "views/DayGridDrag.h"

#include "core/ViewDates.h"
#include "platform/DrawGrid.h"
#include "store/SpanItem.h"
#include "views/EventGrid.h"

#include <QApplication>

#include <algorithm>

DayGridDrag::DayGridDrag(EventGrid &owner, DrawGrid &widget, std::vector<int> &selectedEvents)
    : m_owner(owner), m_widget(widget), m_selectedEvents(selectedEvents)
{
}

void DayGridDrag::step()
{
    switch (m_mode) {
    case DragSelect:
        selectStep();
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

std::optional<GridEventRow>
DayGridDrag::pressItem(const SpanItem *hit, const GridPress::Press &press,
                       const std::function<GridDragMode(const SpanItem &)> &grab)
{
    m_mode = DragSelect;
    std::optional<GridEventRow> row;
    if (hit) {
        const SpanItem item = *hit; // the collection may be rebuilt below
        row = pressOnEvent(item, press.ctrl, press.plainRight());
        m_mode = press.plainLeft && row ? grab(item) : DragClicked;
    } else if (!press.plainLeft && !press.leftDouble) {
        m_owner.clearSelectedEvents();
    }
    emit m_owner.commandStatesChanged();
    return row;
}

std::optional<GridEventRow> DayGridDrag::pressOnEvent(const SpanItem &item, bool ctrl,
                                                      bool plainRight)
{
    const std::optional<GridEventRow> row = m_owner.dragModel().eventRow(item.id);
    m_clickedEventId = item.id;
    auto it = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), item.id);
    if (it != m_selectedEvents.end()) {
        if (ctrl) {
            *it = m_selectedEvents.back();
            m_selectedEvents.pop_back();
        }
    } else {
        if (plainRight) m_owner.clearSelectedEvents();
        if (int(m_selectedEvents.size()) < MaxSelectedEvents) m_selectedEvents.push_back(item.id);
    }
    if (item.isOccurrence) {
        m_occurrenceEventId = item.id;
        m_occurrenceDate = DateTimeValue::dayOf(item.startTime);
    } else {
        m_occurrenceEventId = -1;
    }
    return row;
}

std::optional<GridEventRow> DayGridDrag::rowForStep(bool oneTimeOnly)
{
    GridEventModel &model = m_owner.dragModel();
    if (!model.isBrowsing() || !cellChanged()) return std::nullopt;
    const std::optional<GridEventRow> row = model.eventRow(m_clickedEventId);
    if (!row || (oneTimeOnly && row->recurrent)) return std::nullopt;
    return row;
}

void DayGridDrag::requestEdit(int id)
{
    emit m_owner.editRequested(id, m_occurrenceEventId == id ? m_occurrenceDate : -1);
}

GridDragMode DayGridDrag::pressMode(const SpanItem &item, int along, int low, int high,
                                    bool occurrenceEdges)
{
    if (item.isOccurrence && !occurrenceEdges) return DragClicked;
    if (along < low + 5 && !item.cutStart) return DragStart;
    if (along >= high - 4 && !item.cutEnd) return DragEnd;
    return item.isOccurrence ? DragClicked : DragMove;
}

std::optional<GridEventRow> DayGridDrag::draggedRow()
{
    if (m_mode < DragMove) return std::nullopt;
    return m_owner.dragModel().eventRow(m_clickedEventId);
}

GridEventRow DayGridDrag::shiftedByDays(const GridEventRow &row, int days)
{
    const qint64 delta = qint64(days) * DateTimeValue::MsPerDay;
    GridEventRow next = row;
    next.startTime = DateTimeValue::fromMs(DateTimeValue::toMs(row.startTime) + delta);
    next.endTime = DateTimeValue::fromMs(DateTimeValue::toMs(row.endTime) + delta);
    return next;
}

void DayGridDrag::announcePress(const GridPress::Press &press, QPoint globalPos, int hitId,
                                ViewDates &dates, SerialDateTime selectionStart,
                                SerialDateTime selectionEnd)
{
    if (press.right && hitId != 0) emit m_owner.eventPopupRequested(globalPos, hitId);
    if (!press.leftDouble) return;
    if (hitId != 0) {
        requestEdit(hitId);
    } else {
        dates.setSelectionStart(selectionStart);
        dates.setSelectionEnd(selectionEnd);
        emit m_owner.newEventRequested();
    }
}

void DayGridDrag::notePress(QPoint pos)
{
    m_pressPos = pos;
    m_dragStarted = false;
}

bool DayGridDrag::dragStarted(QPoint pos)
{
    if (!m_dragStarted)
        m_dragStarted = (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance();
    return m_dragStarted;
}

void DayGridDrag::finishRelease()
{
    m_mode = DragSelect;
    m_widget.setPointer(GridPointer::Arrow);
    emit m_owner.commandStatesChanged();
}
