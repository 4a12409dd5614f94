#pragma once
// TimeGrid: the time grid of the day and week views. Column 0 is the time column (60 px),
// columns 1..N one per shown day; row 0 is the header row that the all-day strip covers, and
// screen row r >= 1 shows time step r + ViewState.firstVisibleRow (steps count from 1 at midnight).
// The grid paints and hit-tests the time-grid part of the model's day-view collection; its
// mouse (TimeGridDrag) selects time ranges (written to ViewDates on release) and events, and
// moves or resizes an event by a drag, posting every step through the model and re-collecting
// only the touched days. What the user asks of the window comes out as signals; the window
// lays the grid out and feeds it through the calls below (see TimePanelLayout).
#include "core/DateTimeValue.h"
#include "store/SpanGeometry.h"
#include "store/SpanItem.h"
#include "views/EventGrid.h"
#include "views/TimeGridDrag.h"
#include "views/TimeGridModel.h"
#include "views/WheelSteps.h"

#include <array>
#include <vector>

class Clock;
class DateTimeFormat;
class Settings;
class ViewDates;
class ViewState;
class AllDayStrip;

// The scroll bar of the time-grid panel as the window keeps it (whole hours).
struct GridScrollState {
    int position = 0;
    int pageSize = 23;
    int maximum = 23;
    bool atLastPosition() const { return position >= maximum - pageSize + 1; }
};

class TimeGrid : public EventGrid
{
    Q_OBJECT
public:
    static constexpr int TimeColumnWidth = 60;
    static constexpr int MaxSelectedEvents = DayGridDrag::MaxSelectedEvents;

    // Creates the grid and the all-day strip, both children of `panel`, at the creation
    // geometry (2 columns, 101 rows, header 15 px, 15-minute scale, row height 16). The
    // references must outlive the grid.
    TimeGrid(QWidget *panel, TimeGridModel &model, ViewDates &viewDates, ViewState &view,
             const Settings &settings, const DateTimeFormat &format, const Clock &clock);

    AllDayStrip *allDayStrip() const { return m_allDayStrip; }

    // --- time scale and zoom ---
    // Minutes per row: 5, 6, 10, 15, 30 or 60; other values change timeScale() only.
    void setTimeScale(int minutes);
    int timeScale() const { return m_timeScale; }
    int stepsPerDay() const { return m_stepsPerDay; }
    int stepsPerHour() const { return m_stepsPerDay / 24; }
    // The zoom row height; the shown rows use the height applyRows() gives them.
    void setZoomRowHeight(int px) { m_zoomRowHeight = px; }
    int zoomRowHeight() const { return m_zoomRowHeight; }

    // --- layout (the time panel's layout calls these) ---
    // Day columns 1..widths.size() (at most 7) with the given widths, in both grids.
    void setDayColumns(const std::vector<int> &widths);
    // Row 0 (and the all-day strip's visible part) `headerHeight` high, `rowCount` rows in all
    // (row 0 included), rows 1.. `rowHeight` high. The strip itself is as high as its lanes need
    // (ViewState.stripHeight), at least `headerHeight`; what does not fit scrolls.
    void applyRows(int headerHeight, int rowHeight, int rowCount);
    // Pixels of the all-day strip scrolled out above row 0: 0 to stripScrollMaximum() (the
    // strip's height less the visible part's). Values outside are clamped; stripScrolled
    // reports a changed position.
    void setStripScroll(int px);
    int stripScroll() const;
    int stripScrollMaximum() const;
    // The widget that shows the visible part of the strip over row 0 (the strip's parent).
    QWidget *stripView() const { return m_stripView; }
    // The panel's scroll bar, for the auto-scroll while a drag is past the top or bottom edge.
    // Until the first call: position 0, page 23, so the ticks move the dragged cell only.
    void setScrollState(const GridScrollState &state) { m_scrollState = state; }

    // --- collection and placement ---
    // The central refresh: collects both parts for all shown days (no forced IDs), places
    // both and repaints both grids. ViewState.stripHeight takes the strip height; the window
    // lays the panel out after it when the strip height changed. When the shown days are
    // not the ones of the last collection, the strip scrolls back to its top lane.
    void collectAll();
    // Horizontal and vertical placement of all shown days (after a resize).
    void placeAll();
    // Vertical placement only (after a scroll or zoom); repaints.
    void placeVertical();

