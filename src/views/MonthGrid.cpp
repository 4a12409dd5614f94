#include "views/MonthGrid.h"

#include "core/Clock.h"
#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "views/BoxPaint.h"
#include "views/GridPaint.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

using namespace GridPaint;

namespace
{
int monthIndex(const QDate &d)
{
    return d.year() * 12 + d.month() - 1;
}

} // namespace

MonthGrid::MonthGrid(QWidget *panel, MonthGridModel &model, ViewDates &viewDates,
                     const Settings &settings, const DateTimeFormat &format, const Clock &clock)
    : EventGrid(panel), m_model(model), m_viewDates(viewDates), m_settings(settings),
      m_format(format), m_clock(clock)
{
    setColor(backColor());
    setGridLineWidth(0);
    setColCount(7);
    setRowCount(6);
    m_selectedEvents.reserve(DayGridDrag::MaxSelectedEvents);
    if (panel) setGeometry(1, 0, std::max(0, panel->width() - 1), panel->height() + 1);
}

SerialDateTime MonthGrid::firstDay() const
{
    return DateTimeValue::dayOf(m_viewDates.spanStart());
}

void MonthGrid::setWeeks(int weeks, SerialDateTime selectedDay, bool wholeMonth)
{
    m_shownMonth = monthIndex(DateTimeValue::toQDate(selectedDay));
    m_wholeMonth = wholeMonth;
    setRowCount(std::clamp(weeks, 1, 6));
}

void MonthGrid::collectAll()
{
    recollectWeeks(0, weekCount() - 1);
}

void MonthGrid::recollectWeeks(int firstRow, int lastRow)
{
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, weekCount() - 1);
    if (lastRow < firstRow) return;
    m_model.collectMonthView(firstDay(), m_viewDates.spanEnd(), firstRow + 1, lastRow + 1);
    place(firstRow, lastRow);
    QRegion rows;
    for (int r = firstRow; r <= lastRow; ++r)
        rows += QRect(0, grid().rowTop(r), width(), rowHeight(r));
    repaint(rows);
}

void MonthGrid::setCellSizes(const std::vector<int> &colWidths, const std::vector<int> &rowHeights)
{
    for (int c = 0; c < 7; ++c)
        setColWidth(c, c < int(colWidths.size()) ? colWidths[std::size_t(c)] : 0);
    for (int r = 0; r < weekCount(); ++r)
        setRowHeight(r, r < int(rowHeights.size()) ? rowHeights[std::size_t(r)] : 0);
    place(0, weekCount() - 1);
}

void MonthGrid::place(int firstRow, int lastRow)
{
    MonthGridGeometry g;
    for (int c = 0; c < 7; ++c)
        g.dayColumns[std::size_t(c)] = {grid().colLeft(c), colWidth(c)};
    for (int r = 0; r < weekCount(); ++r)
        g.weekTops[std::size_t(r)] = grid().rowTop(r);
    m_model.monthCollection().place(g, firstRow + 1, lastRow + 1);
}

// ---------------------------------------------------------------------------------------------
// Day numbers and selection.

QString MonthGrid::dayLabel(int col, int row) const
{
    return dayLabelOf(firstDay() + row * 7 + col);
}

QString MonthGrid::dayLabelOf(SerialDateTime day)
{
    const QDate d = DateTimeValue::toQDate(day);
    QString text = QString::number(d.day());
    if (d.day() == 1) {
        text +=
            QLatin1Char(' ') + ViewDates::ShortMonthNames[std::size_t(d.month() - 1)].toString();
        if (d.month() == 1) text += QStringLiteral("  %1").arg(d.year(), 4, 10, QLatin1Char('0'));
    }
    return text;
}

bool MonthGrid::isInsideMonth(int col, int row) const
{
    const int away = monthIndex(DateTimeValue::toQDate(firstDay() + row * 7 + col)) - m_shownMonth;
    return m_wholeMonth ? away == 0 : away % 2 == 0;
}

MonthGrid::ColumnRange MonthGrid::rowSelection(int row) const
{
    return row >= 0 && row < 6 ? m_rowSelection[std::size_t(row)] : ColumnRange{};
}

