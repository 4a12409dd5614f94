#include "dialogs/LayerColorGrid.h"

#include "core/LayerPalette.h"

#include <QPainter>

namespace
{
constexpr uint32_t FrameColour = 6307874; // 0x00BBGGRR
}

LayerColorGrid::LayerColorGrid(QWidget *parent) : DrawGrid(parent)
{
    setColCount(8);
    setRowCount(3);
    setDefaultColWidth(CellSize);
    setDefaultRowHeight(CellSize);
    setFixedSize(8 * CellSize, 3 * CellSize);
    setFocusPolicy(Qt::StrongFocus);
}

void LayerColorGrid::setChosen(int n)
{
    m_chosen = n >= 1 && n <= LayerPalette::ColorCount ? n : 0;
    invalidateGrid();
}

void LayerColorGrid::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    const int n = row * 8 + col + 1;
    p.fillRect(rect, LayerPalette::layerColor(n));
    if (n != m_chosen || !isEnabled()) return;
    p.save();
    p.setPen(LayerPalette::colorFromBGR(FrameColour));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.drawRect(rect.adjusted(2, 2, -3, -3));
    p.restore();
}

void LayerColorGrid::gridMouseDown(const GridMouseEvent &e)
{
    if (e.button != Qt::LeftButton || e.cell.isNone() || !isEnabled()) return;
    setChosen(e.cell.row * 8 + e.cell.col + 1);
    emit colorChosen(m_chosen);
}
