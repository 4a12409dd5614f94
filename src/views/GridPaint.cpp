#include "views/GridPaint.h"

#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"
#include "store/SpanItem.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

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
    return drawItemFrame(p, itemRect(item));
}

QRect drawItemFrame(QPainter &p, const QRect &frame)
{
    // Four fills draw the same pixels as a one-pixel outline, without the pen's stroking.
    if (frame.width() < 1 || frame.height() < 1) return QRect();
    const QColor line = lineColor();
    p.setPen(line); // callers draw on with the frame's pen
    p.setBrush(Qt::NoBrush);
    p.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), line);
    p.fillRect(QRect(frame.left(), frame.bottom(), frame.width(), 1), line);
    p.fillRect(QRect(frame.left(), frame.top(), 1, frame.height()), line);
    p.fillRect(QRect(frame.right(), frame.top(), 1, frame.height()), line);
    const QRect in = frame.adjusted(1, 1, -1, -1);
    return in.width() < 1 || in.height() < 1 ? QRect() : in;
}

void drawAlarmMark(QPainter &p, int x, int y, int height, const QColor &boxColor, bool selected)
{
    p.fillRect(QRect(x, y, 10, height), boxColor);
    p.fillRect(QRect(x + 4, y + 6, 4, 4), selected ? QColor(Qt::white) : lineColor());
}

QString timesText(const SpanItem &item, const DateTimeFormat &format, bool showStart, bool showEnd)
{
    const bool wholeDays = DateTimeValue::msOfDay(item.startTime) == 0 &&
                           DateTimeValue::msOfDay(item.endTime) == 0 &&
                           DateTimeValue::toMs(item.startTime) != DateTimeValue::toMs(item.endTime);
    if (wholeDays) return {};
    const QString start = timeText(format, item.startTime);
    const QString end = timeText(format, item.endTime);
    if (showStart && showEnd) return start + QStringLiteral(" - ") + end + QLatin1Char(' ');
    if (showStart) return start + QLatin1Char(' ');
    if (showEnd) return end + QLatin1Char(' ');
    return {};
}

QString barText(const SpanItem &item, const DateTimeFormat &format, bool showStart, bool showEnd)
{
    const QString text = timesText(item, format, showStart, showEnd);
    int lead = 0;
    while (lead < item.subject.size() && item.subject.at(lead) == QLatin1Char(' '))
        ++lead;
    return text + item.subject.mid(lead);
}

void drawBarLabel(QPainter &p, QRect area, const QColor &fill, bool selected, bool alarmMark,
                  const QString &text)
{
    p.fillRect(area, fill);
    if (alarmMark) {
        drawAlarmMark(p, area.left(), area.top(), area.height(), fill, selected);
        area.setLeft(area.left() + 10);
    }
    p.save();
    p.setClipRect(area, Qt::IntersectClip);
    p.setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
    p.drawText(QRect(area.left() + 2, area.top() + 1, std::max(0, area.width() - 2), area.height()),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

QRect drawArrowBand(QPainter &p, const QRect &area, ArrowSide side, int apex)
{
    const bool across = side == ArrowSide::Left || side == ArrowSide::Right;
    if ((across ? area.width() : area.height()) <= ArrowBandWidth) return area;
    QRect band = area;
    QRect rest = area;
    QPolygon tip;
    const int x = area.left() + apex;
    const int y = area.top() + apex;
    switch (side) {
    case ArrowSide::Left:
        band.setWidth(ArrowBandWidth);
        rest.setLeft(area.left() + ArrowBandWidth);
        tip = QPolygon({QPoint(band.left(), y), QPoint(band.left() + 3, y - 3),
                        QPoint(band.left() + 3, y + 3)});
        break;
    case ArrowSide::Right:
        band.setLeft(area.right() - ArrowBandWidth + 1);
        rest.setRight(area.right() - ArrowBandWidth);
        tip = QPolygon({QPoint(band.right() - 1, y), QPoint(band.right() - 4, y - 3),
                        QPoint(band.right() - 4, y + 3)});
        break;
    case ArrowSide::Up:
        band.setHeight(ArrowBandWidth);
        rest.setTop(area.top() + ArrowBandWidth);
        tip = QPolygon(
            {QPoint(x, band.top()), QPoint(x - 3, band.top() + 3), QPoint(x + 3, band.top() + 3)});
        break;
    case ArrowSide::Down:
        band.setTop(area.bottom() - ArrowBandWidth + 1);
        rest.setBottom(area.bottom() - ArrowBandWidth);
        tip = QPolygon({QPoint(x, band.bottom() - 1), QPoint(x - 3, band.bottom() - 4),
                        QPoint(x + 3, band.bottom() - 4)});
        break;
    }
    p.fillRect(band, lineColor());
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(Qt::white));
    p.drawPolygon(tip);
    p.restore();
    return rest;
}

void drawTickBox(QPainter &p, const QRect &box, const QColor &ink, const QBrush &fill, bool ticked)
{
    p.save();
    p.setPen(ink);
    p.setBrush(fill);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (ticked) {
        p.setPen(QPen(ink, 2));
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF tick[3] = {QPointF(box.left() + 3, box.center().y()),
                                 QPointF(box.left() + 6, box.bottom() - 3),
                                 QPointF(box.right() - 2, box.top() + 3)};
        p.drawPolyline(tick, 3);
    }
    p.restore();
}

} // namespace GridPaint
