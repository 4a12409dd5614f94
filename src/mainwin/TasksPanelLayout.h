#pragma once
// Keeps the tasks grid and its scroll bar laid out in the tasks panel: the grid from the
// panel's top left, 17 px narrower than the panel, the bar in those 17 px. The bar is hidden
// (at position 0) while every row and one more fit; otherwise it ranges over the rows with a
// page of the rows that fit.
#include "mainwin/PanelLayout.h"

class QScrollBar;
class TasksGrid;

class TasksPanelLayout : public PanelLayout
{
public:
    static constexpr int ScrollBarWidth = 17;

    // Both must outlive the layout; the layout and the bar are children of the panel.
    TasksPanelLayout(QWidget &panel, TasksGrid &grid);

    void layout() override;
    QScrollBar *scrollBar() const { return m_bar; }

private:
    // Follows the grid's rows and first row.
    void updateBar();

    TasksGrid &m_grid;
    QScrollBar *m_bar = nullptr;
};
