#pragma once
// NavigatorList: one of the small lists of the navigator column (weeks, months, years). The
// owner says what each cell shows through a look function and keeps the current cell on the
// selected date's cell; the list paints white centred text on the navigator colour (the
// current cell in the selection colour) and reports left presses on cells.
#include "platform/DrawGrid.h"

#include <QString>
#include <functional>

struct NavigatorCellLook {
    QString text;
    bool otherYear = false;  // a cell of a neighbouring year: lighter background
    bool framed = false;     // today's cell: framed in white
    bool cornerMark = false; // a small triangle in the top-left corner
};

class NavigatorList : public DrawGrid
{
    Q_OBJECT
public:
    using LookFunction = std::function<NavigatorCellLook(int col, int row)>;

    NavigatorList(int cols, int rows, int colWidth, LookFunction look, QWidget *parent);

signals:
    void cellClicked(int col, int row);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void gridMouseDown(const GridMouseEvent &e) override;

private:
    LookFunction m_look;
};
