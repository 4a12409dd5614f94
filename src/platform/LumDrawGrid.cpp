#include "platform/LumDrawGrid.h"

#include "core/LayerPalette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TLumDrawGrid::TLumDrawGrid(QWidget *parent)
    : QWidget(parent), m_color(LayerPalette::colorFromBGR(10841658)),
      m_lineColor(LayerPalette::colorFromBGR(3947580))
{
    m_grid.setDefaultRowHeight(16);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void TLumDrawGrid::setColCount(int n)
{
    m_grid.setColCount(n);
    dropCurrentIfGone();
    update();
}

void TLumDrawGrid::setRowCount(int n)
{
    m_grid.setRowCount(n);
    dropCurrentIfGone();
    update();
}

void TLumDrawGrid::setDefaultColWidth(int w)
{
    m_grid.setDefaultColWidth(w);
    update();
}

void TLumDrawGrid::setDefaultRowHeight(int h)
{
    m_grid.setDefaultRowHeight(h);
    update();
}

void TLumDrawGrid::setColWidth(int col, int w)
{
    m_grid.setColWidth(col, w);
    update();
}

void TLumDrawGrid::setRowHeight(int row, int h)
{
    m_grid.setRowHeight(row, h);
    update();
}

void TLumDrawGrid::setFixedCols(int n)
{
    m_grid.setFixedCols(n);
    update();
}

void TLumDrawGrid::setFixedRows(int n)
{
    m_grid.setFixedRows(n);
    update();
}

void TLumDrawGrid::setGridLineWidth(int w)
{
    m_grid.setGridLineWidth(w);
    update();
}

void TLumDrawGrid::setLeftCol(int col)
{
    m_grid.setLeftCol(col);
    update();
}

void TLumDrawGrid::setTopRow(int row)
{
    m_grid.setTopRow(row);
    update();
}

void TLumDrawGrid::invalidateCell(int col, int row)
{
    const QRect r = m_grid.cellRect(col, row);
    if (r.isNull()) return;
    const int line = m_grid.gridLineWidth();
    update(r.adjusted(0, 0, line, line));
}

void TLumDrawGrid::invalidateRect(const QRect &r)
{
    update(r);
}

void TLumDrawGrid::invalidateGrid()
{
    update();
}

void TLumDrawGrid::setColor(const QColor &c)
{
    m_color = c;
    update();
}

void TLumDrawGrid::setGridLineColor(const QColor &c)
{
    m_lineColor = c;
    update();
}

void TLumDrawGrid::dropCurrentIfGone()
{
    if (m_current.col >= colCount() || m_current.row >= rowCount()) m_current = GridCell{};
}

bool TLumDrawGrid::setCurrentCell(int col, int row)
{
    if (!m_grid.isColShown(col) || !m_grid.isRowShown(row) || !canSelectCell(col, row))
        return false;
    const GridCell next{col, row};
    if (next == m_current) return true;
    if (!m_current.isNone()) invalidateCell(m_current.col, m_current.row);
    m_current = next;
    invalidateCell(col, row);
    emit currentCellChanged(m_current);
    return true;
}

void TLumDrawGrid::setPointer(GridPointer p)
{
    m_pointer = p;
    switch (p) {
    case GridPointer::Arrow:
        setCursor(Qt::ArrowCursor);
        break;
    case GridPointer::SizeVertical:
        setCursor(Qt::SizeVerCursor);
        break;
    case GridPointer::SizeHorizontal:
        setCursor(Qt::SizeHorCursor);
        break;
    case GridPointer::Drag:
        setCursor(Qt::DragMoveCursor);
        break;
    case GridPointer::SizeAll:
        setCursor(Qt::SizeAllCursor);
        break;
    }
}

void TLumDrawGrid::drawCell(QPainter &, int, int, const QRect &, GridDrawState) {}
void TLumDrawGrid::paintBeforeCells(QPainter &, const QRegion &) {}
void TLumDrawGrid::paintAfterCells(QPainter &, const QRegion &) {}
bool TLumDrawGrid::canSelectCell(int, int)
{
    return true;
}
void TLumDrawGrid::gridMouseDown(const GridMouseEvent &) {}
void TLumDrawGrid::gridMouseMove(const GridMouseEvent &) {}
void TLumDrawGrid::gridMouseUp(const GridMouseEvent &) {}

void TLumDrawGrid::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    const QRegion &region = e->region();
    for (const QRect &r : region)
        p.fillRect(r, m_color);
    paintBeforeCells(p, region);

    const QRect box = region.boundingRect();
    const std::vector<int> cols = m_grid.colsTouching(box.left(), box.right());
    const std::vector<int> rows = m_grid.rowsTouching(box.top(), box.bottom());
    const int line = m_grid.gridLineWidth();
    for (int row : rows) {
        const int y = m_grid.rowTop(row);
        const int h = m_grid.rowHeight(row);
        for (int col : cols) {
            const QRect cell(m_grid.colLeft(col), y, m_grid.colWidth(col), h);
            if (cell.isEmpty() || !region.intersects(cell.adjusted(0, 0, line, line))) continue;
            GridDrawState state;
            if (col < m_grid.fixedCols() || row < m_grid.fixedRows()) state |= GridDrawFlag::Fixed;
            if (m_current == GridCell{col, row}) {
                state |= GridDrawFlag::Selected;
                if (hasFocus()) state |= GridDrawFlag::Focused;
            }
            drawCell(p, col, row, cell, state);
        }
    }
    if (line > 0) paintGridLines(p, cols, rows);
    paintAfterCells(p, region);
}

