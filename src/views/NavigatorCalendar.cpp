#include "views/NavigatorCalendar.h"

#include "core/CalendarMath.h"
#include "core/Clock.h"
#include "core/LayerPalette.h"
#include "core/ViewSpan.h"

#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>

namespace
{
// Colours as 0x00BBGGRR.
constexpr uint32_t SelectedColour = 6307874;
constexpr uint32_t MonthColour = 10841658;
constexpr uint32_t NeighbourColour = 13409135;

constexpr int WheelNotch = 120; // angle delta of one wheel notch
} // namespace

NavigatorCalendar::NavigatorCalendar(const Clock &clock, QWidget *parent)
    : DrawGrid(parent), m_clock(clock)
{
    setColCount(7);
    setRowCount(6);
    setDefaultColWidth(20);
    setDefaultRowHeight(16);
    const CalendarMath::YearMonthDay today =
        CalendarMath::civilFromDay(DateTimeValue::dayOf(m_clock.today()));
    m_year = int(std::clamp<int64_t>(today.year, MinYear, MaxYear));
    m_month = today.month;
    m_day = today.day;
    m_selected = SerialDateTime(CalendarMath::dayFromCivil(m_year, m_month, m_day));
    placeSelection();
}

bool NavigatorCalendar::setSelectedDate(SerialDateTime date)
{
    const CalendarMath::YearMonthDay d = CalendarMath::civilFromDay(DateTimeValue::dayOf(date));
    if (d.year < MinYear || d.year > MaxYear) return false;
    apply(int(d.year), d.month, d.day);
    return true;
}

bool NavigatorCalendar::setDate(const QDate &date)
{
    return date.isValid() && setSelectedDate(DateTimeValue::fromQDate(date));
}

bool NavigatorCalendar::setYear(int year)
{
    if (year == m_year || year < MinYear || year > MaxYear) return false;
    apply(year, m_month, std::min(m_day, CalendarMath::daysInMonth(year, m_month)));
    return true;
}

bool NavigatorCalendar::setMonth(int month)
{
    if (month == m_month || month < 1 || month > 12) return false;
    apply(m_year, month, std::min(m_day, CalendarMath::daysInMonth(m_year, month)));
    return true;
}

bool NavigatorCalendar::setDay(int day)
{
    return setSelectedDate(SerialDateTime(CalendarMath::dayFromCivil(m_year, m_month, 1)) + day -
                           1);
}

bool NavigatorCalendar::stepMonths(int months)
{
    const int64_t mi = CalendarMath::monthIndex(m_year, m_month) + months;
    const int64_t year = CalendarMath::yearOfMonthIndex(mi);
    if (year < MinYear || year > MaxYear) return false;
    const int month = CalendarMath::monthOfMonthIndex(mi);
    apply(int(year), month, std::min(m_day, CalendarMath::daysInMonth(year, month)));
    return true;
}

void NavigatorCalendar::setStartOfWeek(int weekday)
{
    const int w = ViewSpans::normalizedWeekStart(weekday);
    if (w == m_startOfWeek) return;
    m_startOfWeek = w;
    placeSelection();
    invalidateGrid();
}

SerialDateTime NavigatorCalendar::firstCellDate() const
{
    return m_selected - m_day + m_firstCellDay;
}

SerialDateTime NavigatorCalendar::cellDate(int col, int row) const
{
    return firstCellDate() + col + row * 7;
}

void NavigatorCalendar::apply(int year, int month, int day)
{
    const bool monthChanged = year != m_year || month != m_month;
    m_year = year;
    m_month = month;
    m_day = day;
    m_selected = SerialDateTime(CalendarMath::dayFromCivil(year, month, day));
    placeSelection();
    if (monthChanged) invalidateGrid();
    emit dateChanged(m_selected);
}

void NavigatorCalendar::placeSelection()
{
    m_firstCellDay = 1 - ViewSpans::calendarColumn(m_selected - m_day + 1, m_startOfWeek);
    const int d = m_day - m_firstCellDay;
    (void)setCurrentCell(d % 7, d / 7);
}

void NavigatorCalendar::drawCell(QPainter &p, int col, int row, const QRect &rect,
                                 GridDrawState state)
{
    const SerialDateTime date = cellDate(col, row);
    const CalendarMath::YearMonthDay ymd = CalendarMath::civilFromDay(int64_t(date));
    const bool inMonth = ymd.month == m_month;
    const uint32_t fill = state.testFlag(GridDrawFlag::Selected) ? SelectedColour
                          : inMonth                              ? MonthColour
                                                                 : NeighbourColour;
    p.fillRect(rect, LayerPalette::colorFromBGR(fill));

    p.save();
    p.setClipRect(rect);
    p.setFont(font());
    p.setPen(Qt::white);
    // Today is framed only while the calendar shows today's month.
    const bool today = inMonth && date == m_clock.today();
    const QRect textRect = today ? rect.adjusted(1, 1, -1, -1) : rect;
    p.drawText(textRect, Qt::AlignCenter, QString::number(ymd.day));
    if (today) p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.restore();
}

void NavigatorCalendar::gridMouseDown(const GridMouseEvent &e)
{
    if (m_readOnly || e.button != Qt::LeftButton || e.cell.isNone()) return;
    (void)setDay(e.cell.col + m_firstCellDay + e.cell.row * 7);
}

void NavigatorCalendar::resizeEvent(QResizeEvent *e)
{
    DrawGrid::resizeEvent(e);
    const int line = gridLineWidth();
    setDefaultColWidth(std::max((width() - line * 6) / 7, 0));
    setDefaultRowHeight(std::max((height() - line * 5) / 6, 0));
}

void NavigatorCalendar::wheelEvent(QWheelEvent *e)
{
    if (m_readOnly) {
        e->ignore();
        return;
    }
    e->accept();
    m_wheelAngle += e->angleDelta().y();
    const int notches = m_wheelAngle / WheelNotch;
    if (notches == 0) return;
    m_wheelAngle -= notches * WheelNotch;
    // Turning the wheel away from the user goes back in time, as scrolling up a list does.
    (void)stepMonths(-notches);
}
