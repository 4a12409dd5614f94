#pragma once
// The 24 layer colours as 8 columns by 3 rows of 41-pixel cells; colour number n is row
// (n - 1) / 8, column (n - 1) % 8. The chosen colour's cell is framed twice in the selection
// colour. A left press on a cell chooses its colour.
#include "platform/DrawGrid.h"

class LayerColorGrid : public DrawGrid
{
    Q_OBJECT
public:
    static constexpr int CellSize = 41;

    explicit LayerColorGrid(QWidget *parent);

    // Frames colour `n` (1..24); 0 frames none.
    void setChosen(int n);
    int chosen() const { return m_chosen; }
    // Widget rectangle of colour `n` (1..24).
    QRect colorRect(int n) const { return cellRect((n - 1) % 8, (n - 1) / 8); }

signals:
    void colorChosen(int n);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void gridMouseDown(const GridMouseEvent &e) override;

private:
    int m_chosen = 0;
};