void TLumDrawGrid::paintGridLines(QPainter &p, const std::vector<int> &cols,
                                  const std::vector<int> &rows) const
{
    const int line = m_grid.gridLineWidth();
    const int w = m_grid.totalWidth();
    const int h = m_grid.totalHeight();
    for (int col : cols)
        p.fillRect(m_grid.colLeft(col) + m_grid.colWidth(col), 0, line, h, m_lineColor);
    for (int row : rows)
        p.fillRect(0, m_grid.rowTop(row) + m_grid.rowHeight(row), w, line, m_lineColor);
}

GridMouseEvent TLumDrawGrid::makeEvent(QMouseEvent *e, bool isDouble) const
{
    GridMouseEvent g;
    g.pos = e->position().toPoint();
    g.button = e->button();
    g.shift = gridShiftState(e->buttons(), e->modifiers(), isDouble);
    g.cell = m_grid.cellAt(g.pos);
    return g;
}

void TLumDrawGrid::press(QMouseEvent *e, bool isDouble)
{
    const GridMouseEvent g = makeEvent(e, isDouble);
    if (m_clickSelects && g.button == Qt::LeftButton && !g.cell.isNone() &&
        g.cell.col >= m_grid.fixedCols() && g.cell.row >= m_grid.fixedRows())
        setCurrentCell(g.cell.col, g.cell.row);
    gridMouseDown(g);
}

void TLumDrawGrid::mousePressEvent(QMouseEvent *e)
{
    press(e, false);
}

void TLumDrawGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    press(e, true);
}

void TLumDrawGrid::mouseMoveEvent(QMouseEvent *e)
{
    gridMouseMove(makeEvent(e, false));
}

void TLumDrawGrid::mouseReleaseEvent(QMouseEvent *e)
{
    gridMouseUp(makeEvent(e, false));
}

void TLumDrawGrid::keyPressEvent(QKeyEvent *e)
{
    e->ignore();
}

void TLumDrawGrid::keyReleaseEvent(QKeyEvent *e)
{
    e->ignore();
}

void TLumDrawGrid::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    if (!m_current.isNone()) invalidateCell(m_current.col, m_current.row);
}

void TLumDrawGrid::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    if (!m_current.isNone()) invalidateCell(m_current.col, m_current.row);
}
