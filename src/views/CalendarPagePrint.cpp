#include "views/CalendarPagePrint.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "views/BoxPaint.h"
#include "views/CellRuns.h"
#include "views/GridPaint.h"
#include "views/MonthGrid.h"
#include "views/MonthGridModel.h"
#include "views/PrintPage.h"
#include "views/TextWrap.h"
#include "views/YearGridModel.h"

#include <QDate>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
// The year collection's placement keeps this many pixels of a month column free at its right;
// the print keeps the week-start letter's column free instead.
constexpr int ScreenFreeRight = 12;

// Edge k of `parts` equal parts of `size` from `start`: start + Round(k / parts x size).
int shareEdge(int start, int size, int k, int parts)
{
    return start + int(std::lround(double(k) / std::max(1, parts) * size));
}

// One page: the frame, the heading and the footer around what `paint` draws.
PrintResult printPage(QPrinter &printer, const PrintOptions &options,
                      const CalendarPageSource &source,
                      const std::function<void(QPainter &, const PrintPage &)> &paint)
{
    PrintJob job(printer);
    if (!job.begin()) return job.finish();
    const PrintPage page(printer, options);
    (void)job.printPages(1, [&](int) {
        page.drawHeading(job.painter(), source.heading);
        paint(job.painter(), page);
        page.drawFrame(job.painter());
        page.drawFooter(job.painter(), source.today, 1, 1);
    });
    return job.finish();
}

void blackLine(QPainter &p, int x, int y, int w, int h)
{
    p.fillRect(QRect(x, y, std::max(w, 0), std::max(h, 0)), Qt::black);
}
} // namespace

CalendarPagePrint::CalendarPagePrint(const DateTimeFormat &format, const Settings &settings)
    : m_format(format), m_settings(settings)
{
}

PrintResult CalendarPagePrint::printMonth(QPrinter &printer, MonthGridModel &model,
                                          const PrintOptions &options,
                                          const CalendarPageSource &source)
{
    return printPage(printer, options, source, [&](QPainter &p, const PrintPage &page) {
        const QRect frame = page.frame();
        const int weeks = std::clamp(source.count, 1, int(SpanLimits::MaxWeeks));
        const SerialDateTime firstDay = DateTimeValue::dayOf(source.firstDay);
        const int line = page.line();
        const int pen = page.pen();

        const int namesTop = frame.top() + page.headingHeight();
        const int gridTop = namesTop + line;
        const int gridHeight = frame.bottom() + 1 - gridTop;

        MonthGridGeometry g;
        for (int i = 0; i < 7; ++i) {
            const int x0 = shareEdge(frame.left(), frame.width(), i, 7);
            g.dayColumns[size_t(i)] = {x0, shareEdge(frame.left(), frame.width(), i + 1, 7) - x0};
        }
        for (int j = 0; j < weeks; ++j)
            g.weekTops[size_t(j)] = shareEdge(gridTop, gridHeight, j, weeks);
        model.collectMonthView(firstDay, firstDay + 7 * weeks, 1, weeks);
        MonthSpanCollection &c = model.monthCollection();
        c.place(g, 1, weeks);

        p.setFont(page.font(page.fontSize()));
        p.setPen(Qt::black);
        for (int i = 0; i < 7; ++i) {
            const int dow = DateTimeValue::dayOfWeek(firstDay + i);
            const GridBand &b = g.dayColumns[size_t(i)];
            p.drawText(QRect(b.start, namesTop, b.size, line), Qt::AlignCenter,
                       ViewDates::DayNames[size_t(dow - 1)].toString());
        }
        for (int j = 0; j < weeks; ++j) {
            const int top = g.weekTops[size_t(j)];
            const int bottom = shareEdge(gridTop, gridHeight, j + 1, weeks);
            blackLine(p, frame.left(), top, frame.width(), pen);
            for (int i = 0; i < 7; ++i) {
                const GridBand &b = g.dayColumns[size_t(i)];
                p.setPen(Qt::black);
                p.drawText(QRect(b.start, top, b.size, line), Qt::AlignCenter,
                           MonthGrid::dayLabelOf(firstDay + 7 * j + i));
                if (i > 0) blackLine(p, b.start, top, pen, bottom - top);
            }
            for (SpanItem item : c.items(j + 1)) {
                item.top = top + item.lane * line - 1;
                item.bottom = top + item.lane * line + line;
                if (item.bottom > bottom) continue;
                BoxPaint::paintMonthBar(
                    p, GridPaint::itemRect(item), item, page.boxFill(model.layerColor(item.layer)),
                    false, item.alarmSet && m_settings.showAlarmMonth(),
                    GridPaint::barText(item, m_format, m_settings.showStartMonth(),
                                       m_settings.showEndMonth()));
            }
        }
    });
}

