// The time grid and all-day strip of views 0-8 over the events store, and how the window
// steers them: layout, collection, scrolling, popups and posts from elsewhere.
#include "mainwin/MainDM.h"

#include "mainwin/EventsGridModel.h"
#include "views/GridsDM.h"

#include <QMenu>
#include <QScrollBar>

void TForm_Main::buildTimeGrid()
{
    m_gridModel = std::make_unique<EventsGridModel>(m_events, m_layers);
    m_dw = new TLumGrid_DW(m_panelDW, *m_gridModel, m_time, m_view, m_reg, m_format, m_clock);
    m_dw->setObjectName(QStringLiteral("Grid_DW"));
    m_dw->allDay()->setObjectName(QStringLiteral("Grid_AllDay"));
    TLumGrid_DW *grid = m_dw;

    TimeGridHooks hooks;
    hooks.reinitialise = [grid] {
        grid->ClearTimeSelection();
        grid->ClearSelectedEvents();
        grid->allDay()->ClearSelectedEvents();
    };
    hooks.applyLayout = [this, grid](int minutes, const TimeFamily::RowLayout &rows,
                                     const std::vector<int> &dayWidths) {
        grid->SetTimeScale(minutes);
        grid->SetRowHeight(m_zoomRowHeight);
        grid->SetDayColumns(dayWidths);
        grid->ApplyRows(rows.headerHeight, rows.rowHeight, rows.rowCount);
        grid->PlaceAll();
    };
    hooks.collect = [this, grid] {
        // The strip's height follows what it holds; a new height changes the rows below it.
        const int stripBefore = m_view.MinRowHeight;
        grid->CollectAll();
        if (m_view.MinRowHeight != stripBefore) layoutTimeRows();
    };
    hooks.placeVertical = [grid] {
        grid->PlaceVertical();
        grid->allDay()->update();
    };
    setTimeGridHooks(std::move(hooks));

    // The grid drives its own auto-scroll timers; the window only owns the scroll bar. The
    // maximum is the last hour, so the last page starts at 24 - page.
    grid->scrollState = [this] {
        return GridScrollState{m_scrollDW->value(), m_rows.pageSize, 23};
    };
    grid->setScrollPosition = [this](int hour) { scrollToHour(hour); };

    connect(grid, &TLumGrid_DW::eventPopupRequested, this,
            [this](QPoint at, int) { m_popupEvent->popup(at); });
    connect(grid, &TLumGrid_DW::selectPopupRequested, this,
            [this](QPoint at) { m_popupSelect->popup(at); });
    connect(grid, &TLumGrid_DW::commandStatesChanged, this, &TForm_Main::updateCommands);
    connect(grid, &TLumGrid_DW::layoutRequested, this, [this] { layoutTimeRows(); });

    installTimeGrid(grid, grid->allDay());
}

void TForm_Main::eventsPosted()
{
    if (m_gridModel && m_gridModel->postingDrag()) return;
    if (m_refreshPending) return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending) refresh();
    });
}
