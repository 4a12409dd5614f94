#include "mainwin/YearPanelLayout.h"

#include "mainwin/TimeFamilyLayout.h"
#include "views/YearGrid.h"

#include <QWidget>

YearPanelLayout::YearPanelLayout(QWidget &panel, YearGrid &grid) : PanelLayout(panel), m_grid(grid)
{
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
