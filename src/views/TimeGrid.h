#pragma once
// TimeGrid: the time grid of the day and week views. Column 0 is the time column (60 px),
// columns 1..N one per shown day; row 0 is the header row that the all-day strip covers, and
// screen row r >= 1 shows time step r + ViewState.firstVisibleRow (steps count from 1 at midnight).
// The grid paints and hit-tests the time-grid part of the model's day-view collection, selects
// time ranges (written to ViewDates on release) and events, and moves or resizes an event by a
// drag, posting every step through the model and re-collecting only the touched days.
#include "core/DateTimeValue.h"
#include "platform/DrawGrid.h"
#include "store/SpanGeometry.h"
#include "store/SpanItem.h"
#include "views/TimeGridModel.h"

#include <QTimer>
#include <array>
#include <functional>
#include <vector>

class Clock;
class DateTimeFormat;
class Settings;
class ViewDates;
class ViewState;
class AllDayStrip;

// The scroll bar of the time-grid panel as the main window keeps it (whole hours).
struct GridScrollState {
    int position = 0;
    int pageSize = 23;
    int maximum = 23;
    bool atLastPosition() const { return position >= maximum - pageSize + 1; }
};

// The selection and drag state both day grids share.
enum GridDragMode : quint8 {
    DragSelect = 0,
    DragClicked = 1,
    DragMove = 2,
    DragStart = 3,
    DragEnd = 4
};

class TimeGrid : public DrawGrid
{
    Q_OBJECT
public:
    static constexpr int TimeColumnWidth = 60;
    static constexpr int MaxSelectedEvents = 100;
    static constexpr int AutoScrollMs = 60;

    // Creates the grid and the all-day strip, both children of `panel`, at the creation
    // geometry (2 columns, 101 rows, header 15 px, 15-minute scale, row height 16). The
    // references must outlive the grid.
    TimeGrid(QWidget *panel, TimeGridModel &model, ViewDates &time, ViewState &view, const Settings &reg,
                const DateTimeFormat &format, const Clock &clock);

    AllDayStrip *allDayStrip() const { return m_allDay; }

    // --- time scale and zoom ---
    // Minutes per row: 5, 6, 10, 15, 30 or 60; other values change TimeScale only.
    void setTimeScale(int minutes);
    int timeScale() const { return m_timeScale; }
    int stepsPerDay() const { return m_stepsPerDay; }
    int stepsPerHour() const { return m_stepsPerDay / 24; }
    // The zoom row height; the shown rows use the height applyRows() gives them.
    void setZoomRowHeight(int px) { m_rowHeightZoom = px; }
    int zoomRowHeight() const { return m_rowHeightZoom; }
    // +5 px unless above 50 / -5 px unless below 12. On a change: layoutRequested(), then the
    // vertical placement is redone. Return whether the height changed.
    bool zoomIn();
    bool zoomOut();
    // The scale command: sets the scale, clears the time selection, asks for a layout,
    // collects the time grid for all shown days and places both parts.
    void changeTimeScale(int minutes);

    // --- layout (the main window's panel layout calls these) ---
    // Day columns 1..widths.size() (at most 7) with the given widths, in both grids.
    void setDayColumns(const std::vector<int> &widths);
    // Row 0 (and the all-day strip) `headerHeight` high, `rowCount` rows in all (row 0
    // included), rows 1.. `rowHeight` high.
    void applyRows(int headerHeight, int rowHeight, int rowCount);

    // --- collection and placement ---
    // The central refresh: collects both parts for all shown days (no forced IDs), places
    // both and repaints both grids. ViewState.stripHeight takes the strip height; the main
    // window lays the panel out after it when the strip height changed.
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
    void clearSelectedEvents();
    const std::vector<int> &selectedEvents() const { return m_selectedEvents; }

