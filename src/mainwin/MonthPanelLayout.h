#pragma once
// Keeps the month grid laid out in its panel: the grid one pixel in from the panel's left edge
// and one pixel below its bottom, the 7 columns and the shown week rows sharing the grid's width
// and height out with cumulative rounding. Follows the panel's resizes by itself.
#include "mainwin/PanelLayout.h"

class MonthGrid;

class MonthPanelLayout : public PanelLayout
{
public:
    // Both must outlive the layout; the layout is a child of the panel.
    MonthPanelLayout(QWidget &panel, MonthGrid &grid);

    // Lays the grid out for the panel's current size and its current week count.
    void layout() override;

private:
    MonthGrid &m_grid;
};
