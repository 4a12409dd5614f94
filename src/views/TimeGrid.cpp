#include "views/TimeGrid.h"

#include "core/Clock.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "views/AllDayStrip.h"
#include "views/BoxLines.h"
#include "views/BoxPaint.h"
#include "views/CellRuns.h"
#include "views/GridPaint.h"
#include "views/TextWrap.h"

#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

using namespace GridPaint;

TimeGrid::TimeGrid(QWidget *panel, TimeGridModel &model, ViewDates &viewDates, ViewState &view,
                   const Settings &settings, const DateTimeFormat &format, const Clock &clock)
    : EventGrid(panel), m_model(model), m_viewDates(viewDates), m_view(view), m_settings(settings),
      m_format(format), m_clock(clock)
{
    setColor(backColor());
    setGridLineWidth(0);
    setColCount(2);
    setRowCount(101);
    setDefaultRowHeight(m_zoomRowHeight);
    setRowHeight(0, 15);
    setColWidth(0, TimeColumnWidth);
    if (panel) {
        setGeometry(1, 0, std::max(0, panel->width() - 18), panel->height());
        setColWidth(1, std::max(0, panel->width() - 78));
    }
    m_selectedEvents.reserve(MaxSelectedEvents);
    // The strip scrolls inside a view over row 0; both are owned by the panel.
    m_stripView = new QWidget(panel);
    if (panel) m_stripView->resize(panel->size());
    m_allDayStrip = new AllDayStrip(m_stripView, *this);
    m_stripView->setGeometry(1, 0, width(), 15);
    m_allDayStrip->setGeometry(0, 0, width(), 15);
    m_stripView->raise();
}

void TimeGrid::setTimeScale(int minutes)
{
    m_timeScale = minutes;
    switch (minutes) {
    case 5:
        m_stepsPerDay = 288;
        break;
    case 6:
        m_stepsPerDay = 240;
        break;
    case 10:
        m_stepsPerDay = 144;
        break;
    case 15:
        m_stepsPerDay = 96;
        break;
    case 30:
        m_stepsPerDay = 48;
        break;
    case 60:
        m_stepsPerDay = 24;
        break;
    default:
        break;
    }
}

void TimeGrid::setDayColumns(const std::vector<int> &widths)
{
    const int n = std::clamp(int(widths.size()), 1, 7);
    for (DrawGrid *g : {static_cast<DrawGrid *>(this), static_cast<DrawGrid *>(m_allDayStrip)}) {
        g->setColCount(n + 1);
        g->setColWidth(0, TimeColumnWidth);
        for (int i = 0; i < n; ++i)
            g->setColWidth(i + 1, i < int(widths.size()) ? widths[size_t(i)] : 0);
    }
}

void TimeGrid::applyRows(int headerHeight, int rowHeight, int rowCount)
{
    setRowCount(std::max(1, rowCount));
    setDefaultRowHeight(rowHeight);
    setRowHeight(0, headerHeight);
    const int stripHeight = std::max(headerHeight, int(m_view.stripHeight));
    m_allDayStrip->setRowCount(1);
    m_allDayStrip->setRowHeight(0, stripHeight);
    m_stripView->setGeometry(x(), y(), width(), headerHeight);
    m_allDayStrip->resize(width(), stripHeight);
    setStripScroll(stripScroll());
}

void TimeGrid::setStripScroll(int px)
{
    const int before = stripScroll();
    m_allDayStrip->move(0, -std::clamp(px, 0, stripScrollMaximum()));
    if (stripScroll() != before) emit stripScrolled(stripScroll());
}

int TimeGrid::stripScroll() const
{
    return -m_allDayStrip->y();
}

int TimeGrid::stripScrollMaximum() const
{
    return std::max(0, m_allDayStrip->height() - m_stripView->height());
}

void TimeGrid::resizeEvent(QResizeEvent *e)
{
    DrawGrid::resizeEvent(e);
    if (!m_allDayStrip) return;
    m_stripView->setGeometry(x(), y(), width(), m_stripView->height());
    m_allDayStrip->resize(width(), m_allDayStrip->height());
}

void TimeGrid::moveEvent(QMoveEvent *e)
{
    DrawGrid::moveEvent(e);
    if (m_stripView) m_stripView->move(pos());
}