    // --- drag state ---
    GridDragMode dragMode() const { return m_dragMode; }
    bool timeGridActive() const { return m_timeGridActive; }
    void setTimeGridActive(bool on) { m_timeGridActive = on; }
    int clickedEventId() const { return m_clickedEventId; }
    int occurrenceEventId() const { return m_occurrenceEventId; }
    SerialDateTime occurrenceDate() const { return m_occurrenceDate; }
    void setCurrentCell(int day, int step);
    int currentDay() const { return m_curDay; }
    int currentStep() const { return m_curStep; }
    // Runs the step of the current drag mode for the current cell.
    void updateDrag();
    // Re-collects and repaints the days the last drag step touched; called after every post
    // the grid makes while dragging.
    void refreshAfterPost();
    bool autoScrollingUp() const { return m_timerUp.isActive(); }
    bool autoScrollingDown() const { return m_timerDown.isActive(); }

    void invalidateBox(const QRect &r) { invalidateRect(r); }
    // The whole column of day 1..7 from y = 0 to the bottom of the last row.
    void invalidateDay(int day);

    // --- hooks the main window fills ---
    // Double click on an event: its id and, for an occurrence, the occurrence's date (else -1).
    std::function<void(int eventId, SerialDateTime occurrenceDate)> onEditEvent;
    // Double click on free time, after ViewDates.selectionStart/selectionEnd are set: the new-event command.
    std::function<void()> onNewEvent;
    // Scroll bar access for the auto-scroll ticks; without them the ticks still move the
    // dragged cell but nothing scrolls.
    std::function<GridScrollState()> scrollState;
    std::function<void(int position)> setScrollPosition;

    // For the main window and tests: the geometry handed to the placement step.
    TimeGridGeometry placementGeometry() const;
    int dayCount() const; // shown day columns, 1..7

signals:
    // A right press on an event (also with shift or ctrl): show eventMenu at globalPos.
    void eventPopupRequested(QPoint globalPos, int eventId);
    // A right release after a range selection: show selectionMenu at globalPos.
    void selectPopupRequested(QPoint globalPos);
    // The enabled state of commands may have changed.
    void commandStatesChanged();
    // Lay out the time-grid panel again (strip height, row 0, row heights, row count).
    void layoutRequested();

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintBeforeCells(QPainter &p, const QRegion &region) override;
    void paintAfterCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;
    void resizeEvent(QResizeEvent *e) override;
    void moveEvent(QMoveEvent *e) override;

private:
    friend class AllDayStrip;

    int shownRowHeight() const;
    int dayAt(int x) const; // day column under x, 0 for the time column, -1 outside
    void paintBox(QPainter &p, const SpanItem &item);
    void paintTimeColumn(QPainter &p);
    void collect(unsigned parts, int firstDay, int lastDay, int forcedAllDay, int forcedTimeGrid);
    void placeDays(int firstDay, int lastDay, bool vertical, bool horizontal);
    int dayIndexOf(SerialDateTime t) const;
    const SpanItem *itemAt(QPoint pos, int *day) const; // box under pos (top edge 1 px lower)
    bool selectEvent(int id, bool ctrl,
                     bool plainRight); // 1-based day column of t's day (may lie outside 1..N)

    void rangeStep();
    void moveStep();
    void changeStartStep();
    void changeEndStep();
    bool postStep(const GridEventRow &row);
    void upTick();
    void downTick();
    void stopTimers();

    TimeGridModel &m_model;
    ViewDates &m_time;
    ViewState &m_view;
    const Settings &m_reg;
    const DateTimeFormat &m_format;
    const Clock &m_clock;
    AllDayStrip *m_allDay = nullptr;

    int m_timeScale = 15;
    int m_stepsPerDay = 96;
    int m_rowHeightZoom = 16;
    std::array<StepRange, 7> m_daySelection;
    std::vector<int> m_selectedEvents;

    GridDragMode m_dragMode = DragSelect;
    bool m_pressed = false; // a handled press is held
    Qt::MouseButton m_pressButton = Qt::NoButton;
    bool m_timeGridActive = false;
    int m_clickedEventId = 0;
    int m_occurrenceEventId = -1;
    SerialDateTime m_occurrenceDate = -1;
    int m_anchorDay = 1, m_anchorStep = 1;
    int m_prevDay = 1, m_prevStep = 1;
    int m_curDay = 1, m_curStep = 1;
    bool m_isOutside = false;
    SerialDateTime m_newStart = 0, m_newEnd = 0, m_oldStart = 0, m_oldEnd = 0;
    GridEventRow m_dragRow; // the dragged row as last read

    QTimer m_timerUp;
    QTimer m_timerDown;
};
