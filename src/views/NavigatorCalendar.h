#pragma once
// NavigatorCalendar: a small month calendar of 7 columns by 6 rows of day cells, without a
// header row. It keeps one selected date (a whole day) and always fills all 42 cells: day 1
// of the shown month stands in row 0 in the column of its weekday, the cells before it show
// the last days of the previous month and the cells after the month's end the first days of
// the next month. A click on any cell selects that date, so a click on a neighbouring month's
// day moves the calendar to that month. The mouse wheel steps one month per notch.
//
// Cells are numbered by day of the shown month: cell (col, row) stands for day
// col + firstCellDay() + row * 7, which is 0 or negative for the previous month's days and
// beyond the month's length for the next month's. Dates are kept within the years
// MinYear..MaxYear; anything that would leave them is refused and changes nothing.
//
// Every change of the selected date, and every click on a day (the selected one too), emits
// dateChanged once. Paints with the widget's font in white.
#include "core/DateTimeValue.h"
#include "platform/DrawGrid.h"

class Clock;
class QWheelEvent;

class NavigatorCalendar : public DrawGrid
{
    Q_OBJECT
public:
    static constexpr int MinYear = 1500;
    static constexpr int MaxYear = 9999;

    // Starts on the clock's today, weeks starting on Sunday, not read-only. The clock must
    // outlive the calendar; it also decides which cell is framed as today.
    explicit NavigatorCalendar(const Clock &clock, QWidget *parent = nullptr);

    // The selected date: a day number (time part 0).
    SerialDateTime selectedDate() const { return m_selected; }
    QDate date() const { return DateTimeValue::toQDate(m_selected); }
    int year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }

    // Selects the day of `date` (its time of day is dropped) and emits dateChanged, also when
    // the day is the one already selected. False, with nothing changed, for a year outside
    // MinYear..MaxYear.
    [[nodiscard]] bool setSelectedDate(SerialDateTime date);
    [[nodiscard]] bool setDate(const QDate &date);

    // Change one part of the selected date; each returns whether the date was set.
    // setYear and setMonth cut the day to the new month's length (31 Jan -> February gives
    // its last day) and refuse a year outside MinYear..MaxYear, a month outside 1..12 and the
    // value already shown (no signal then).
    [[nodiscard]] bool setYear(int year);
    [[nodiscard]] bool setMonth(int month);
    // A day of the shown month; below 1 counts back into the previous month (0 is its last
    // day) and past the month's length on into the next one, as the cell numbers do. The day
    // already selected is set again and signals again.
    [[nodiscard]] bool setDay(int day);
    // Whole months forward (positive) or back, the day cut to the new month's length.
    [[nodiscard]] bool stepMonths(int months);

    // The weekday of the first column, 0 = Sunday .. 6 = Saturday (others taken modulo 7).
    void setStartOfWeek(int weekday);
    int startOfWeek() const { return m_startOfWeek; }

    // A read-only calendar shows its date but refuses clicks and the wheel; the setters still
    // work.
    void setReadOnly(bool on) { m_readOnly = on; }
    bool isReadOnly() const { return m_readOnly; }

    // Day of the shown month in cell (0, 0): from -5 to 1.
    int firstCellDay() const { return m_firstCellDay; }
    // The date cell (0, 0) shows.
    SerialDateTime firstCellDate() const;
    // The date cell (col, row) shows.
    SerialDateTime cellDate(int col, int row) const;

signals:
    void dateChanged(SerialDateTime date);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void resizeEvent(QResizeEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    // Takes the date as selected, places the current cell and signals.
    void apply(int year, int month, int day);
    // Computes firstCellDay() and moves the current cell onto the selected day.
    void placeSelection();

    const Clock &m_clock;
    SerialDateTime m_selected = 0;
    int m_year = 1900;
    int m_month = 1;
    int m_day = 1;
    int m_firstCellDay = 1;
    int m_startOfWeek = 0;
    int m_wheelAngle = 0; // eighths of a degree not yet turned into a month step
    bool m_readOnly = false;
};
