#pragma once
// Keeps the year grid laid out in its panel: the grid one pixel in from the panel's left edge
// and as high as the panel, the day-number column at its fixed width, the shown month columns
// sharing the rest of the width and the 31 day rows the height, with cumulative rounding.
// Follows the panel's resizes by itself.
#include <QObject>
#include <vector>

class QWidget;
class YearGrid;

class YearPanelLayout : public QObject
{
public:
    // Both must outlive the layout; the layout is a child of the panel.
    YearPanelLayout(QWidget &panel, YearGrid &grid);

    // Lays the grid out for the panel's current size and its current month count.
    void layout();
    // Widths of the month columns, without the day-number column.
    const std::vector<int> &columnWidths() const { return m_columns; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_panel;
    YearGrid &m_grid;
    std::vector<int> m_columns;
};
