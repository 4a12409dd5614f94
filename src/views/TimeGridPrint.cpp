#include "views/TimeGridPrint.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "views/BoxPaint.h"
#include "views/CellRuns.h"
#include "views/GridPaint.h"
#include "views/PrintPage.h"
#include "views/TextWrap.h"
#include "views/TimeGridModel.h"

#include <QDate>
#include <QPrinter>
#include <algorithm>
#include <cmath>

using namespace GridPaint;

namespace
{
// The placement step keeps this many pixels of a day column free at its right; the print
// keeps the lane gap free instead.
constexpr int ScreenSpare = 10;
} // namespace

struct TimeGridPrint::Layout {
    TimeGridPrintSource source;
    StepPlan plan;
    int lanes = 0;
    int headingHeight = 0;
    int timeWidth = 0;
    int hourPoints = 1;
    std::vector<GridBand> columns; // day columns 1..N
    int dayRowTop = 0;
    int allDayTop = 0;
    int allDayHeight = 0;
    int firstBandTop = 0; // time band top on page 1
    int laterBandTop = 0; // on the pages after it
};

int TimeGridPrint::StepPlan::pageLast(int page) const
{
    if (page < 0 || page >= pageCount()) return last;
    return page + 1 < pageCount() ? pageFirsts[size_t(page + 1)] - 1 : last;
}

TimeGridPrint::StepPlan TimeGridPrint::planSteps(int startIndex, int stopIndex, int stepsPerDay,
                                                 int firstVisibleRow, int rowCount,
                                                 int minStepHeight, int firstBand, int laterBand)
{
    StepPlan plan;
    const int total = std::clamp(stepsPerDay, 24, 288);
    const int perHour = total / 24;
    startIndex = std::clamp(startIndex, 0, PrintOptions::MaxHourIndex);
    stopIndex = std::clamp(stopIndex, 0, PrintOptions::MaxHourIndex);
    int first = startIndex == 0 ? firstVisibleRow + 1 : perHour * (startIndex - 1) + 1;
    first = std::clamp(first, 1, total);
    int last =
        stopIndex == 0 ? std::max(first, firstVisibleRow + rowCount - 1) : stopIndex * perHour;
    last = std::clamp(last, 1, total);
    if (last < first) first = std::max(1, last - perHour + 1);
    plan.first = first;
    plan.last = last;

    const int count = last - first + 1;
    firstBand = std::max(1, firstBand);
    laterBand = std::max(firstBand, laterBand);
    int height = firstBand / count;
    if (startIndex != 0 || stopIndex != 0) height = std::max(height, minStepHeight);
    plan.stepHeight = std::clamp(height, 1, laterBand);

    int step = first;
    int band = firstBand;
    while (step <= last) {
        plan.pageFirsts.push_back(step);
        step += std::max(1, band / plan.stepHeight);
        band = laterBand;
    }
    return plan;
}

TimeGridPrint::TimeGridPrint(TimeGridModel &model, const DateTimeFormat &format,
                             const Settings &settings)
    : m_model(model), m_format(format), m_settings(settings)
{
}

PrintResult TimeGridPrint::print(QPrinter &printer, const PrintOptions &options,
                                 const TimeGridPrintSource &source)
{
    PrintJob job(printer);
    if (!job.begin()) return job.finish();
    QPainter &p = job.painter();
    const PrintPage page(printer, options);
    const QRect frame = page.frame();

    Layout l;
    l.source = source;
    l.source.days = std::clamp(source.days, 1, 7);
    l.source.stepsPerDay = std::clamp(source.stepsPerDay, 24, 288);

    DaySpanCollection::Request request;
    request.firstDay = source.firstDay;
    request.spanEnd = source.firstDay + l.source.days;
    request.firstGridDay = 1;
    request.lastGridDay = l.source.days;
    request.rowMinutes = 1440 / l.source.stepsPerDay;
    request.rows = l.source.stepsPerDay;
    m_model.collectDayView(request);
    const DaySpanCollection &c = m_model.dayCollection();
    l.lanes = c.stripHeight() / 21;

    l.hourPoints = std::max(1, int(std::trunc(2.75 * page.fontSize())));
    l.timeWidth =
        2 * QFontMetrics(page.font(l.hourPoints), &printer).horizontalAdvance(QStringLiteral("00"));
    l.timeWidth = std::min(l.timeWidth, frame.width() / 2);
    const int n = l.source.days;
    const int daysWidth = frame.width() - l.timeWidth;
    for (int j = 1; j <= n; ++j) {
        const int x0 = frame.left() + l.timeWidth + int(std::lround(double(j - 1) / n * daysWidth));
        const int x1 = frame.left() + l.timeWidth + int(std::lround(double(j) / n * daysWidth));
        l.columns.push_back({x0, x1 - x0});
    }
    l.headingHeight = page.headingHeight();
    l.dayRowTop = frame.top() + l.headingHeight;
    l.allDayTop = l.dayRowTop + page.line();
    l.allDayHeight = l.lanes * (page.line() + page.laneGap()) + page.laneGap();
    l.firstBandTop = l.allDayTop + l.allDayHeight;
    l.laterBandTop = l.allDayTop;
    const int bottom = frame.bottom() + 1;
    const int minStep = int(std::lround(page.line() / 16.0 * source.screenRowHeight));
    l.plan = planSteps(options.startIndex, options.stopIndex, l.source.stepsPerDay,
                       source.firstVisibleRow, source.rowCount, minStep, bottom - l.firstBandTop,
                       bottom - l.laterBandTop);

    (void)job.printPages(l.plan.pageCount(), [&](int i) { paintPage(p, page, l, i); });
    return job.finish();
}