void TimeGrid::wheelEvent(QWheelEvent *e)
{
    const int notches = m_wheel.add(e->angleDelta().y());
    e->accept();
    if (notches == 0) return;
    if (e->modifiers() & Qt::ControlModifier) {
        for (int i = 0; i < std::abs(notches); ++i)
            emit zoomRequested(notches > 0);
    } else {
        emit scrollRequested(m_scrollState.position - notches);
    }
}

void TimeGrid::gridMouseDown(const GridMouseEvent &e)
{
    m_drag.press(e);
}

void TimeGrid::gridMouseMove(const GridMouseEvent &e)
{
    m_drag.move(e);
}

void TimeGrid::gridMouseUp(const GridMouseEvent &e)
{
    m_drag.release(e);
}

int TimeGrid::dayCount() const
{
    return std::clamp(int(m_view.columnCount), 1, 7);
}

int TimeGrid::shownRowHeight() const
{
    return rowCount() > 1 ? rowHeight(1) : m_zoomRowHeight;
}

int TimeGrid::dayAt(int x) const
{
    if (x < 0) return -1;
    const int col = grid().colAt(x);
    if (col < 0) return x >= grid().totalWidth() ? dayCount() : -1;
    return std::min(col, dayCount());
}

int TimeGrid::dayIndexOf(SerialDateTime t) const
{
    return DateTimeValue::dayOf(t) - DateTimeValue::dayOf(m_viewDates.spanStart()) + 1;
}

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

TimeGridGeometry TimeGrid::placementGeometry() const
{
    TimeGridGeometry g;
    for (int d = 1; d <= 7; ++d)
        if (d < colCount()) g.dayColumns[size_t(d - 1)] = {grid().colLeft(d), colWidth(d)};
    g.headerHeight = rowHeight(0);
    g.rowHeight = shownRowHeight();
    g.scrollRow = m_view.firstVisibleRow;
    return g;
}

void TimeGrid::collect(unsigned parts, int firstDay, int lastDay, int forcedAllDay,
                       int forcedTimeGrid)
{
    DaySpanCollection::Request r;
    r.firstDay = m_viewDates.spanStart();
    r.spanEnd = m_viewDates.spanStart() + dayCount();
    r.firstGridDay = firstDay;
    r.lastGridDay = lastDay;
    r.parts = parts;
    r.forcedAllDayId = forcedAllDay;
    r.forcedTimeGridId = forcedTimeGrid;
    r.rowMinutes = m_timeScale;
    r.rows = m_stepsPerDay;
    m_model.collectDayView(r);
    if (parts & DaySpanCollection::AllDayPart)
        m_view.stripHeight = m_model.dayCollection().stripHeight();
}

void TimeGrid::placeDays(int firstDay, int lastDay, bool vertical, bool horizontal)
{
    DaySpanCollection &c = m_model.dayCollection();
    if (horizontal)
        c.placeTimeGrid(placementGeometry(), firstDay, lastDay);
    else if (vertical)
        c.placeTimeGridVertical(placementGeometry(), firstDay, lastDay);
}

void TimeGrid::recollectTimeDays(int firstDay, int lastDay, int forcedId)
{
    collect(DaySpanCollection::TimeGridPart, firstDay, lastDay, 0, forcedId);
    placeDays(firstDay, lastDay, true, true);
    for (int d = firstDay; d <= lastDay; ++d)
        invalidateDay(d);
}

void TimeGrid::collectAll()
{
    const SerialDateTime firstDay = m_viewDates.spanStart();
    if (firstDay != m_collectedFirstDay || dayCount() != m_collectedDayCount) {
        m_collectedFirstDay = firstDay;
        m_collectedDayCount = dayCount();
        setStripScroll(0);
    }
    collect(DaySpanCollection::BothParts, 1, dayCount(), 0, 0);
    placeAll();
}

void TimeGrid::placeAll()
{
    placeDays(1, dayCount(), true, true);
    m_allDayStrip->place();
    update();
    m_allDayStrip->update();
}

void TimeGrid::placeVertical()
{
    placeDays(1, dayCount(), true, false);
    update();
}

TimeGrid::StepRange TimeGrid::daySelection(int day) const
{
    if (day < 1 || day > 7) return {};
    return m_daySelection[size_t(day - 1)];
}

void TimeGrid::setDaySelection(int day, StepRange r)
{
    if (day < 1 || day > 7) return;
    if (!(r.first >= 1 && r.last >= r.first)) r = {};
    if (m_daySelection[size_t(day - 1)] == r) return;
    m_daySelection[size_t(day - 1)] = r;
    invalidateDay(day);
    m_allDayStrip->invalidateDay(day);
}

