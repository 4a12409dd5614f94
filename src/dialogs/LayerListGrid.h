#pragma once
// The layer manager's list of layers: a header row ("Name", "Events", "Tasks", "Shown",
// "Archive") over one 16-pixel row per layer. The name sits on the layer's palette colour (a
// selected row in the selection colour with white text), the counts and the archiving age on
// the layer colour right of a dark line, and "Shown" is a box a click ticks or clears.
//
// The list holds the working rows of the dialog and their selection. A click selects a row
// alone, Shift+click the rows from the focus row to it, Ctrl+click toggles a row (the last
// selected row stays). When the list is editable, dragging over another row moves the row the
// drag started on there, and the "Shown" boxes can be clicked.
#include "platform/DrawGrid.h"
#include "store/LayerRow.h"

#include <vector>

class LayerListGrid : public DrawGrid
{
    Q_OBJECT
public:
    struct Row {
        LayerRow layer; // id -1: made in the dialog and not stored yet
        int eventCount = 0;
        int taskCount = 0;
        bool selected = false;
    };
    static constexpr int HeaderHeight = 18;
    static constexpr int RowHeight = 16;
    enum Column { NameCol, EventsCol, TasksCol, ShownCol, ArchiveCol, ColumnCount };

    explicit LayerListGrid(QWidget *parent);

    void setEditable(bool on) { m_editable = on; }
    // Replaces the rows; the first row (if any) becomes the only selected one.
    void setRows(std::vector<Row> rows);
    const std::vector<Row> &rows() const { return m_rows; }
    std::vector<Row> &rows() { return m_rows; }
    int selectedCount() const;
    // Indexes of the selected rows in list order.
    std::vector<int> selectedRows() const;
    // Selects row `i` alone (it becomes the focus row); nothing for an index outside the list.
    void selectOnly(int i);
    // Widget rectangle of list row `i` (0 = first layer), column `col`.
    QRect rowRect(int i, int col) const { return cellRect(col, i + 1); }
    // Called after the rows changed from outside: resizes and repaints.
    void rowsChanged();

signals:
    // The selection or the order changed through the mouse.
    void selectionChanged();
    // A "Shown" box was clicked and its row's layer.shown flipped.
    void shownToggled(int row);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;

private:
    std::vector<Row> m_rows;
    int m_focusRow = 0;
    int m_anchorRow = -1;    // row the left button went down on; -1 none
    bool m_editable = false; // the order and the "Shown" boxes can be changed
};