void MonthGrid::setRowSelection(int row, ColumnRange r)
{
    if (row < 0 || row >= 6 || m_rowSelection[std::size_t(row)] == r) return;
    m_rowSelection[std::size_t(row)] = r;
    invalidateWeek(row);
}

void MonthGrid::clearRowSelection()
{
    for (int r = 0; r < 6; ++r)
        setRowSelection(r, {});
}

void MonthGrid::clearSelectedEvents()
{
    if (!m_selectedEvents.empty()) update();
    m_selectedEvents.clear();
}

void MonthGrid::clearSelections()
{
    clearRowSelection();
    clearSelectedEvents();
}

bool MonthGrid::isSelected(int id) const
{
    return std::find(m_selectedEvents.begin(), m_selectedEvents.end(), id) !=
           m_selectedEvents.end();
}

void MonthGrid::invalidateWeek(int row)
{
    if (row < 0 || row >= weekCount()) return;
    invalidateRect(QRect(0, grid().rowTop(row), width(), rowHeight(row)));
}

// ---------------------------------------------------------------------------------------------
// Bars.

QRect MonthGrid::barRect(int row, const SpanItem &item) const
{
    if (item.lane * LanePitch >= rowHeight(row)) return {};
    QRect box = itemRect(item);
    const int rowBottom = grid().rowTop(row) + rowHeight(row); // exclusive
    if (box.bottom() >= rowBottom) box.setBottom(rowBottom - 1);
    return box;
}

const SpanItem *MonthGrid::itemAt(QPoint pos) const
{
    const int row = grid().rowAt(pos.y());
    if (row < 0 || pos.x() < 0 || pos.x() >= grid().totalWidth()) return nullptr;
    for (const SpanItem &item : m_model.monthCollection().items(row + 1)) {
        const QRect box = barRect(row, item);
        if (!box.isEmpty() && pos.x() >= box.left() + 1 && pos.x() <= box.right() &&
            pos.y() >= box.top() && pos.y() <= box.bottom())
            return &item;
    }
    return nullptr;
}

QRect MonthGrid::textArea(const QRect &box, const SpanItem &item) const
{
    QRect in = box.adjusted(1, 1, -1, -1);
    if (item.cutStart && in.width() > ArrowBandWidth) in.setLeft(in.left() + ArrowBandWidth);
    if (item.cutEnd && in.width() > ArrowBandWidth) in.setRight(in.right() - ArrowBandWidth);
    return in;
}

void MonthGrid::paintBeforeCells(QPainter &p, const QRegion &region)
{
    p.setFont(font());
    for (int row = 0; row < weekCount(); ++row)
        for (const SpanItem &item : m_model.monthCollection().items(row + 1)) {
            const QRect box = barRect(row, item);
            if (!box.isEmpty() && region.intersects(box)) paintBar(p, box, item);
        }
}

void MonthGrid::paintBar(QPainter &p, const QRect &box, const SpanItem &item)
{
    const bool selected = isSelected(item.id);
    BoxPaint::paintMonthBar(
        p, box, item, selected ? selectedColor() : m_model.layerColor(item.layer), selected,
        item.alarmSet && m_settings.showAlarmMonth(),
        barText(item, m_format, m_settings.showStartMonth(), m_settings.showEndMonth()));
}

// ---------------------------------------------------------------------------------------------
// Cells: the header with the day number, then the free lanes; the bars were drawn before.

