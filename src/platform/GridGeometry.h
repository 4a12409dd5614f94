#pragma once
// Cell geometry of an owner-drawn grid, kept apart from the widget so hit-testing and cell
// rectangles can be computed and tested without a window.
//
// Columns are laid out left to right starting at x = 0: first the fixed columns
// 0..fixedCols-1, then the scrolled columns from leftCol() on; the columns between the fixed
// ones and leftCol() are scrolled out and take no space. Each shown column is its width wide
// and is followed by a grid line gridLineWidth() wide. Rows work the same way from y = 0 with
// topRow(). All sizes are in pixels.
#include <QRect>

#include <vector>

// A cell position. "None" is col = row = -1.
struct GridCell {
    int col = -1;
    int row = -1;

    bool isNone() const { return col < 0 || row < 0; }
    friend bool operator==(const GridCell &, const GridCell &) = default;
};

class GridGeometry
{
public:
    GridGeometry();

    // Counts below 0 are taken as 0. New columns or rows get the default size; fixed counts,
    // leftCol and topRow are pulled back into range.
    void setColCount(int n);
    void setRowCount(int n);
    int colCount() const { return int(m_colWidths.size()); }
    int rowCount() const { return int(m_rowHeights.size()); }

    // Setting a default size gives every column (row) that size, dropping earlier per-column
    // (per-row) sizes. Sizes below 0 are taken as 0.
    void setDefaultColWidth(int w);
    void setDefaultRowHeight(int h);
    int defaultColWidth() const { return m_defaultColWidth; }
    int defaultRowHeight() const { return m_defaultRowHeight; }

    // Per-column width and per-row height; an index out of range is ignored on setting and
    // reads as 0. A size of 0 hides the column or row.
    void setColWidth(int col, int w);
    void setRowHeight(int row, int h);
    int colWidth(int col) const;
    int rowHeight(int row) const;

    // Fixed columns (rows) never scroll; clamped to 0..count.
    void setFixedCols(int n);
    void setFixedRows(int n);
    int fixedCols() const { return m_fixedCols; }
    int fixedRows() const { return m_fixedRows; }

    // Width of the line after every shown column and row; below 0 is taken as 0.
    void setGridLineWidth(int w);
    int gridLineWidth() const { return m_lineWidth; }

    // First scrolled column (row) shown after the fixed ones; clamped to fixedCols()..count-1
    // (to fixedCols() when there are no scrolled columns).
    void setLeftCol(int col);
    void setTopRow(int row);
    int leftCol() const { return m_leftCol; }
    int topRow() const { return m_topRow; }

    // True for a column (row) that takes space: fixed, or at or after leftCol (topRow).
    bool isColShown(int col) const;
    bool isRowShown(int row) const;

    // x of the left edge of a shown column (y of the top edge of a shown row); -1 when the
    // column (row) is out of range or scrolled out.
    int colLeft(int col) const;
    int rowTop(int row) const;

    // The cell's rectangle without its grid lines (which lie right of and below it). A null
    // QRect when the cell is out of range or scrolled out. The rectangle may reach beyond the
    // widget; it is not clipped.
    QRect cellRect(int col, int row) const;
    QRect cellRect(GridCell c) const { return cellRect(c.col, c.row); }

    // The column (row) under x (y). The grid line after a column belongs to that column, so
    // every x from 0 to totalWidth() - 1 names a column. -1 for x < 0, x >= totalWidth() and
    // for x inside a zero-width column with no grid line.
    int colAt(int x) const;
    int rowAt(int y) const;
    // The cell under a point; none when either the column or the row is none.
    GridCell cellAt(QPoint p) const;

    // Extent of all shown columns (rows) with their grid lines.
    int totalWidth() const;
    int totalHeight() const;

    // The shown columns (rows), in screen order, whose cell or grid line touches the pixel
    // range first..last (inclusive). Empty when nothing touches it.
    std::vector<int> colsTouching(int first, int last) const;
    std::vector<int> rowsTouching(int first, int last) const;

private:
    // The helpers below work on one axis (columns or rows) given its sizes, fixed count,
    // scroll offset and line width.
    static int startOf(const std::vector<int> &sizes, int fixed, int offset, int line, int i);
    static int indexAt(const std::vector<int> &sizes, int fixed, int offset, int line, int pos);
    static int extentOf(const std::vector<int> &sizes, int fixed, int offset, int line);
    static std::vector<int> touching(const std::vector<int> &sizes, int fixed, int offset, int line,
                                     int first, int last);
    void clampScroll();

    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 16;
    int m_fixedCols = 0;
    int m_fixedRows = 0;
    int m_lineWidth = 0;
    int m_leftCol = 0;
    int m_topRow = 0;
};