void TimeGrid::clearTimeSelection()
{
    for (int d = 1; d <= 7; ++d)
        setDaySelection(d, {});
}

void TimeGrid::clearSelectedEvents()
{
    if (!m_selectedEvents.empty()) update();
    m_selectedEvents.clear();
    m_allDayStrip->clearSelectedEvents();
}

void TimeGrid::clearSelections()
{
    clearTimeSelection();
    clearSelectedEvents();
}

void TimeGrid::storeSelection()
{
    int first = 0;
    for (int d = 1; d <= 7 && !first; ++d)
        if (daySelection(d).isSet()) first = d;
    if (!first) return;
    int last = first;
    while (last < 7 && daySelection(last + 1).isSet())
        ++last;
    const SerialDateTime firstDay = m_viewDates.spanStart();
    m_viewDates.setSelectionStart(firstDay + first - 1 +
                                  double(daySelection(first).first - 1) / m_stepsPerDay);
    m_viewDates.setSelectionEnd(firstDay + last - 1 +
                                double(daySelection(last).last) / m_stepsPerDay);
}

void TimeGrid::invalidateDay(int day)
{
    if (day < 1 || day >= colCount()) return;
    const int bottom = grid().rowTop(rowCount() - 1) + rowHeight(rowCount() - 1);
    invalidateRect(QRect(grid().colLeft(day), 0, colWidth(day), bottom));
}

// ---------------------------------------------------------------------------------------------
// Painting: day separators and event boxes before the cells, the time column after them.

void TimeGrid::paintBeforeCells(QPainter &p, const QRegion &region)
{
    p.setPen(lineColor());
    for (int col = 0; col < colCount(); ++col) {
        const int x = grid().colLeft(col) + colWidth(col) - 1;
        p.drawLine(x, 0, x, height());
    }
    p.setFont(font());
    const DaySpanCollection &c = m_model.dayCollection();
    for (int day = 1; day <= dayCount() && day < colCount(); ++day)
        for (const SpanItem &item : c.timeItems(day))
            if (region.intersects(itemRect(item))) paintBox(p, item);
}

void TimeGrid::paintBox(QPainter &p, const SpanItem &item)
{
    const bool selected = std::find(m_selectedEvents.begin(), m_selectedEvents.end(), item.id) !=
                          m_selectedEvents.end();
    BoxLines::Style style;
    style.fill = selected ? selectedColor() : m_model.layerColor(item.layer);
    style.selected = selected;
    style.alarmSet = item.alarmSet;
    style.alarmMark = m_settings.showAlarmDayWeek();
    style.maxPitch = TextWrap::lineHeight(QFontMetrics(p.font()));
    BoxPaint::paintTimeBox(p, item, shownRowHeight(), style);
}

void TimeGrid::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    if (col < 1 || row < 1 || col > dayCount()) return;
    const int step = row + m_view.firstVisibleRow;
    const QRect c = rect.adjusted(0, 0, -1, -1);
    if (c.width() < 1 || c.height() < 1) return;
    const StepRange sel = daySelection(col);
    QColor color;
    if (sel.isSet() && step >= sel.first && step <= sel.last) {
        color = selectedColor();
    } else {
        const int shade = cellShade(step, stepsPerHour());
        color = QColor(shade, shade, shade);
    }
    // Each filled run carries the line along its bottom; occupied columns are left to the boxes.
    const auto fillRun = [&](int x0, int x1) {
        if (x1 < x0) return;
        p.fillRect(QRect(x0, c.top(), x1 - x0 + 1, c.height()), color);
        p.fillRect(QRect(x0, c.bottom() + 1, x1 - x0 + 1, 1), lineColor());
    };
    const DaySpanCollection &coll = m_model.dayCollection();
    const int n = std::min(coll.columnCount(col, step), int(SpanLimits::MaxColumns));
    CellRuns::forEachFree(
        rect, c, n, 10, [&](int column) { return coll.timeOccupant(col, step, column) != 0; },
        fillRun);
}

void TimeGrid::paintAfterCells(QPainter &p, const QRegion &region)
{
    if (region.intersects(QRect(0, 0, TimeColumnWidth, height()))) paintTimeColumn(p);
    paintNowLine(p);
}

