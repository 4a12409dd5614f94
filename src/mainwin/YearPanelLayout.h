#pragma once
// Keeps the year grid laid out in its panel: the grid one pixel in from the panel's left edge
// and as high as the panel, the day-number column at its fixed width, the shown month columns
// sharing the rest of the width and the 31 day rows the height, with cumulative rounding.
// Follows the panel's resizes by itself. columnWidths() are the month columns only.
#include "mainwin/PanelLayout.h"

class YearGrid;

class YearPanelLayout : public PanelLayout
{
public:
    // Both must outlive the layout; the layout is a child of the panel.
    YearPanelLayout(QWidget &panel, YearGrid &grid);

    // Lays the grid out for the panel's current size and its current month count.
    void layout() override;

private:
    YearGrid &m_grid;
};