PrintResult CalendarPagePrint::printYear(QPrinter &printer, YearGridModel &model,
                                         const PrintOptions &options,
                                         const CalendarPageSource &source)
{
    return printPage(printer, options, source, [&](QPainter &p, const PrintPage &page) {
        const QRect frame = page.frame();
        const int months = std::clamp(source.count, 1, int(SpanLimits::MaxMonths));
        const int line = page.line();
        const int pen = page.pen();
        const QFont font = page.font(page.fontSize());
        const QFontMetrics fm(font, &printer);

        const QDate start = DateTimeValue::toQDate(source.firstDay);
        const QDate firstOfMonth(start.year(), start.month(), 1);
        model.collectYearView(DateTimeValue::fromQDate(firstOfMonth),
                              DateTimeValue::fromQDate(firstOfMonth.addMonths(months)), 1, months);
        YearSpanCollection &c = model.yearCollection();

        const int namesTop = frame.top() + page.headingHeight();
        const int gridTop = namesTop + line;
        const int gridHeight = frame.bottom() + 1 - gridTop;
        const int dayWidth =
            std::min(2 * fm.horizontalAdvance(QStringLiteral("00")), frame.width() / 2);
        const int monthsLeft = frame.left() + dayWidth;
        const int monthsWidth = frame.width() - dayWidth;
        const int startOfWeek = ((m_settings.startOfWeek() % 7) + 7) % 7;
        const QString letter = ViewDates::DayLetters[size_t(startOfWeek)].toString();
        const int letterColumn = fm.horizontalAdvance(letter) + 2 * pen;

        YearGridGeometry g;
        for (int m = 0; m < months; ++m) {
            const int x0 = shareEdge(monthsLeft, monthsWidth, m, months);
            const int x1 = shareEdge(monthsLeft, monthsWidth, m + 1, months);
            g.monthColumns[size_t(m)] = {x0, x1 - x0 - letterColumn + ScreenFreeRight};
        }
        for (int d = 0; d < SpanLimits::MaxMonthDays; ++d) {
            const int y0 = shareEdge(gridTop, gridHeight, d, SpanLimits::MaxMonthDays);
            g.dayRows[size_t(d)] = {
                y0, shareEdge(gridTop, gridHeight, d + 1, SpanLimits::MaxMonthDays) - y0};
        }
        c.place(g, 1, months);

        p.setFont(font);
        p.setPen(Qt::black);
        for (int m = 0; m < months; ++m) {
            const int x0 = shareEdge(monthsLeft, monthsWidth, m, months);
            const int x1 = shareEdge(monthsLeft, monthsWidth, m + 1, months);
            const QDate d = firstOfMonth.addMonths(m);
            p.drawText(QRect(x0, namesTop, x1 - x0, line), Qt::AlignCenter,
                       ViewDates::ShortMonthNames[size_t(d.month() - 1)].toString());
            blackLine(p, x0, namesTop, pen, frame.bottom() + 1 - namesTop);
            for (int row = 1; row <= c.monthLength(m + 1); ++row) {
                const GridBand &r = g.dayRows[size_t(row - 1)];
                const QRect cell(x0, r.start, x1 - x0, r.size);
                const int n = std::min(c.columnCount(m + 1, row), int(SpanLimits::MaxColumns));
                CellRuns::forEachFree(
                    cell, cell.adjusted(0, 0, -1, -1), n, letterColumn,
                    [&](int column) { return c.occupant(m + 1, row, column) != 0; },
                    [&](int a, int b) { blackLine(p, a, r.end() - pen, b - a + 1, pen); });
                const SerialDateTime date = c.firstDay() + c.monthOffset(m + 1) + row - 1;
                if (DateTimeValue::dayOfWeek(date) - 1 == startOfWeek)
                    p.drawText(QRect(x1 - letterColumn, r.start, letterColumn - pen, r.size),
                               Qt::AlignRight | Qt::AlignVCenter, letter);
            }
        }
        blackLine(p, frame.left(), gridTop - pen, frame.width(), pen);
        for (int d = 0; d < SpanLimits::MaxMonthDays; ++d) {
            const GridBand &r = g.dayRows[size_t(d)];
            p.drawText(QRect(frame.left(), r.start, dayWidth, r.size), Qt::AlignCenter,
                       QString::number(d + 1));
            blackLine(p, frame.left(), r.end() - pen, dayWidth, pen);
        }

        BoxLines::Style style;
        style.alarmMark = m_settings.showAlarmYear();
        style.maxPitch = TextWrap::lineHeight(fm);
        for (int m = 1; m <= months; ++m)
            for (const SpanItem &item : c.items(m)) {
                style.fill = page.boxFill(model.layerColor(item.layer));
                style.alarmSet = item.alarmSet;
                BoxPaint::paintYearBox(p, item, style,
                                       BoxPaint::yearBoxText(item, m_format,
                                                             m_settings.showStartYear(),
                                                             m_settings.showEndYear()));
            }
    });
}
