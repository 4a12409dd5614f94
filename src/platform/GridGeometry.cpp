#include "platform/GridGeometry.h"

#include <algorithm>

GridGeometry::GridGeometry() = default;

void GridGeometry::setColCount(int n)
{
    m_colWidths.resize(std::size_t(std::max(0, n)), m_defaultColWidth);
    m_fixedCols = std::min(m_fixedCols, colCount());
    clampScroll();
}

void GridGeometry::setRowCount(int n)
{
    m_rowHeights.resize(std::size_t(std::max(0, n)), m_defaultRowHeight);
    m_fixedRows = std::min(m_fixedRows, rowCount());
    clampScroll();
}

void GridGeometry::setDefaultColWidth(int w)
{
    m_defaultColWidth = std::max(0, w);
    std::fill(m_colWidths.begin(), m_colWidths.end(), m_defaultColWidth);
}

void GridGeometry::setDefaultRowHeight(int h)
{
    m_defaultRowHeight = std::max(0, h);
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), m_defaultRowHeight);
}

void GridGeometry::setColWidth(int col, int w)
{
    if (col >= 0 && col < colCount()) m_colWidths[std::size_t(col)] = std::max(0, w);
}

void GridGeometry::setRowHeight(int row, int h)
{
    if (row >= 0 && row < rowCount()) m_rowHeights[std::size_t(row)] = std::max(0, h);
}

int GridGeometry::colWidth(int col) const
{
    return col >= 0 && col < colCount() ? m_colWidths[std::size_t(col)] : 0;
}

int GridGeometry::rowHeight(int row) const
{
    return row >= 0 && row < rowCount() ? m_rowHeights[std::size_t(row)] : 0;
}

void GridGeometry::setFixedCols(int n)
{
    m_fixedCols = std::clamp(n, 0, colCount());
    clampScroll();
}

void GridGeometry::setFixedRows(int n)
{
    m_fixedRows = std::clamp(n, 0, rowCount());
    clampScroll();
}

void GridGeometry::setGridLineWidth(int w)
{
    m_lineWidth = std::max(0, w);
}

void GridGeometry::setLeftCol(int col)
{
    m_leftCol = col;
    clampScroll();
}

void GridGeometry::setTopRow(int row)
{
    m_topRow = row;
    clampScroll();
}

void GridGeometry::clampScroll()
{
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, std::max(m_fixedCols, colCount() - 1));
    m_topRow = std::clamp(m_topRow, m_fixedRows, std::max(m_fixedRows, rowCount() - 1));
}

bool GridGeometry::isColShown(int col) const
{
    return col >= 0 && col < colCount() && (col < m_fixedCols || col >= m_leftCol);
}

bool GridGeometry::isRowShown(int row) const
{
    return row >= 0 && row < rowCount() && (row < m_fixedRows || row >= m_topRow);
}

int GridGeometry::startOf(const std::vector<int> &sizes, int fixed, int offset, int line, int i)
{
    const int n = int(sizes.size());
    if (i < 0 || i >= n || (i >= fixed && i < offset)) return -1;
    int pos = 0;
    for (int k = 0; k < n && k < i; ++k) {
        if (k >= fixed && k < offset) continue;
        pos += sizes[std::size_t(k)] + line;
    }
    return pos;
}

int GridGeometry::indexAt(const std::vector<int> &sizes, int fixed, int offset, int line, int pos)
{
    if (pos < 0) return -1;
    int start = 0;
    const int n = int(sizes.size());
    for (int k = 0; k < n; ++k) {
        if (k >= fixed && k < offset) continue;
        const int end = start + sizes[std::size_t(k)] + line;
        if (pos < end) return k;
        start = end;
    }
    return -1;
}

int GridGeometry::extentOf(const std::vector<int> &sizes, int fixed, int offset, int line)
{
    int total = 0;
    for (int k = 0; k < int(sizes.size()); ++k) {
        if (k >= fixed && k < offset) continue;
        total += sizes[std::size_t(k)] + line;
    }
    return total;
}

std::vector<int> GridGeometry::touching(const std::vector<int> &sizes, int fixed, int offset,
                                        int line, int first, int last)
{
    std::vector<int> out;
    int start = 0;
    for (int k = 0; k < int(sizes.size()) && start <= last; ++k) {
        if (k >= fixed && k < offset) continue;
        const int end = start + sizes[std::size_t(k)] + line; // exclusive
        if (end > start && end > first) out.push_back(k);
        start = end;
    }
    return out;
}

int GridGeometry::colLeft(int col) const
{
    return startOf(m_colWidths, m_fixedCols, m_leftCol, m_lineWidth, col);
}

int GridGeometry::rowTop(int row) const
{
    return startOf(m_rowHeights, m_fixedRows, m_topRow, m_lineWidth, row);
}

QRect GridGeometry::cellRect(int col, int row) const
{
    const int x = colLeft(col);
    const int y = rowTop(row);
    if (x < 0 || y < 0) return QRect();
    return QRect(x, y, colWidth(col), rowHeight(row));
}

int GridGeometry::colAt(int x) const
{
    return indexAt(m_colWidths, m_fixedCols, m_leftCol, m_lineWidth, x);
}

int GridGeometry::rowAt(int y) const
{
    return indexAt(m_rowHeights, m_fixedRows, m_topRow, m_lineWidth, y);
}

GridCell GridGeometry::cellAt(QPoint p) const
{
    const int col = colAt(p.x());
    const int row = rowAt(p.y());
    if (col < 0 || row < 0) return GridCell{};
    return GridCell{col, row};
}

int GridGeometry::totalWidth() const
{
    return extentOf(m_colWidths, m_fixedCols, m_leftCol, m_lineWidth);
}

int GridGeometry::totalHeight() const
{
    return extentOf(m_rowHeights, m_fixedRows, m_topRow, m_lineWidth);
}

std::vector<int> GridGeometry::colsTouching(int first, int last) const
{
    return touching(m_colWidths, m_fixedCols, m_leftCol, m_lineWidth, first, last);
}

std::vector<int> GridGeometry::rowsTouching(int first, int last) const
{
    return touching(m_rowHeights, m_fixedRows, m_topRow, m_lineWidth, first, last);
}
