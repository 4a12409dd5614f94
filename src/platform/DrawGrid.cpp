#include "platform/DrawGrid.h"

#include "core/LayerPalette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

DrawGrid::DrawGrid(QWidget *parent)
    : QWidget(parent), m_color(LayerPalette::colorFromBGR(10841658)),
      m_lineColor(LayerPalette::colorFromBGR(3947580))
{
    m_grid.setDefaultRowHeight(16);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void DrawGrid::setColCount(int n)
{
    m_grid.setColCount(n);
    dropCurrentIfGone();
    update();
}

void DrawGrid::setRowCount(int n)
{
    m_grid.setRowCount(n);
    dropCurrentIfGone();
    update();
}

void DrawGrid::setDefaultColWidth(int w)
{
    m_grid.setDefaultColWidth(w);
    update();
}

void DrawGrid::setDefaultRowHeight(int h)
{
    m_grid.setDefaultRowHeight(h);
    update();
}

void DrawGrid::setColWidth(int col, int w)
{
    m_grid.setColWidth(col, w);
    update();
}

void DrawGrid::setRowHeight(int row, int h)
{
    m_grid.setRowHeight(row, h);
    update();
}

void DrawGrid::setFixedCols(int n)
{
    m_grid.setFixedCols(n);
    update();
}

void DrawGrid::setFixedRows(int n)
{
    m_grid.setFixedRows(n);
    update();
}

void DrawGrid::setGridLineWidth(int w)
{
    m_grid.setGridLineWidth(w);
    update();
}

void DrawGrid::setLeftCol(int col)
{
    m_grid.setLeftCol(col);
    update();
}

void DrawGrid::setTopRow(int row)
{
    m_grid.setTopRow(row);
    update();
}

void DrawGrid::invalidateCell(int col, int row)
{
    const QRect r = m_grid.cellRect(col, row);
    if (r.isNull()) return;
    const int line = m_grid.gridLineWidth();
    update(r.adjusted(0, 0, line, line));
}

void DrawGrid::invalidateRect(const QRect &r)
{
    update(r);
}

void DrawGrid::invalidateGrid()
{
    update();
}

void DrawGrid::setColor(const QColor &c)
{
    m_color = c;
    update();
}

void DrawGrid::setGridLineColor(const QColor &c)
{
    m_lineColor = c;
    update();
}

void DrawGrid::dropCurrentIfGone()
{
    if (m_current.col >= colCount() || m_current.row >= rowCount()) m_current = GridCell{};
}

bool DrawGrid::setCurrentCell(int col, int row)
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

void DrawGrid::setPointer(GridPointer p)
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

void DrawGrid::drawCell(QPainter &, int, int, const QRect &, GridDrawState) {}
void DrawGrid::paintBeforeCells(QPainter &, const QRegion &) {}
void DrawGrid::paintAfterCells(QPainter &, const QRegion &) {}
bool DrawGrid::canSelectCell(int, int)
{
    return true;
}
void DrawGrid::gridMouseDown(const GridMouseEvent &) {}
void DrawGrid::gridMouseMove(const GridMouseEvent &) {}
void DrawGrid::gridMouseUp(const GridMouseEvent &) {}

void DrawGrid::paintEvent(QPaintEvent *e)
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

void DrawGrid::paintGridLines(QPainter &p, const std::vector<int> &cols,
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

GridMouseEvent DrawGrid::makeEvent(QMouseEvent *e, bool isDouble) const
{
    GridMouseEvent g;
    g.pos = e->position().toPoint();
    g.button = e->button();
    g.shift = gridShiftState(e->buttons(), e->modifiers(), isDouble);
    g.cell = m_grid.cellAt(g.pos);
    return g;
}

void DrawGrid::press(QMouseEvent *e, bool isDouble)
{
    const GridMouseEvent g = makeEvent(e, isDouble);
    if (m_clickSelects && g.button == Qt::LeftButton && !g.cell.isNone() &&
        g.cell.col >= m_grid.fixedCols() && g.cell.row >= m_grid.fixedRows())
        setCurrentCell(g.cell.col, g.cell.row);
    gridMouseDown(g);
}

void DrawGrid::mousePressEvent(QMouseEvent *e)
{
    press(e, false);
}

void DrawGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    press(e, true);
}

void DrawGrid::mouseMoveEvent(QMouseEvent *e)
{
    gridMouseMove(makeEvent(e, false));
}

void DrawGrid::mouseReleaseEvent(QMouseEvent *e)
{
    gridMouseUp(makeEvent(e, false));
}

void DrawGrid::keyPressEvent(QKeyEvent *e)
{
    e->ignore();
}

void DrawGrid::keyReleaseEvent(QKeyEvent *e)
{
    e->ignore();
}

void DrawGrid::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    if (!m_current.isNone()) invalidateCell(m_current.col, m_current.row);
}

void DrawGrid::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    if (!m_current.isNone()) invalidateCell(m_current.col, m_current.row);
}
