#pragma once
// PanelLayout: lays a family panel's grid out again whenever the panel is resized. Each
// family's layout says what laying out means (layout()); this class only follows the panel.
#include <QObject>
#include <vector>

class QWidget;

class PanelLayout : public QObject
{
public:
    // Lays the grid out for the panel's current size.
    virtual void layout() = 0;
    // Widths of the columns the header above the grid copies.
    const std::vector<int> &columnWidths() const { return m_columns; }

protected:
    // The panel must outlive the layout, which becomes its child. The derived constructor
    // runs the first layout().
    explicit PanelLayout(QWidget &panel);
    bool eventFilter(QObject *watched, QEvent *event) override;

    QWidget &m_panel;
    std::vector<int> m_columns;
};
