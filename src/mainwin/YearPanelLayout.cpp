#include "mainwin/YearPanelLayout.h"

#include "mainwin/TimeFamilyLayout.h"
#include "views/YearGrid.h"

#include <QEvent>
#include <QWidget>

YearPanelLayout::YearPanelLayout(QWidget &panel, YearGrid &grid)
    : QObject(&panel), m_panel(panel), m_grid(grid)
{
    panel.installEventFilter(this);
    layout();
}

void YearPanelLayout::layout()
{
    m_grid.setGeometry(1, 0, std::max(m_panel.width() - 1, 0), m_panel.height());
    m_columns = TimeFamily::columnWidths(m_grid.monthCount(),
                                         std::max(m_grid.width() - YearGrid::DayColumnWidth, 0));
    m_grid.setMonthColumns(m_columns);
    m_grid.setDayRows(TimeFamily::columnWidths(YearGrid::DayRows, m_grid.height()));
}

bool YearPanelLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_panel && event->type() == QEvent::Resize) layout();
    return QObject::eventFilter(watched, event);
}
