#include "mainwin/NavigatorList.h"

#include "core/LayerPalette.h"

#include <QPainter>

namespace
{
// Colours as 0x00BBGGRR.
constexpr uint32_t SelectedColour = 6307874;
constexpr uint32_t OtherYearColour = 13409135;
} // namespace

NavigatorList::NavigatorList(int cols, int rows, int colWidth, LookFunction look, QWidget *parent)
    : DrawGrid(parent), m_look(std::move(look))
{
    setColCount(cols);
    setRowCount(rows);
    setDefaultColWidth(colWidth);
    setFixedSize(cols * colWidth, rows * defaultRowHeight());
    setFocusPolicy(Qt::NoFocus);
}

void NavigatorList::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state)
{
    const NavigatorCellLook look = m_look(col, row);
    if (state.testFlag(GridDrawFlag::Selected))
        p.fillRect(rect, LayerPalette::colorFromBGR(SelectedColour));
    else if (look.otherYear)
        p.fillRect(rect, LayerPalette::colorFromBGR(OtherYearColour));
    p.save();
    p.setClipRect(rect);
    if (look.cornerMark) {
        const QPoint corner[3] = {rect.topLeft(), rect.topLeft() + QPoint(6, 0),
                                  rect.topLeft() + QPoint(0, 6)};
        p.setPen(Qt::NoPen);
        p.setBrush(LayerPalette::colorFromBGR(OtherYearColour));
        p.drawPolygon(corner, 3);
    }
    p.setFont(font());
    p.setPen(Qt::white);
    p.setBrush(Qt::NoBrush);
    p.drawText(rect, Qt::AlignCenter, look.text);
    if (look.framed) p.drawRect(rect.adjusted(0, 0, -1, -1));
    p.restore();
}

void NavigatorList::gridMouseDown(const GridMouseEvent &e)
{
    if (e.button == Qt::LeftButton && !e.cell.isNone()) emit cellClicked(e.cell.col, e.cell.row);
}
