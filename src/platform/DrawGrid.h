#pragma once
// DrawGrid: the owner-drawn grid every calendar grid derives from. It owns the cell
// geometry, paints by cell through drawCell(), turns Qt's mouse events into press / move /
// release handlers with the button-and-modifier set, and sets the pointer shape.
//
// Defaults: no border, background colour 10841658, default row height 16, no fixed rows or
// columns, grid line width 0, no scroll bars. Key presses are ignored, so they reach the
// parent (the main window handles the arrow keys). The grid takes focus on a click.
#include "platform/GridGeometry.h"
#include "platform/GridInput.h"

#include <QColor>
#include <QFlags>
#include <QWidget>

class QPainter;

enum class GridDrawFlag : unsigned {
    Selected = 0x1, // the current cell
    Focused = 0x2,  // the current cell while the grid has keyboard focus
    Fixed = 0x4,    // a cell of a fixed row or column
};
Q_DECLARE_FLAGS(GridDrawState, GridDrawFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridDrawState)

class DrawGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DrawGrid(QWidget *parent = nullptr);

    const GridGeometry &grid() const { return m_grid; }

    // Geometry; every setter repaints the grid. See GridGeometry for the edge rules.
    void setColCount(int n);
    void setRowCount(int n);
    int colCount() const { return m_grid.colCount(); }
    int rowCount() const { return m_grid.rowCount(); }
    void setDefaultColWidth(int w);
    void setDefaultRowHeight(int h);
    int defaultColWidth() const { return m_grid.defaultColWidth(); }
    int defaultRowHeight() const { return m_grid.defaultRowHeight(); }
    void setColWidth(int col, int w);
    void setRowHeight(int row, int h);
    int colWidth(int col) const { return m_grid.colWidth(col); }
    int rowHeight(int row) const { return m_grid.rowHeight(row); }
    void setFixedCols(int n);
    void setFixedRows(int n);
    void setGridLineWidth(int w);
    int gridLineWidth() const { return m_grid.gridLineWidth(); }
    void setLeftCol(int col);
    void setTopRow(int row);
    int leftCol() const { return m_grid.leftCol(); }
    int topRow() const { return m_grid.topRow(); }

    QRect cellRect(int col, int row) const { return m_grid.cellRect(col, row); }
    GridCell cellAt(QPoint p) const { return m_grid.cellAt(p); }

    // Schedule a repaint of one cell with its grid lines (nothing for a hidden cell), of a
    // rectangle in widget coordinates (an empty one repaints nothing), or of the whole grid.
    void invalidateCell(int col, int row);
    void invalidateRect(const QRect &r);
    void invalidateGrid();

    // Background of everything the cells do not cover, filled before the cells are drawn.
    void setColor(const QColor &c);
    QColor color() const { return m_color; }
    // Colour of the grid lines (only drawn when the line width is above 0).
    void setGridLineColor(const QColor &c);
    QColor gridLineColor() const { return m_lineColor; }

    // The current cell; none at first and after the counts shrink below it. setCurrentCell asks
    // canSelectCell() and returns whether the cell became current; a cell out of range or scrolled
    // out is refused.
    GridCell currentCell() const { return m_current; }
    bool setCurrentCell(int col, int row);
    // When on, a left press on a non-fixed cell tries to make it current before
    // gridMouseDown() runs. Off by default.
    void setClickSelectsCell(bool on) { m_clickSelects = on; }

    void setPointer(GridPointer p);
    GridPointer pointer() const { return m_pointer; }

signals:
    void currentCellChanged(GridCell cell);

protected:
    // Draw one cell. Called for every shown cell whose rectangle or grid lines touch the
    // region being painted; the painter is clipped to that region, not to the cell.
    virtual void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state);
    // Hooks around the cells, for what spans cells (event boxes, bars, labels).
    virtual void paintBeforeCells(QPainter &p, const QRegion &region);
    virtual void paintAfterCells(QPainter &p, const QRegion &region);
    virtual bool canSelectCell(int col, int row);

    // Mouse handlers. A press is followed by moves and one release even when the pointer
    // leaves the grid (the grid holds the mouse while a button is down). Moves also come
    // without a button (pointer tracking).
    virtual void gridMouseDown(const GridMouseEvent &e);
    virtual void gridMouseMove(const GridMouseEvent &e);
    virtual void gridMouseUp(const GridMouseEvent &e);

    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    GridMouseEvent makeEvent(QMouseEvent *e, bool isDouble) const;
    void press(QMouseEvent *e, bool isDouble);
    void dropCurrentIfGone();
    void paintGridLines(QPainter &p, const std::vector<int> &cols,
                        const std::vector<int> &rows) const;

    GridGeometry m_grid;
    QColor m_color;
    QColor m_lineColor;
    GridCell m_current;
    bool m_clickSelects = false;
    GridPointer m_pointer = GridPointer::Arrow;
};
