#include "mainwin/TimePanelLayout.h"

#include "core/ViewState.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>

namespace
{
// The scroll bar's maximum as the grid's auto-scroll sees it: the last hour.
constexpr int LastHour = 23;
} // namespace

TimePanelLayout::TimePanelLayout(QWidget &panel, TimeGrid &grid, ViewState &view)
    : QObject(&panel), m_panel(panel), m_grid(grid), m_view(view)
{
    m_scrollBar = new QScrollBar(Qt::Vertical, &panel);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setRange(0, 1);
    m_scrollBar->setPageStep(23);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &TimePanelLayout::scrollBarMoved);
    connect(&grid, &TimeGrid::scrollRequested, this, &TimePanelLayout::scrollToHour);

    m_stripScrollBar = new QScrollBar(Qt::Vertical, &panel);
    m_stripScrollBar->setFocusPolicy(Qt::NoFocus);
    m_stripScrollBar->setSingleStep(AllDayStrip::LanePitch);
    m_stripScrollBar->hide();
    connect(m_stripScrollBar, &QScrollBar::valueChanged, &grid, &TimeGrid::setStripScroll);
    connect(&grid, &TimeGrid::stripScrolled, m_stripScrollBar, &QScrollBar::setValue);
    grid.allDayStrip()->installEventFilter(this);
}

void TimePanelLayout::layoutColumns()
{
    const int gridWidth = std::max(m_panel.width() - ScrollBarWidth, 0);
    m_dayWidths =
        TimeFamily::columnWidths(m_view.columnCount, gridWidth - TimeFamily::TimeAxisWidth);
    m_grid.setGeometry(1, 0, gridWidth, m_panel.height());
}

int TimePanelLayout::stripHeightLimit() const
{
    return m_panel.height() / 3;
}

void TimePanelLayout::layoutRows(int clientHeight)
{
    // Row 0 is the strip's height plus what is left over below the last row; the strip gives
    // up pixels until the two fit under the limit (never below the height of no lanes).
    const int steps = TimeFamily::stepsPerDay(m_minutesPerRow);
    const int limit = stripHeightLimit();
    const int floor = std::min(int(m_view.stripHeight), int(ViewState::DefaultStripHeight));
    int strip = std::max(std::min(int(m_view.stripHeight), limit), floor);
    m_rows = TimeFamily::rowLayout(clientHeight, strip, m_zoomRowHeight, steps);
    while (m_rows.headerHeight > limit && strip > floor)
        m_rows = TimeFamily::rowLayout(clientHeight, --strip, m_zoomRowHeight, steps);
    m_view.rowCount = m_rows.rowCount;
    m_grid.setTimeScale(m_minutesPerRow);
    m_grid.setZoomRowHeight(m_zoomRowHeight);
    m_grid.setDayColumns(m_dayWidths);
    m_grid.applyRows(m_rows.headerHeight, m_rows.rowHeight, m_rows.rowCount);
    m_grid.placeAll();

    m_settingScrollBar = true;
    m_scrollBar->setPageStep(m_rows.pageSize);
    m_scrollBar->setRange(0, TimeFamily::lastScrollHour(m_rows.pageSize));
    if (m_rows.scrollBarVisible) {
        m_scrollBar->setGeometry(m_panel.width() - ScrollBarWidth + 1, m_rows.scrollBarTop,
                                 ScrollBarWidth - 2, m_rows.scrollBarHeight);
        m_scrollBar->show();
    } else {
        m_scrollBar->hide();
        m_scrollBar->setValue(0);
    }
    m_settingScrollBar = false;
    scrollBarMoved(m_scrollBar->value());
    layoutStripScrollBar();
}

void TimePanelLayout::layoutStripScrollBar()
{
    const int hidden = m_grid.stripScrollMaximum();
    m_stripScrollBar->setRange(0, hidden);
    m_stripScrollBar->setPageStep(std::max(m_rows.headerHeight, 1));
    m_stripScrollBar->setValue(m_grid.stripScroll());
    if (hidden > 0) {
        m_stripScrollBar->setGeometry(m_panel.width() - ScrollBarWidth + 1, 0, ScrollBarWidth - 2,
                                      m_rows.headerHeight);
        m_stripScrollBar->show();
    } else {
        m_stripScrollBar->hide();
    }
}

bool TimePanelLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && m_stripScrollBar->isVisible()) {
        QCoreApplication::sendEvent(m_stripScrollBar, event);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool TimePanelLayout::zoom(int (*zoomed)(int rowHeight))
{
    const int shown = m_rows.rowHeight > 0 ? m_rows.rowHeight : m_zoomRowHeight;
    const int before = m_zoomRowHeight;
    m_zoomRowHeight = zoomed(shown);
    return m_zoomRowHeight != before;
}

bool TimePanelLayout::zoomIn()
{
    return zoom(&TimeFamily::zoomedIn);
}

bool TimePanelLayout::zoomOut()
{
    return zoom(&TimeFamily::zoomedOut);
}

int TimePanelLayout::scrollHour() const
{
    return m_scrollBar->value();
}

void TimePanelLayout::scrollToHour(int hour)
{
    m_scrollBar->setValue(std::clamp(hour, 0, m_scrollBar->maximum()));
}

void TimePanelLayout::scrollBarMoved(int hour)
{
    if (m_settingScrollBar) return;
    m_view.firstVisibleRow =
        TimeFamily::startPosition(hour, m_rows.pageSize, m_minutesPerRow, m_rows.rowCount);
    m_grid.setScrollState({hour, m_rows.pageSize, LastHour});
    m_grid.placeVertical();
    m_grid.allDayStrip()->update();
}
