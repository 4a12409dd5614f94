#include "views/YearGrid.h"

#include "core/Clock.h"
#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/UiFont.h"
#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "views/BoxLines.h"
#include "views/BoxPaint.h"
#include "views/CellRuns.h"
#include "views/GridPaint.h"
#include "views/TextWrap.h"

#include <QDate>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

using namespace GridPaint;

namespace
{
// Pixels at the right of a month column that boxes leave free.
constexpr int FreeRight = 12;
// Line pitch of box text at most.
constexpr int MaxPitch = 14;
} // namespace

YearGrid::YearGrid(QWidget *panel, YearGridModel &model, ViewDates &viewDates,
                   const ViewState &view, const Settings &settings, const DateTimeFormat &format,
                   const UiFont &uiFont, const Clock &clock)
    : EventGrid(panel), m_model(model), m_viewDates(viewDates), m_view(view), m_settings(settings),
      m_format(format), m_uiFont(uiFont), m_clock(clock)
{
    setColor(backColor());
    setGridLineWidth(0);
    setColCount(SpanLimits::MaxMonths + 1);
    setRowCount(DayRows);
    setColWidth(0, DayColumnWidth);
    if (panel) setGeometry(1, 0, std::max(0, panel->width() - 1), panel->height());
    m_selectedEvents.reserve(MaxSelectedEvents);
}

// ---------------------------------------------------------------------------------------------
// Layout, collection and cell dates.

void YearGrid::setMonthColumns(const std::vector<int> &widths)
{
    const int n = std::clamp(int(widths.size()), 1, SpanLimits::MaxMonths);
    setColCount(n + 1);
    setColWidth(0, DayColumnWidth);
    for (int i = 0; i < n; ++i)
        setColWidth(i + 1, i < int(widths.size()) ? widths[size_t(i)] : 0);
    place();
}

void YearGrid::setDayRows(const std::vector<int> &heights)
{
    setRowCount(DayRows);
    for (int r = 0; r < DayRows; ++r)
        setRowHeight(r, r < int(heights.size()) ? heights[size_t(r)] : 0);
    place();
}

int YearGrid::monthCount() const
{
    return std::clamp(int(m_view.columnCount), 1, SpanLimits::MaxMonths);
}

void YearGrid::collect()
{
    recollectMonths(1, monthCount());
    update();
}

void YearGrid::place()
{
    YearGridGeometry g;
    for (int j = 1; j <= SpanLimits::MaxMonths && j < colCount(); ++j)
        g.monthColumns[size_t(j - 1)] = {grid().colLeft(j), colWidth(j)};
    for (int r = 0; r < DayRows && r < rowCount(); ++r)
        g.dayRows[size_t(r)] = {grid().rowTop(r), rowHeight(r)};
    m_model.yearCollection().place(g, 1, monthCount());
    update();
}

void YearGrid::recollectMonths(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, monthCount());
    if (first > last) return;
    const QDate start = DateTimeValue::toQDate(m_viewDates.spanStart());
    const QDate firstOfMonth(start.year(), start.month(), 1);
    m_model.collectYearView(DateTimeValue::fromQDate(firstOfMonth),
                            DateTimeValue::fromQDate(firstOfMonth.addMonths(monthCount())), first,
                            last);
    place();
    for (int m = first; m <= last; ++m)
        invalidateColumn(m);
}

int YearGrid::monthLength(int month) const
{
    if (month < 1 || month > monthCount()) return 0;
    return m_model.yearCollection().monthLength(month);
}

std::optional<SerialDateTime> YearGrid::dateOf(int month, int row) const
{
    if (row < 0 || row >= monthLength(month)) return std::nullopt;
    const YearSpanCollection &c = m_model.yearCollection();
    return c.firstDay() + c.monthOffset(month) + row;
}

int YearGrid::monthIndexOf(SerialDateTime t) const
{
    const YearSpanCollection &c = m_model.yearCollection();
    const int day = DateTimeValue::dayOf(t) - DateTimeValue::dayOf(c.firstDay());
    if (day < 0) return 0;
    const int n = monthCount();
    for (int j = 1; j <= n; ++j)
        if (day < c.monthOffset(j + 1)) return j;
    return n + 1;
}

int YearGrid::monthAt(int x) const
{
    if (x < 0) return -1;
    const int col = grid().colAt(x);
    if (col < 0) return x >= grid().totalWidth() ? monthCount() : -1;
    return std::clamp(col, 1, monthCount());
}

