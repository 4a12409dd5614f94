#pragma once
// MonthGrid: the month view and the 2 to 6 weeks views. Seven weekday columns and one row per
// shown week (1 to 6); the cell of week row r, column c shows day ViewDates.spanStart() + 7r + c.
// Each row's top 15 px head its cells with their day numbers; below them every event of the
// week is a bar in a lane 16 px high, as the model's month collection placed it. Lanes that do
// not fit in a row's height are not drawn. The mouse (MonthGridDrag) selects days in reading
// order, selects events and moves or stretches them by whole days.
#include "core/DateTimeValue.h"
#include "store/SpanItem.h"
#include "views/EventGrid.h"
#include "views/MonthGridDrag.h"
#include "views/MonthGridModel.h"
#include "views/WheelSteps.h"

#include <array>
#include <vector>

class Clock;
class DateTimeFormat;
class Settings;
class ViewDates;

class MonthGrid : public EventGrid
{
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 15;
    static constexpr int LanePitch = 16;

    // Creates the grid in `panel` (7 columns, 6 rows); the window lays it out. The references
    // must outlive the grid.
    MonthGrid(QWidget *panel, MonthGridModel &model, ViewDates &viewDates, const Settings &settings,
              const DateTimeFormat &format, const Clock &clock);

    // Shows `weeks` week rows (clamped to 1..6) from ViewDates' span start; the window lays
    // them out and collects them next. `selectedDay`'s month is the one the day numbers are shaded
    // for: with `wholeMonth` only its days are inside the month; otherwise the months alternate,
    // the selected day's month and every second one after it inside.
    void setWeeks(int weeks, SerialDateTime selectedDay, bool wholeMonth);
    // Collects every shown week again, places and repaints (after any change of the data).
    void collectAll();
    int weekCount() const { return rowCount(); }
    // Widths of the 7 columns and heights of the shown week rows (the window shares the grid's
    // size out); places the bars again.
    void setCellSizes(const std::vector<int> &colWidths, const std::vector<int> &rowHeights);
    SerialDateTime firstDay() const;

    // --- day numbers ---
    // The day number of the cell; on the 1st the short month name follows ("1 Feb"), on
    // 1 January also two blanks and the year ("1 Jan  2025").
    QString dayLabel(int col, int row) const;
    // The same for any day (printing uses it).
    static QString dayLabelOf(SerialDateTime day);
    bool isInsideMonth(int col, int row) const;

    // --- selection ---
    struct ColumnRange {
        int first = -1; // -1 in both: no day of that week row selected
        int last = -1;
        bool isSet() const { return first >= 0; }
        friend bool operator==(const ColumnRange &, const ColumnRange &) = default;
    };
    ColumnRange rowSelection(int row) const; // row 0..5; none outside
    void setRowSelection(int row, ColumnRange r);
    void clearRowSelection();
    void clearSelectedEvents() override;
    // Drops the selected days and events: on switching to a month view and when the selected
    // date changes while days are selected.
    void clearSelections();
    const std::vector<int> &selectedEvents() const { return m_selectedEvents; }

    // --- the mouse ---
    GridDragMode dragMode() const { return m_drag.mode(); }
    // See DayGridDrag::pressedOccurrenceDay.
    SerialDateTime pressedOccurrenceDay(int id) const { return m_drag.pressedOccurrenceDay(id); }
    // The bar under pos (its left edge one pixel further right), only in a lane the row shows;
    // null where there is none.
    const SpanItem *itemAt(QPoint pos) const;
    // The whole width of week row `row` (0-based).
    void invalidateWeek(int row);
    // Collects, places and repaints now week rows firstRow..lastRow (0-based, clamped).
    void recollectWeeks(int firstRow, int lastRow);

    GridEventModel &dragModel() override { return m_model; }

signals:
    // The mouse wheel asks for one previous (-1) or next (+1) navigation step.
    void wheelStepRequested(int direction);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintBeforeCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;
    void wheelEvent(QWheelEvent *e) override;
    bool event(QEvent *e) override;

private:
    friend class MonthGridDrag;

    void place(int firstRow, int lastRow);
    // A bar's box: its placed rectangle cut back to its row's bottom; empty when its lane
    // lies below the row.
    QRect barRect(int row, const SpanItem &item) const;
    void paintBar(QPainter &p, const QRect &box, const SpanItem &item);
    // Text area of a bar inside its box: the frame and the arrow bands taken off.
    QRect textArea(const QRect &box, const SpanItem &item) const;
    bool isSelected(int id) const;

    MonthGridModel &m_model;
    ViewDates &m_viewDates;
    const Settings &m_settings;
    const DateTimeFormat &m_format;
    const Clock &m_clock;

    int m_shownMonth = 0; // year * 12 + month - 1 of the selected day
    bool m_wholeMonth = true;
    std::array<ColumnRange, 6> m_rowSelection;
    std::vector<int> m_selectedEvents;
    WheelSteps m_wheel;
    MonthGridDrag m_drag{*this};
};