void TimeGridPrint::paintPage(QPainter &p, const PrintPage &page, const Layout &l, int pageIndex)
{
    const QRect frame = page.frame();
    p.save();
    p.setClipRect(frame.adjusted(0, 0, 1, 1));
    page.drawHeading(p, l.source.heading);

    // The day-name row, on every page.
    p.setFont(page.font(page.fontSize()));
    p.setPen(Qt::black);
    for (int j = 0; j < int(l.columns.size()); ++j) {
        const QDate d = DateTimeValue::toQDate(l.source.firstDay + j);
        const QString text = ViewDates::ShortDayNames[size_t(d.dayOfWeek() % 7)].toString() +
                             QLatin1Char(' ') + QString::number(d.day()) + QLatin1Char(' ') +
                             ViewDates::ShortMonthNames[size_t(d.month() - 1)].toString();
        const GridBand &b = l.columns[size_t(j)];
        p.drawText(QRect(b.start, l.dayRowTop, b.size, page.line()), Qt::AlignCenter, text);
    }
    p.fillRect(
        QRect(frame.left(), l.dayRowTop + page.line() - page.pen(), frame.width(), page.pen()),
        Qt::black);

    const int top = pageIndex == 0 ? l.firstBandTop : l.laterBandTop;
    if (pageIndex == 0) paintAllDay(p, page, l);
    const int first = l.plan.pageFirsts[size_t(pageIndex)];
    const int last = l.plan.pageLast(pageIndex);
    paintSteps(p, page, l, first, last, top);
    paintTimeColumn(p, page, l, first, last, top);
    p.restore();
    page.drawFrame(p);
    page.drawFooter(p, l.source.today, pageIndex + 1, l.plan.pageCount());
}

void TimeGridPrint::paintAllDay(QPainter &p, const PrintPage &page, const Layout &l)
{
    if (l.lanes <= 0) {
        p.fillRect(QRect(page.frame().left(), l.allDayTop, page.frame().width(), page.pen()),
                   Qt::black);
        return;
    }
    DaySpanCollection &c = m_model.dayCollection();
    StripGeometry g;
    for (size_t j = 0; j < l.columns.size(); ++j)
        g.dayColumns[j] = l.columns[j];
    c.placeStrip(g);
    const int pitch = page.line() + page.laneGap();
    p.setFont(page.font(page.fontSize()));
    for (SpanItem item : c.stripItems()) {
        item.top = l.allDayTop + (item.lane - 1) * pitch;
        item.bottom = l.allDayTop + item.lane * pitch + 1;
        BoxPaint::paintStripBar(
            p, item, l.columns.front().size, page.boxFill(m_model.layerColor(item.layer)), false,
            item.alarmSet && m_settings.showAlarmDayWeek(),
            barText(item, m_format, m_settings.showStartDayWeek(), m_settings.showEndDayWeek()));
    }
    for (int day = 1; day <= int(l.columns.size()); ++day) {
        const GridBand &b = l.columns[size_t(day - 1)];
        for (int lane = 1; lane <= l.lanes; ++lane)
            if (c.laneOccupant(day, lane) == 0)
                p.fillRect(QRect(b.end() - page.pen(), l.allDayTop + (lane - 1) * pitch, page.pen(),
                                 pitch),
                           Qt::black);
    }
    p.fillRect(
        QRect(page.frame().left(), l.firstBandTop - page.pen(), page.frame().width(), page.pen()),
        Qt::black);
}

