#include "views/TaskMarks.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
// `px` screen pixels of an 18 px row, for a row `rowHeight` high.
int scaled(int px, int rowHeight)
{
    return int(std::lround(double(px) * rowHeight / TaskMarks::ScreenRowHeight));
}
} // namespace

namespace TaskMarks
{

int drawAlarmMark(QPainter &p, int x, int top, int rowHeight, const QColor &ink)
{
    const int size = std::max(1, scaled(4, rowHeight));
    p.fillRect(QRect(x, top + (rowHeight - size) / 2, size, size), ink);
    return x + std::max(size + 1, scaled(12, rowHeight));
}

void drawLowPriorityArrow(QPainter &p, const QRect &cell)
{
    const int h = cell.height();
    const int cx = cell.left() + cell.width() / 2;
    const int tip = cell.top() + scaled(13, h);
    const int barb = scaled(3, h);
    p.drawLine(cx, cell.top() + scaled(4, h), cx, tip);
    p.drawLine(cx - barb, tip - barb, cx, tip);
    p.drawLine(cx + barb, tip - barb, cx, tip);
}

} // namespace TaskMarks