const SpanItem *YearGrid::itemAt(QPoint pos, int *monthOut) const
{
    const int month = monthAt(pos.x());
    if (monthOut) *monthOut = month;
    if (month < 1) return nullptr;
    for (const SpanItem &item : m_model.yearCollection().items(month))
        if (pos.x() >= item.left && pos.x() < item.right && pos.y() >= item.top + 1 &&
            pos.y() < item.bottom)
            return &item;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Selection.

YearGrid::RowRange YearGrid::columnSelection(int month) const
{
    if (month < 1 || month > SpanLimits::MaxMonths) return {};
    return m_columnSelection[size_t(month - 1)];
}

void YearGrid::setColumnSelection(int month, RowRange r)
{
    if (month < 1 || month > SpanLimits::MaxMonths) return;
    if (!(r.first >= 0 && r.last >= r.first)) r = {};
    if (m_columnSelection[size_t(month - 1)] == r) return;
    m_columnSelection[size_t(month - 1)] = r;
    invalidateColumn(month);
}

void YearGrid::clearColumnSelection()
{
    for (int m = 1; m <= SpanLimits::MaxMonths; ++m)
        setColumnSelection(m, {});
}

void YearGrid::clearSelectedEvents()
{
    if (!m_selectedEvents.empty()) update();
    m_selectedEvents.clear();
}

void YearGrid::clearSelections()
{
    clearColumnSelection();
    clearSelectedEvents();
}

bool YearGrid::isSelected(int id) const
{
    return std::find(m_selectedEvents.begin(), m_selectedEvents.end(), id) !=
           m_selectedEvents.end();
}

void YearGrid::storeSelection()
{
    int first = 0;
    for (int m = 1; m <= monthCount() && !first; ++m)
        if (columnSelection(m).isSet()) first = m;
    if (!first) return;
    int last = first;
    while (last < monthCount() && columnSelection(last + 1).isSet())
        ++last;
    const std::optional<SerialDateTime> start = dateOf(first, columnSelection(first).first);
    const std::optional<SerialDateTime> end = dateOf(last, columnSelection(last).last);
    if (!start || !end) return;
    m_viewDates.setSelectionStart(*start);
    m_viewDates.setSelectionEnd(*end + 1);
}

void YearGrid::invalidateColumn(int month)
{
    if (month < 1 || month >= colCount()) return;
    const int bottom = grid().rowTop(rowCount() - 1) + rowHeight(rowCount() - 1);
    invalidateRect(QRect(grid().colLeft(month), 0, colWidth(month), bottom));
}

// ---------------------------------------------------------------------------------------------
// The mouse.

void YearGrid::gridMouseDown(const GridMouseEvent &e)
{
    m_drag.press(e);
}

void YearGrid::gridMouseMove(const GridMouseEvent &e)
{
    m_drag.move(e);
}

void YearGrid::gridMouseUp(const GridMouseEvent &e)
{
    m_drag.release(e);
}

void YearGrid::wheelEvent(QWheelEvent *e)
{
    e->ignore();
}

bool YearGrid::event(QEvent *e)
{
    if (e->type() != QEvent::ToolTip) return DrawGrid::event(e);
    const auto *help = static_cast<QHelpEvent *>(e);
    const SpanItem *item = itemAt(help->pos(), nullptr);
    if (!item || showsWholeText(*item)) {
        QToolTip::hideText();
        e->ignore();
        return true;
    }
    QString tip = dateText(m_format, item->startTime) + QLatin1Char(' ') +
                  timeText(m_format, item->startTime) + QStringLiteral(" - ") +
                  dateText(m_format, item->endTime) + QLatin1Char(' ') +
                  timeText(m_format, item->endTime) + QLatin1Char('\n') + item->subject;
    if (!item->description.isEmpty()) tip += QLatin1Char('\n') + item->description;
    QToolTip::showText(help->globalPos(), tip, this, itemRect(*item));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Painting: column separators and event boxes before the cells; the cells leave the columns
// that boxes occupy alone.

YearGrid::BoxText YearGrid::boxText(const SpanItem &item) const
{
    // As paintBox() leaves it: inside the frame, without the arrow bands that fit.
    QRect area = itemRect(item).adjusted(1, 1, -1, -1);
    if (item.cutStart && area.height() > ArrowBandWidth) area.setTop(area.top() + ArrowBandWidth);
    if (item.cutEnd && area.height() > ArrowBandWidth)
        area.setBottom(area.bottom() - ArrowBandWidth);
    return {area, BoxPaint::yearBoxText(item, m_format, m_settings.showStartYear(),
                                        m_settings.showEndYear())};
}

bool YearGrid::showsWholeText(const SpanItem &item) const
{
    const BoxText box = boxText(item);
    const QFontMetrics fm(font());
    const int width = box.area.width() - 3;
    const QStringList lines = TextWrap::wrap(box.text, width, item.alarmSet, fm, INT_MAX);
    if (lines.size() >= TextWrap::MaxLines) return false;
    const int pitch = std::min(MaxPitch, TextWrap::lineHeight(fm));
    if (int(lines.size()) * pitch > box.area.height() - 1) return false;
    for (int i = 0; i < lines.size(); ++i)
        if (fm.horizontalAdvance(lines[i]) > width - (i == 0 && item.alarmSet ? 10 : 0))
            return false;
    return true;
}

void YearGrid::paintBeforeCells(QPainter &p, const QRegion &region)
{
    p.setPen(lineColor());
    for (int col = 0; col < colCount(); ++col) {
        const int x = grid().colLeft(col) + colWidth(col) - 1;
        p.drawLine(x, 0, x, height());
    }
    p.setFont(font());
    const YearSpanCollection &c = m_model.yearCollection();
    for (int month = 1; month <= monthCount() && month < colCount(); ++month)
        for (const SpanItem &item : c.items(month))
            if (region.intersects(itemRect(item))) paintBox(p, item);
}

void YearGrid::paintBox(QPainter &p, const SpanItem &item)
{
    const bool selected = isSelected(item.id);
    BoxLines::Style style;
    style.fill = selected ? selectedColor() : m_model.layerColor(item.layer);
    style.selected = selected;
    style.alarmSet = item.alarmSet;
    style.alarmMark = m_settings.showAlarmYear();
    style.maxPitch = MaxPitch;
    BoxPaint::paintYearBox(p, item, style, boxText(item).text);
}

void YearGrid::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    if (col == 0)
        paintDayNumber(p, row, rect);
    else if (col <= monthCount())
        paintDayCell(p, col, row, rect);
}

void YearGrid::paintDayNumber(QPainter &p, int row, const QRect &rect)
{
    const QRect c = rect.adjusted(0, 0, -1, -1);
    if (c.width() < 1 || c.height() < 1) return;
    p.fillRect(c, backColor());
    p.fillRect(QRect(c.left(), c.bottom() + 1, c.width(), 1), lineColor());
    const QFont &f = m_uiFont.font;
    p.setFont(f);
    p.setPen(Qt::black);
    const int nudge = f.family() == QLatin1String("Tahoma") ? 1 : 0;
    p.drawText(c.translated(nudge, 0), Qt::AlignCenter, QString::number(row + 1));

    const SerialDateTime today = m_clock.today();
    const SerialDateTime first = m_model.yearCollection().firstDay();
    const int shownDays = m_model.yearCollection().monthOffset(monthCount() + 1);
    const int day = DateTimeValue::dayOf(today) - DateTimeValue::dayOf(first);
    if (day >= 0 && day < shownDays && DateTimeValue::toQDate(today).day() == row + 1) {
        p.setPen(Qt::white);
        p.setBrush(Qt::NoBrush);
        p.drawRect(c.adjusted(0, 0, -1, -1));
    }
}

void YearGrid::paintDayCell(QPainter &p, int month, int row, const QRect &rect)
{
    const QRect c = rect.adjusted(0, 0, -1, -1);
    if (c.width() < 1 || c.height() < 1) return;
    const std::optional<SerialDateTime> date = dateOf(month, row);
    if (!date) {
        p.fillRect(c.adjusted(0, 0, 0, 1), panelColor());
        return;
    }
    const RowRange sel = columnSelection(month);
    const bool selected = sel.isSet() && row >= sel.first && row <= sel.last;
    const int shade = 192 - (row % 5) * 14;
    const QColor color = selected ? selectedColor() : QColor(shade, shade, shade);

    // Each free run carries the line along its bottom; occupied columns are the boxes'.
    const auto fillRun = [&](int x0, int x1) {
        if (x1 < x0) return;
        p.fillRect(QRect(x0, c.top(), x1 - x0 + 1, c.height()), color);
        p.fillRect(QRect(x0, c.bottom() + 1, x1 - x0 + 1, 1), lineColor());
    };
    const YearSpanCollection &coll = m_model.yearCollection();
    const int n = std::min(coll.columnCount(month, row + 1), int(SpanLimits::MaxColumns));
    CellRuns::forEachFree(
        rect, c, n, FreeRight,
        [&](int column) { return coll.occupant(month, row + 1, column) != 0; }, fillRun);

    // The first day of each week carries the week-start letter in the free right-most part.
    const int startOfWeek = ((m_settings.startOfWeek() % 7) + 7) % 7;
    if (DateTimeValue::dayOfWeek(*date) - 1 != startOfWeek) return;
    const QStringView letter = ViewDates::DayLetters[size_t(startOfWeek)];
    int inset = letter == QLatin1String("M") || letter == QLatin1String("W") ? 9 : 8;
    if (m_uiFont.font.family() == QLatin1String("Microsoft Sans Serif")) ++inset;
    p.setFont(m_uiFont.font);
    p.setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
    p.drawText(QRect(rect.left() + rect.width() - inset, c.top(), inset, c.height()),
               Qt::AlignLeft | Qt::AlignVCenter, letter.toString());
}