void TimeGridPrint::paintSteps(QPainter &p, const PrintPage &page, const Layout &l, int first,
                               int last, int top)
{
    DaySpanCollection &c = m_model.dayCollection();
    const int h = l.plan.stepHeight;
    const int gap = page.laneGap();
    // Cells: the line along the bottom of the free columns, as on the screen.
    for (int day = 1; day <= int(l.columns.size()); ++day) {
        const GridBand &b = l.columns[size_t(day - 1)];
        for (int step = first; step <= last; ++step) {
            const QRect cell(b.start, top + (step - first) * h, b.size, h);
            const QRect inner = cell.adjusted(0, 0, -1, -1);
            const int n = std::min(c.columnCount(day, step), int(SpanLimits::MaxColumns));
            CellRuns::forEachFree(
                cell, inner, n, gap, [&](int column) { return c.timeOccupant(day, step, column); },
                [&](int x0, int x1) {
                    if (x1 >= x0)
                        p.fillRect(
                            QRect(x0, cell.bottom() + 1 - page.pen(), x1 - x0 + 1, page.pen()),
                            Qt::black);
                });
        }
        p.fillRect(QRect(b.end() - page.pen(), top, page.pen(), (last - first + 1) * h), Qt::black);
    }

    // Boxes, cut to this page's steps.
    TimeGridGeometry g;
    for (size_t j = 0; j < l.columns.size(); ++j)
        g.dayColumns[j] = {l.columns[j].start, l.columns[j].size - gap + ScreenSpare};
    g.headerHeight = top;
    g.rowHeight = h;
    g.scrollRow = first - 1;
    c.placeTimeGrid(g, 1, int(l.columns.size()));
    QFont f = page.font(page.fontSize());
    p.setFont(f);
    BoxLines::Style style;
    style.alarmMark = m_settings.showAlarmDayWeek();
    style.maxPitch = TextWrap::lineHeight(QFontMetrics(f, p.device()));
    for (int day = 1; day <= int(l.columns.size()); ++day)
        for (SpanItem item : c.timeItems(day)) {
            if (item.last < first || item.first > last) continue;
            if (item.first < first) {
                item.top = top - 1;
                item.startFrac = std::min(item.startFrac, 0.0);
            }
            if (item.last > last) {
                item.bottom = top + (last - first + 1) * h;
                item.endFrac = std::min(item.endFrac, 0.0);
            }
            style.fill = page.boxFill(m_model.layerColor(item.layer));
            style.alarmSet = item.alarmSet;
            BoxPaint::paintTimeBox(p, item, h, style);
        }
}

void TimeGridPrint::paintTimeColumn(QPainter &p, const PrintPage &page, const Layout &l, int first,
                                    int last, int top)
{
    const QRect frame = page.frame();
    const int h = l.plan.stepHeight;
    const int perHour = l.source.stepsPerDay / 24;
    const int hourHeight = perHour * h;
    const QRect column(frame.left(), top, l.timeWidth, (last - first + 1) * h);
    p.fillRect(QRect(frame.left(), l.dayRowTop, l.timeWidth, top - l.dayRowTop), Qt::white);
    p.fillRect(QRect(frame.left(), column.bottom() + 1, l.timeWidth,
                     std::max(0, frame.bottom() - column.bottom())),
               Qt::white);
    p.fillRect(QRect(column.right() + 1 - page.pen(), top, page.pen(), column.height()), Qt::black);

    int points = l.hourPoints;
    while (points > 1) {
        const int need = int(std::lround(
            1.1 * QFontMetrics(page.font(points), p.device()).boundingRect(u'0').height()));
        if (hourHeight >= need) break;
        --points;
    }
    const QFont f = page.font(points);
    const QFontMetrics fm(f, p.device());
    p.setFont(f);
    const bool twelve = m_format.twelveHour();
    for (int step = first; step <= last; ++step) {
        if ((step - 1) % perHour != 0) continue;
        const int hour = (step - 1) / perHour;
        const int y = top + (step - first) * h;
        p.fillRect(QRect(column.left(), y, column.width(), page.pen()), Qt::black);
        // An hour cut by the page's last step is labelled in the part that is printed.
        const QRect hourRect =
            QRect(column.left(), y, column.width(), hourHeight).intersected(column);
        const HourLabel label = hourLabel(hour, twelve);
        if (twelve) {
            const int wn = fm.horizontalAdvance(label.number);
            const int ws = fm.horizontalAdvance(label.suffix);
            const int x0 = column.left() + (column.width() - wn - ws) / 2;
            p.setPen(Qt::black);
            p.drawText(QRect(x0, y, wn, hourRect.height()), Qt::AlignVCenter, label.number);
            p.setPen(occurrenceColor());
            p.drawText(QRect(x0 + wn, y, ws, hourRect.height()), Qt::AlignVCenter, label.suffix);
        } else {
            p.setPen(Qt::black);
            p.drawText(hourRect, Qt::AlignCenter, label.number);
        }
        if (hourHeight >= column.width() && perHour > 1) {
            const int ty = y + (perHour / 2) * h;
            p.fillRect(
                QRect(column.left() + column.width() / 2, ty, column.width() / 2, page.pen()),
                Qt::black);
        }
    }
}
