#include "mainwin/NavigatorLayerList.h"

#include "core/LayerPalette.h"
#include "views/GridPaint.h"

#include <QPainter>
#include <algorithm>

namespace
{
// Colours as 0x00BBGGRR.
constexpr uint32_t SelectedColour = 6307874;
constexpr uint32_t HeaderColour = 3947580;
} // namespace

NavigatorLayerList::NavigatorLayerList(QWidget *parent) : DrawGrid(parent)
{
    setColCount(2);
    setColWidth(0, NameWidth);
    setColWidth(1, BoxWidth);
    setFixedRows(1);
    setFocusPolicy(Qt::NoFocus);
    setLayers({});
}

void NavigatorLayerList::setLayers(std::vector<LayerRow> layers)
{
    const int currentId = currentLayerId();
    m_layers = std::move(layers);
    setRowCount(1 + int(m_layers.size()));
    setRowHeight(0, HeaderHeight);
    setFixedSize(NameWidth + BoxWidth, HeaderHeight + 16 * int(m_layers.size()));
    const auto same = std::find_if(m_layers.begin(), m_layers.end(),
                                   [&](const LayerRow &l) { return l.id == currentId; });
    if (same != m_layers.end()) (void)setCurrentCell(0, 1 + int(same - m_layers.begin()));
    invalidateGrid();
}

int NavigatorLayerList::currentLayerId() const
{
    const int i = currentCell().row - 1;
    return i >= 0 && i < int(m_layers.size()) ? m_layers[std::size_t(i)].id : -1;
}

QRect NavigatorLayerList::boxRect(int row) const
{
    return cellRect(1, row).adjusted(BoxInset, 1, -BoxInset, -1);
}

int NavigatorLayerList::boxRowAt(QPoint pos) const
{
    const GridCell c = cellAt(pos);
    return c.col == 1 && boxRect(c.row).contains(pos) ? c.row : -1;
}

void NavigatorLayerList::drawCell(QPainter &p, int col, int row, const QRect &rect,
                                  GridDrawState state)
{
    const LayerRow *layer = row > 0 ? &m_layers[std::size_t(row - 1)] : nullptr;
    if (col == 0) {
        QColor fill = LayerPalette::colorFromBGR(HeaderColour);
        QColor text = Qt::white;
        if (layer && state.testFlag(GridDrawFlag::Selected)) {
            fill = LayerPalette::colorFromBGR(SelectedColour);
        } else if (layer) {
            fill = LayerPalette::layerColor(layer->color);
            text = Qt::black;
        }
        p.fillRect(rect, fill);
        p.save();
        p.setClipRect(rect);
        p.setFont(font());
        p.setPen(text);
        p.drawText(rect.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   layer ? layer->name : QStringLiteral("Layers"));
        p.restore();
        return;
    }
    if (!layer) p.fillRect(rect, LayerPalette::colorFromBGR(HeaderColour));
    const bool ticked = layer ? layer->shown
                              : std::all_of(m_layers.begin(), m_layers.end(),
                                            [](const LayerRow &l) { return l.shown; });
    GridPaint::drawTickBox(p, boxRect(row), Qt::white, Qt::NoBrush, ticked);
}

void NavigatorLayerList::gridMouseDown(const GridMouseEvent &e)
{
    m_pressedBoxRow = -1;
    if (e.button == Qt::RightButton) {
        emit menuRequested(mapToGlobal(e.pos));
        return;
    }
    if (e.button != Qt::LeftButton || e.cell.isNone()) return;
    m_pressedBoxRow = boxRowAt(e.pos);
    if (m_pressedBoxRow < 0 && e.cell.col == 0 && e.cell.row > 0) {
        (void)setCurrentCell(0, e.cell.row);
        if (e.shift.testFlag(GridShift::Double)) emit managerRequested();
    }
}

void NavigatorLayerList::gridMouseUp(const GridMouseEvent &e)
{
    const int pressed = m_pressedBoxRow;
    m_pressedBoxRow = -1;
    if (e.button != Qt::LeftButton || pressed < 0 || boxRowAt(e.pos) != pressed) return;
    if (pressed == 0)
        emit allVisibilityClicked();
    else
        emit visibilityClicked(m_layers[std::size_t(pressed - 1)].id);
}