QRect TimeGrid::nowLineRect() const
{
    const QDateTime now = m_clock.now();
    const int day = dayIndexOf(m_clock.today());
    if (day < 1 || day > dayCount() || day >= colCount() || m_timeScale <= 0) return {};
    const double minutes = now.time().msecsSinceStartOfDay() / 60000.0;
    const int top =
        rowHeight(0) +
        int(std::floor((minutes / m_timeScale - m_view.firstVisibleRow) * shownRowHeight()));
    const int bottom = grid().rowTop(rowCount() - 1) + rowHeight(rowCount() - 1);
    if (top < rowHeight(0) || top + NowLineThickness > std::min(bottom, height())) return {};
    const QRect cell = cellRect(day, 0);
    return QRect(cell.left(), top, cell.width() - 1, NowLineThickness);
}

void TimeGrid::refreshNowLine()
{
    invalidateRect(m_nowLinePainted);
    invalidateRect(nowLineRect());
}

void TimeGrid::paintNowLine(QPainter &p)
{
    m_nowLinePainted = nowLineRect();
    if (!m_nowLinePainted.isEmpty()) p.fillRect(m_nowLinePainted, QColor(NowLineColor));
}

void TimeGrid::paintTimeColumn(QPainter &p)
{
    const int k = std::max(1, m_stepsPerDay / 24);
    const int rh = shownRowHeight();
    const int hourH = k * rh;
    const int header = rowHeight(0);
    const int bottom = std::min(height(), grid().totalHeight());
    const int start = std::max(0, int(m_view.firstVisibleRow));
    int hour = start / k;
    int y = header - (start % k) * rh - 1;
    const int nowHour = m_clock.now().time().hour();
    const bool twelve = m_format.twelveHour();

    p.save();
    p.setClipRect(QRect(0, header - 1, TimeColumnWidth, bottom - header + 1), Qt::IntersectClip);
    QFont f(QStringLiteral("Arial"));
    f.setStyle(QFont::StyleNormal);
    f.setWeight(QFont::Normal);
    for (; y < bottom && hour < 24; ++hour, y += hourH) {
        p.fillRect(QRect(0, y + 1, TimeColumnWidth - 1, hourH - 1),
                   hour == nowHour ? panelColor() : backColor());
        p.fillRect(QRect(0, y, TimeColumnWidth, 1), lineColor());
        const HourLabel label = hourLabel(hour, twelve);
        const QRect hourRect(0, y + 1, TimeColumnWidth, hourH - 1);
        if (hourH < 32) {
            f.setPointSize(std::clamp(int(std::lround(k * 0.65 * rh)), 1, 22));
            if (!twelve) f.setPointSize(std::clamp(hourH - 6, 1, 22));
            p.setFont(f);
            const QFontMetrics fm(f);
            if (twelve) {
                const int wn = fm.horizontalAdvance(label.number);
                const int ws = fm.horizontalAdvance(label.suffix);
                const int x0 = (TimeColumnWidth - wn - ws) / 2;
                p.setPen(Qt::black);
                p.drawText(QRect(x0, hourRect.top(), wn, hourRect.height()), Qt::AlignVCenter,
                           label.number);
                p.setPen(occurrenceColor());
                p.drawText(QRect(x0 + wn, hourRect.top(), ws, hourRect.height()), Qt::AlignVCenter,
                           label.suffix);
            } else {
                p.setPen(Qt::black);
                p.drawText(hourRect, Qt::AlignCenter, label.number);
            }
        } else {
            f.setPointSize(22);
            p.setFont(f);
            const int textTop = y - 1;
            const int textH = QFontMetrics(f).height();
            p.setPen(Qt::black);
            if (twelve) {
                p.drawText(QRect(3, textTop, 33, textH), Qt::AlignLeft | Qt::AlignTop,
                           label.number);
                p.setPen(QColor(110, 110, 110));
                p.drawText(QRect(36, textTop, 24, textH), Qt::AlignLeft | Qt::AlignTop,
                           label.suffix);
            } else {
                p.drawText(QRect(0, textTop, TimeColumnWidth, textH),
                           Qt::AlignHCenter | Qt::AlignTop, label.number);
            }
        }
        if (hourH >= 60) {
            const int ty = y + (k / 2) * rh;
            p.fillRect(QRect(30, ty, 30, 1), lineColor());
        }
    }
    p.restore();
    QFont small(QStringLiteral("Arial"));
    small.setPointSize(8);
    p.setFont(small);
    p.setPen(Qt::black);
}
