#pragma once
// The time-grid panel of views 0-8: the time grid with its all-day strip and the scroll bar of
// whole hours. Works out the day columns and the rows for the panel's size, the time scale and
// the zoom height (the TimeFamily numbers), hands them to the grid, keeps the scroll bar's
// range and page, and turns its position into the first visible row
// (ViewState.firstVisibleRow). The main window lays its panel out through this; the UI tests
// and the benchmarks lay theirs out the same way.
#include "mainwin/TimeFamilyLayout.h"

#include <QObject>
#include <vector>

class QScrollBar;
class QWidget;
class TimeGrid;
class ViewState;

class TimePanelLayout : public QObject
{
    Q_OBJECT
public:
    static constexpr int ScrollBarWidth = 18;

    // `panel` holds `grid` and its strip; the scroll bar is created in it. The layout is a
    // child of the panel. The grid and `view` must outlive it.
    TimePanelLayout(QWidget &panel, TimeGrid &grid, ViewState &view);

    // Minutes per row of the time scale (5 to 60) the rows are laid out for.
    void setMinutesPerRow(int minutes) { m_minutesPerRow = minutes; }
    int minutesPerRow() const { return m_minutesPerRow; }
    // The row height the zoom commands set; rows are taller when a whole day fits.
    void setZoomRowHeight(int px) { m_zoomRowHeight = px; }
    int zoomRowHeight() const { return m_zoomRowHeight; }
    // The zoom commands: the row height shown (the zoom height before any layout) +5 unless
    // above 50, or -5 unless below 12, becomes the zoom height. True when the zoom height
    // changed. The rows are laid out again by the caller.
    bool zoomIn();
    bool zoomOut();

    // Columns: the grid fills the panel left of the scroll bar; view.columnCount day columns
    // share its width right of the time axis (TimeFamily::columnWidths).
    void layoutColumns();
    // Rows for the window's client height (the rows are counted from the whole client area:
    // the panel plus the window's top and bottom bars) and view.stripHeight: row 0 and
    // the strip, the rows, view.rowCount, the scroll bar's page and range, and the first
    // visible row for its position. The grid gets scale, zoom, columns and rows and is placed.
    // Row 0, and so the visible strip, never takes more than a third of the panel's height
    // (stripHeightLimit()), unless a third is less than an empty strip's 15 px; lanes below
    // scroll inside the strip, by the wheel over the strip or the strip's scroll bar beside it.
    void layoutRows(int clientHeight);
    int stripHeightLimit() const;

    const std::vector<int> &dayWidths() const { return m_dayWidths; }
    const TimeFamily::RowLayout &rows() const { return m_rows; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    // Beside the strip; shown while its lanes do not all fit.
    QScrollBar *stripScrollBar() const { return m_stripScrollBar; }
    // First visible hour: the scroll bar's position.
    int scrollHour() const;
    // Scrolls to first-visible hour `hour`, kept within the scroll bar's range.
    void scrollToHour(int hour);

protected:
    // Wheel turns over the strip scroll it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutStripScrollBar();
    bool zoom(int (*zoomed)(int rowHeight));
    void scrollBarMoved(int hour);

    QWidget &m_panel;
    TimeGrid &m_grid;
    ViewState &m_view;
    QScrollBar *m_scrollBar = nullptr;
    QScrollBar *m_stripScrollBar = nullptr;
    int m_minutesPerRow = TimeFamily::ScaleMinutes[TimeFamily::DefaultScaleIndex];
    int m_zoomRowHeight = TimeFamily::DefaultRowHeight;
    TimeFamily::RowLayout m_rows;
    std::vector<int> m_dayWidths;
    bool m_settingScrollBar = false;
};
