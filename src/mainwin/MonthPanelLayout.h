#pragma once
// Keeps the month grid laid out in its panel: the grid one pixel in from the panel's left edge
// and one pixel below its bottom, the 7 columns and the shown week rows sharing the grid's width
// and height out with cumulative rounding. Follows the panel's resizes by itself.
#include <QObject>
#include <vector>

class MonthGrid;
class QWidget;

class MonthPanelLayout : public QObject
{
public:
    // Both must outlive the layout; the layout is a child of the panel.
    MonthPanelLayout(QWidget &panel, MonthGrid &grid);

    // Lays the grid out for the panel's current size and its current week count.
    void layout();
    const std::vector<int> &columnWidths() const { return m_columns; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_panel;
    MonthGrid &m_grid;
    std::vector<int> m_columns;
};
