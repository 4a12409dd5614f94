#pragma once
// YearGrid: the grid of the year and the 3, 6 and 12 months views. Column 0 holds the day
// numbers (30 px); month columns 1..N (N = ViewState.columnCount, at most 12) show the months
// from ViewDates.spanStart()'s month on, one grid row per day of the month: row r (0..30) is day
// r + 1, and rows past the month's length are blank. The events are the boxes of the model's
// year collection, placed from the grid's column and row edges.
//
// The mouse (YearGridDrag) selects days in reading order down the month columns (written to
// ViewDates on release) and selects, moves or resizes events by whole days, posting every step
// through the model and collecting only the touched months again. What the user asks of the
// window comes out as signals; the window lays the grid out (setMonthColumns, setDayRows) and
// calls collect() whenever the shown months or the data change.
#include "core/DateTimeValue.h"
#include "store/SpanItem.h"
#include "views/EventGrid.h"
#include "views/YearGridDrag.h"
#include "views/YearGridModel.h"

#include <array>
#include <vector>

class Clock;
class DateTimeFormat;
class Settings;
class UiFont;
class ViewDates;
class ViewState;

class YearGrid : public EventGrid
{
    Q_OBJECT
public:
    static constexpr int DayColumnWidth = 30;
    static constexpr int DayRows = 31;
    static constexpr int MaxSelectedEvents = 100;

    // Creates the grid as a child of `panel`, filling it (13 columns, 31 rows). The
    // references must outlive the grid.
    YearGrid(QWidget *panel, YearGridModel &model, ViewDates &viewDates, const ViewState &view,
             const Settings &settings, const DateTimeFormat &format, const UiFont &uiFont,
             const Clock &clock);

    // --- layout (the window's) ---
    // Month columns 1..widths.size() (at most 12) with the given widths; column 0 keeps
    // DayColumnWidth. Places the boxes again.
    void setMonthColumns(const std::vector<int> &widths);
    // Heights of the 31 day rows (missing rows get 0). Places the boxes again.
    void setDayRows(const std::vector<int> &heights);
    int monthCount() const; // shown month columns, 1..12

    // --- collection ---
    // Collects all shown months, places them and repaints: the window's refresh.
    void collect();
    // Places the boxes of all shown months from the current column and row edges; repaints.
    void place();

    // --- dates of cells ---
    // Days in month column 1..12 of the last collection; 0 outside.
    int monthLength(int month) const;
    // The date (midnight) of day row 0..30 of a month column; nullopt for a blank row or a
    // column outside 1..12.
    std::optional<SerialDateTime> dateOf(int month, int row) const;

    // --- selection ---
    // The selected day rows of one month column, both ends inclusive; -1 in both: none.
    struct RowRange {
        int first = -1;
        int last = -1;
        bool isSet() const { return first >= 0; }
        friend bool operator==(const RowRange &, const RowRange &) = default;
    };
    RowRange columnSelection(int month) const; // none outside 1..12
    void setColumnSelection(int month, RowRange r);
    void clearColumnSelection();
    void clearSelectedEvents() override;
    // Drops the day selection and the selected events: on switching to a year view and when
    // the selected date changes while a range is selected.
    void clearSelections();
    const std::vector<int> &selectedEvents() const { return m_selectedEvents; }

    // --- the mouse ---
    GridDragMode dragMode() const { return m_drag.mode(); }
    int clickedEventId() const { return m_drag.clickedEventId(); }
    // The day (midnight) of the occurrence of recurring event `id` pressed last; -1 when the
    // last press was not on an occurrence of `id`.
    SerialDateTime pressedOccurrenceDay(int id) const { return m_drag.pressedOccurrenceDay(id); }
    GridEventModel &dragModel() override { return m_model; }

    // Month column 1..12 from y = 0 to the bottom of the last row.
    void invalidateColumn(int month);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintBeforeCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;
    bool event(QEvent *e) override;
    // The wheel is the window's (it steps through the months there).
    void wheelEvent(QWheelEvent *e) override;

private:
    friend class YearGridDrag;

    // Where a box's text goes: the area inside the frame and the arrow bands, and the text.
    struct BoxText {
        QRect area;
        QString text;
    };
    BoxText boxText(const SpanItem &item) const;
    // Whether the box shows all of its text.
    bool showsWholeText(const SpanItem &item) const;
    void paintBox(QPainter &p, const SpanItem &item);
    void paintDayNumber(QPainter &p, int row, const QRect &rect);
    void paintDayCell(QPainter &p, int month, int row, const QRect &rect);
    bool isSelected(int id) const;
    // Month column under x: 1 for the day-number column, the last month right of the columns,
    // -1 left of the grid.
    int monthAt(int x) const;
    // Box under pos (its top edge 1 px lower); sets *month to the month column under pos.
    const SpanItem *itemAt(QPoint pos, int *month) const;
    // Month column 1..N holding t's day; 0 before the first, N + 1 after the last.
    int monthIndexOf(SerialDateTime t) const;
    // Collects, places and repaints month columns first..last (clamped to the shown ones).
    void recollectMonths(int first, int last);
    // Writes the selected days to ViewDates' selection: from the first selected day of the
    // first month column with a selection to the day after the last selected day of the run of
    // month columns that follows it. Nothing selected: the selection is left as it is.
    void storeSelection();

    YearGridModel &m_model;
    ViewDates &m_viewDates;
    const ViewState &m_view;
    const Settings &m_settings;
    const DateTimeFormat &m_format;
    const UiFont &m_uiFont;
    const Clock &m_clock;

    std::array<RowRange, SpanLimits::MaxMonths> m_columnSelection;
    std::vector<int> m_selectedEvents;
    YearGridDrag m_drag{*this};
};
