#include "views/GridPaint.h"

#include "store/SpanItem.h"

#include <QPainter>

namespace GridPaint
{

int cellShade(int step, int stepsPerHour)
{
    if (stepsPerHour <= 1) return 192;
    const int within = ((step - 1) % stepsPerHour + stepsPerHour) % stepsPerHour;
    return 192 - (70 / stepsPerHour) * within;
}

HourLabel hourLabel(int hour, bool twelveHour)
{
    if (!twelveHour)
        return {QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')), QStringLiteral("00")};
    int h = hour % 12;
    if (h == 0) h = 12;
    return {QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')),
            hour < 12 ? QStringLiteral("A") : QStringLiteral("P")};
}

QRect itemRect(const SpanItem &item)
{
    return QRect(item.left, item.top, item.right - item.left, item.bottom - item.top);
}

QRect drawItemFrame(QPainter &p, const SpanItem &item)
{
    const QRect frame = itemRect(item);
    p.setPen(lineColor());
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    const QRect in = frame.adjusted(1, 1, -1, -1);
    return in.width() < 1 || in.height() < 1 ? QRect() : in;
}

void drawAlarmMark(QPainter &p, int x, int y, int height, const QColor &boxColor, bool selected)
{
    p.fillRect(QRect(x, y, 10, height), boxColor);
    p.fillRect(QRect(x + 4, y + 6, 4, 4), selected ? QColor(Qt::white) : lineColor());
}

} // namespace GridPaint