    // --- selection ---
    struct StepRange {
        int first = -1; // -1 in both: nothing selected on that day
        int last = -1;
        bool isSet() const { return first >= 0; }
        friend bool operator==(const StepRange &, const StepRange &) = default;
    };
    StepRange daySelection(int day) const; // day 1..7; none outside
    void setDaySelection(int day, StepRange r);
    void clearTimeSelection();
    // Drops the selected events of the grid and of the strip.
    void clearSelectedEvents() override;
    // Drops the time selection and the selected events: on switching to a time view, on a
    // time-scale change and when the selected date changes while a range is selected.
    void clearSelections();
    const std::vector<int> &selectedEvents() const { return m_selectedEvents; }

    // --- the mouse ---
    GridDragMode dragMode() const { return m_drag.mode(); }
    int clickedEventId() const { return m_drag.clickedEventId(); }
    // See DayGridDrag::pressedOccurrenceDay (presses in the grid, not in the strip).
    SerialDateTime pressedOccurrenceDay(int id) const { return m_drag.pressedOccurrenceDay(id); }
    int currentStep() const { return m_drag.currentStep(); }
    bool autoScrollingUp() const { return m_drag.autoScrollingUp(); }
    bool autoScrollingDown() const { return m_drag.autoScrollingDown(); }

    // The whole column of day 1..7 from y = 0 to the bottom of the last row.
    void invalidateDay(int day);

    // --- the current time ---
    static constexpr QRgb NowLineColor = qRgb(214, 40, 40);
    static constexpr int NowLineThickness = 2;
    // Where the line of the clock's current time is drawn: across today's column (left of its
    // separator), its top at the time's exact position within its row. Empty when today is not
    // shown or the time lies above or below the visible rows.
    QRect nowLineRect() const;
    // Repaints where the line was and where it is now (the main timer calls this every tick).
    void refreshNowLine();
    int dayCount() const; // shown day columns, 1..7
    GridEventModel &dragModel() override { return m_model; }

signals:
    // The auto-scroll asks the panel's scroll bar to show first-visible hour `hour`.
    void scrollRequested(int hour);
    // Ctrl and the mouse wheel: zoom in (true, wheel up) or out by one step.
    void zoomRequested(bool zoomIn);
    // Lay out the time-grid panel again (strip height, row 0, row heights, row count).
    void layoutRequested();
    // The all-day strip's scroll position changed to `px` (see setStripScroll).
    void stripScrolled(int px);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintBeforeCells(QPainter &p, const QRegion &region) override;
    void paintAfterCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    // The wheel scrolls an hour per notch (scrollRequested); with Ctrl it zooms.
    void wheelEvent(QWheelEvent *e) override;

private:
    // The strip and the two mouse handlers work on the grid's model, dates and collection.
    friend class AllDayStrip;
    friend class DayGridDrag;
    friend class TimeGridDrag;
    friend class AllDayStripDrag;

    int shownRowHeight() const;
    int dayAt(int x) const; // day column under x, 0 for the time column, -1 outside
    TimeGridGeometry placementGeometry() const;
    void paintBox(QPainter &p, const SpanItem &item);
    void paintTimeColumn(QPainter &p);
    void paintNowLine(QPainter &p);
    void collect(unsigned parts, int firstDay, int lastDay, int forcedAllDay, int forcedTimeGrid);
    void placeDays(int firstDay, int lastDay, bool vertical, bool horizontal);
    // Collects, places and repaints the time-grid part of days firstDay..lastDay, the event
    // `forcedId` kept in the time grid (0: none).
    void recollectTimeDays(int firstDay, int lastDay, int forcedId);
    // 1-based day column of t's day (may lie outside 1..N).
    int dayIndexOf(SerialDateTime t) const;
    // Box under pos (its top edge 1 px lower); sets *day to the day column under pos.
    const SpanItem *itemAt(QPoint pos, int *day) const;
    // Writes the selected steps to ViewDates' selection: from the start of the first selected
    // step to the end of the last one of the first run of selected days. Nothing selected:
    // the selection is left as it is.
    void storeSelection();

    TimeGridModel &m_model;
    ViewDates &m_viewDates;
    ViewState &m_view;
    const Settings &m_settings;
    const DateTimeFormat &m_format;
    const Clock &m_clock;
    QWidget *m_stripView = nullptr;
    AllDayStrip *m_allDayStrip = nullptr;

    int m_timeScale = 15;
    int m_stepsPerDay = 96;
    int m_zoomRowHeight = 16;
    std::array<StepRange, 7> m_daySelection;
    std::vector<int> m_selectedEvents;
    GridScrollState m_scrollState;
    QRect m_nowLinePainted; // the line's last painted place, repainted when it moves
    WheelSteps m_wheel;
    // The days the last collection was for; other days scroll the strip back to its top.
    SerialDateTime m_collectedFirstDay = -1;
    int m_collectedDayCount = 0;
    TimeGridDrag m_drag{*this};
};
