#include "mainwin/MonthPanelLayout.h"

#include "mainwin/TimeFamilyLayout.h"
#include "views/MonthGrid.h"

#include <QWidget>

MonthPanelLayout::MonthPanelLayout(QWidget &panel, MonthGrid &grid)
    : PanelLayout(panel), m_grid(grid)
{
    layout();
}

void MonthPanelLayout::layout()
{
    m_grid.setGeometry(1, 0, std::max(m_panel.width() - 1, 0), m_panel.height() + 1);
    m_columns = TimeFamily::columnWidths(7, m_grid.width());
    m_grid.setCellSizes(m_columns, TimeFamily::columnWidths(m_grid.weekCount(), m_grid.height()));
}