void MonthGrid::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    const bool inside = isInsideMonth(col, row);
    const ColumnRange sel = rowSelection(row);
    const bool selected = sel.isSet() && col >= sel.first && col <= sel.last;
    const QColor cell = selected ? (inside ? selectedColor() : occurrenceColor())
                                 : (inside ? backColor() : panelColor());
    const QColor line = lineColor();
    const int top = rect.top();
    const int bottom = rect.bottom(); // the cell's bottom line
    const MonthSpanCollection &c = m_model.monthCollection();

    // Free lanes get the cell colour; every lane a line along the cell's right edge, except
    // a taken lane that ends above the row's bottom (its bar covers that edge).
    int laneEnd = top + HeaderHeight - 1;
    for (int lane = 1; lane <= SpanLimits::MaxLanes; ++lane) {
        const int laneTop = top + (lane - 1) * LanePitch + LanePitch;
        if (laneTop >= bottom) break;
        laneEnd = std::min(laneTop + 15, bottom - 1);
        const bool free = c.laneOccupant(row + 1, col + 1, lane) == 0;
        if (free) {
            int from = lane == 1 ? top + HeaderHeight : laneTop;
            if (lane > 1 && c.laneOccupant(row + 1, col + 1, lane - 1) == 0) --from;
            p.fillRect(QRect(rect.left(), from, rect.width() - 1, laneEnd - from + 1), cell);
        }
        if (free || laneEnd == bottom - 1)
            p.fillRect(QRect(rect.right(), laneTop, 1, laneEnd - laneTop + 1), line);
    }
    if (laneEnd < bottom - 1) { // a row taller than all lanes
        p.fillRect(QRect(rect.left(), laneEnd + 1, rect.width() - 1, bottom - laneEnd - 1), cell);
        p.fillRect(QRect(rect.right(), laneEnd + 1, 1, bottom - laneEnd - 1), line);
    }
    p.fillRect(QRect(rect.left(), bottom, rect.width(), 1), line);

    // Header: the day number centred; today's in a white box.
    const QRect header(rect.left(), top, rect.width() - 1, HeaderHeight);
    p.fillRect(header, cell);
    p.fillRect(QRect(rect.right(), top, 1, HeaderHeight + 1), line);
    const QString text = dayLabel(col, row);
    p.setFont(font());
    p.setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
    const SerialDateTime day = firstDay() + row * 7 + col;
    if (day == m_clock.today()) {
        const int textWidth = p.fontMetrics().horizontalAdvance(text);
        const int boxWidth = textWidth >= 14 ? textWidth + 6 : 20;
        const QRect box(header.left() + (header.width() - boxWidth) / 2, top, boxWidth,
                        HeaderHeight);
        p.drawText(box.adjusted(1, 1, -1, -1), Qt::AlignCenter, text);
        p.setPen(Qt::white);
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
    } else {
        p.drawText(header, Qt::AlignCenter, text);
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse, wheel and tooltips.

void MonthGrid::gridMouseDown(const GridMouseEvent &e)
{
    m_drag.press(e);
}

void MonthGrid::gridMouseMove(const GridMouseEvent &e)
{
    m_drag.move(e);
}

void MonthGrid::gridMouseUp(const GridMouseEvent &e)
{
    m_drag.release(e);
}

void MonthGrid::wheelEvent(QWheelEvent *e)
{
    // Up is back in time, down forward, one step per notch.
    for (int n = m_wheel.add(e->angleDelta().y()); n != 0; n += n > 0 ? -1 : 1)
        emit wheelStepRequested(n > 0 ? -1 : 1);
    e->accept();
}

bool MonthGrid::event(QEvent *e)
{
    if (e->type() != QEvent::ToolTip) return EventGrid::event(e);
    auto *help = static_cast<QHelpEvent *>(e);
    const SpanItem *item = itemAt(help->pos());
    if (item) {
        const int row = grid().rowAt(help->pos().y());
        const QRect box = barRect(row, *item);
        QRect area = textArea(box, *item);
        if (item->alarmSet && m_settings.showAlarmMonth()) area.setLeft(area.left() + 10);
        const QString text =
            barText(*item, m_format, m_settings.showStartMonth(), m_settings.showEndMonth());
        const bool clipped = box.bottom() < itemRect(*item).bottom() - 1;
        if (clipped || fontMetrics().horizontalAdvance(text) > area.width() - 2) {
            QString tip = item->subject.trimmed() + QLatin1Char('\n') +
                          dateText(m_format, item->startTime) + QLatin1Char(' ') +
                          timeText(m_format, item->startTime) + QStringLiteral(" - ") +
                          dateText(m_format, item->endTime) + QLatin1Char(' ') +
                          timeText(m_format, item->endTime);
            if (!item->description.isEmpty()) tip += QLatin1Char('\n') + item->description;
            QToolTip::showText(help->globalPos(), tip, this, box);
            return true;
        }
    }
    QToolTip::hideText();
    e->ignore();
    return true;
}
