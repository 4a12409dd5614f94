#include "mainwin/TasksPanelLayout.h"

#include "views/TasksGrid.h"

#include <QScrollBar>
#include <QWidget>

TasksPanelLayout::TasksPanelLayout(QWidget &panel, TasksGrid &grid)
    : PanelLayout(panel), m_grid(grid)
{
    m_bar = new QScrollBar(Qt::Vertical, &panel);
    m_bar->setFocusPolicy(Qt::NoFocus);
    QObject::connect(m_bar, &QScrollBar::valueChanged, &grid, &TasksGrid::setFirstRow);
    QObject::connect(&grid, &TasksGrid::rowsChanged, this, [this] { updateBar(); });
    layout();
}

void TasksPanelLayout::layout()
{
    const int w = std::max(m_panel.width() - ScrollBarWidth, 0);
    m_grid.setGeometry(0, 0, w, m_panel.height());
    m_bar->setGeometry(w, 0, ScrollBarWidth, m_panel.height());
    m_grid.layoutColumns();
    m_columns.clear();
    for (int c = 0; c < m_grid.colCount(); ++c)
        m_columns.push_back(m_grid.colWidth(c));
    updateBar();
}

void TasksPanelLayout::updateBar()
{
    const int rows = m_grid.taskRowCount();
    const int page = m_grid.pageRows();
    const bool fits = TasksGrid::RowPitch * (rows + 1) <= m_panel.height();
    const QSignalBlocker block(m_bar);
    m_bar->setVisible(!fits);
    m_bar->setRange(0, fits ? 0 : std::max(rows - page + 1, 0));
    m_bar->setPageStep(page);
    m_bar->setValue(m_grid.firstRow());
    if (fits && m_grid.firstRow() != 0) m_grid.setFirstRow(0);
}
