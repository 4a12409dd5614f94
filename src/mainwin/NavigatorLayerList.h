#pragma once
// NavigatorLayerList: the layers of the navigator column, one 16-pixel row per layer below an
// 18-pixel header row. Column 0 shows the layer's name on its colour (the current row in the
// selection colour with white text), column 1 a visibility box with a tick for a shown layer;
// the header's box stands for all layers at once. A click toggles a box only when the left
// button goes down and comes up inside the same box; the list reports it and the owner
// changes the layers.
#include "platform/DrawGrid.h"
#include "store/LayerRow.h"

#include <vector>

class NavigatorLayerList : public DrawGrid
{
    Q_OBJECT
public:
    static constexpr int NameWidth = 110;
    static constexpr int BoxWidth = 30;
    static constexpr int HeaderHeight = 18;
    static constexpr int BoxInset = 8; // the box lies this far in from the cell's left and right

    explicit NavigatorLayerList(QWidget *parent);

    // Shows these layers in this order and sizes the list to them. The current row stays on
    // the layer with the same id when it is still there.
    void setLayers(std::vector<LayerRow> layers);
    const std::vector<LayerRow> &layers() const { return m_layers; }
    // Id of the layer in the current row; -1 when none.
    int currentLayerId() const;
    // The clickable box of grid row `row` (0 is the header) in widget coordinates.
    QRect boxRect(int row) const;

signals:
    void visibilityClicked(int layerId);
    // The header's box: every layer to be shown, or (when all are shown) hidden.
    void allVisibilityClicked();
    // A double click on a layer's name: the layer manager is asked for.
    void managerRequested();
    // A right press on the list, at this global position: the layer popup is asked for.
    void menuRequested(QPoint global);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;

private:
    // Grid row of the box holding `pos`; -1 when it is in none.
    int boxRowAt(QPoint pos) const;

    std::vector<LayerRow> m_layers;
    int m_pressedBoxRow = -1; // row whose box the left button went down in; -1 none
};
