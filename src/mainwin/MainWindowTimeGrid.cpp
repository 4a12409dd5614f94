// The time grid and all-day strip of views 0-8 over the events store, and how the window
// steers them: layout, collection, scrolling, popups and posts from elsewhere.
#include "mainwin/MainWindow.h"

#include "mainwin/EventsStoreGridModel.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"

#include <QMenu>
#include <QScrollBar>

void MainWindow::buildTimeGrid()
{
    m_gridModel = std::make_unique<EventsStoreGridModel>(m_events, m_layers);
    m_dw = new TimeGrid(m_panelDW, *m_gridModel, m_time, m_view, m_reg, m_format, m_clock);
    m_dw->setObjectName(QStringLiteral("Grid_DW"));
    m_dw->allDayStrip()->setObjectName(QStringLiteral("Grid_AllDay"));
    TimeGrid *grid = m_dw;

    TimeGridHooks hooks;
    hooks.reinitialise = [grid] {
        grid->clearTimeSelection();
        grid->clearSelectedEvents();
        grid->allDayStrip()->clearSelectedEvents();
    };
    hooks.applyLayout = [this, grid](int minutes, const TimeFamily::RowLayout &rows,
                                     const std::vector<int> &dayWidths) {
        grid->setTimeScale(minutes);
        grid->setZoomRowHeight(m_zoomRowHeight);
        grid->setDayColumns(dayWidths);
        grid->applyRows(rows.headerHeight, rows.rowHeight, rows.rowCount);
        grid->placeAll();
    };
    hooks.collect = [this, grid] {
        // The strip's height follows what it holds; a new height changes the rows below it.
        const int stripBefore = m_view.stripHeight;
        grid->collectAll();
        if (m_view.stripHeight != stripBefore) layoutTimeRows();
    };
    hooks.placeVertical = [grid] {
        grid->placeVertical();
        grid->allDayStrip()->update();
    };
    setTimeGridHooks(std::move(hooks));

    // The grid drives its own auto-scroll timers; the window only owns the scroll bar. The
    // maximum is the last hour, so the last page starts at 24 - page.
    grid->scrollState = [this] {
        return GridScrollState{m_scrollDW->value(), m_rows.pageSize, 23};
    };
    grid->setScrollPosition = [this](int hour) { scrollToHour(hour); };

    connect(grid, &TimeGrid::eventPopupRequested, this,
            [this](QPoint at, int) { m_popupEvent->popup(at); });
    connect(grid, &TimeGrid::selectPopupRequested, this,
            [this](QPoint at) { m_popupSelect->popup(at); });
    connect(grid, &TimeGrid::commandStatesChanged, this, &MainWindow::updateCommands);
    connect(grid, &TimeGrid::layoutRequested, this, [this] { layoutTimeRows(); });

    installTimeGrid(grid, grid->allDayStrip());
}

void MainWindow::eventsPosted()
{
    if (m_gridModel && m_gridModel->postingDrag()) return;
    if (m_refreshPending) return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending) refresh();
    });
}
