#include "views/BoxPaint.h"

#include "store/SpanItem.h"
#include "views/GridPaint.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

using namespace GridPaint;

namespace BoxPaint
{

void paintTimeBox(QPainter &p, const SpanItem &item, int rowHeight, const BoxLines::Style &style)
{
    const int rh = rowHeight;
    const QRect in = drawItemFrame(p, item);
    if (in.isEmpty()) return;
    const QColor white(Qt::white);

    // Time bar: the left 4 px, white where the event's exact times leave its rows.
    const QRect bar(in.left(), in.top(), std::min(4, in.width()), in.height());
    if (item.startFrac < 0) {
        p.fillRect(bar, white);
        p.setPen(Qt::NoPen);
        p.setBrush(lineColor());
        p.drawPolygon(QPolygon({QPoint(bar.left(), bar.top()), QPoint(bar.right() + 1, bar.top()),
                                QPoint(bar.right() + 1, bar.top() + 4)}));
        p.setBrush(white);
        p.drawPolygon(
            QPolygon({QPoint(bar.left(), bar.top() + 1), QPoint(bar.left(), bar.top() + 4),
                      QPoint(bar.right(), bar.top() + 4)}));
        p.setBrush(Qt::NoBrush);
    } else {
        p.fillRect(bar, item.isOccurrence ? occurrenceColor() : lineColor());
        if (item.startFrac > 0) {
            const int k = int(std::trunc(rh * item.startFrac));
            p.fillRect(QRect(bar.left(), bar.top(), bar.width(), std::min(k, bar.height())), white);
        }
        if (item.endFrac > 0) {
            int k = int(std::ceil(rh * item.endFrac));
            if (k > 0) k = rh - k;
            if (k > 0) p.fillRect(QRect(bar.left(), bar.bottom() - k + 1, bar.width(), k), white);
        }
    }

    // Text area right of the bar, with the continuation bands.
    QRect ta(in.left() + 4, in.top(), in.width() - 4, in.height());
    if (ta.width() < 1) return;
    const int l = (ta.width() - 7) / 2;
    p.setPen(Qt::NoPen);
    if (item.cutStart && ta.height() > 5) {
        p.fillRect(QRect(ta.left(), ta.top(), ta.width(), 5), lineColor());
        p.setBrush(white);
        p.drawPolygon(
            QPolygon({QPoint(ta.left() + l + 3, ta.top()), QPoint(ta.left() + l, ta.top() + 3),
                      QPoint(ta.left() + l + 6, ta.top() + 3)}));
        ta.setTop(ta.top() + 5);
    }
    if (item.cutEnd && ta.height() > 6) {
        p.fillRect(QRect(ta.left(), ta.bottom() - 5, ta.width(), 6), lineColor());
        p.setBrush(white);
        p.drawPolygon(QPolygon({QPoint(ta.left() + l + 3, ta.bottom() - 2),
                                QPoint(ta.left() + l, ta.bottom() - 5),
                                QPoint(ta.left() + l + 6, ta.bottom() - 5)}));
        ta.setBottom(ta.bottom() - 6);
    }
    p.setBrush(Qt::NoBrush);
    p.fillRect(QRect(ta.left(), ta.top(), 1, ta.height()), lineColor());
    ta.setLeft(ta.left() + 1);
    if (ta.width() < 1 || ta.height() < 1) return;

    BoxLines::paint(p, ta, item.subject + QStringLiteral("\r\n") + item.description, style);
}

void paintStripBar(QPainter &p, const SpanItem &item, int dayWidth, const QColor &fill,
                   bool selected, bool alarmMark, const QString &text)
{
    const QRect in = drawItemFrame(p, item);
    if (in.isEmpty()) return;
    const QColor white(Qt::white);
    const int w = dayWidth > 0 ? dayWidth : in.width();

    // Time bar: the top 4 px, white where the exact times leave the first and last day.
    const QRect bar(in.left(), in.top(), in.width(), std::min(4, in.height()));
    if (item.startFrac < 0) {
        p.fillRect(bar, white);
        p.setPen(Qt::NoPen);
        p.setBrush(lineColor());
        p.drawPolygon(QPolygon({QPoint(bar.left(), bar.top()), QPoint(bar.left(), bar.bottom() + 1),
                                QPoint(bar.left() + 4, bar.bottom() + 1)}));
        p.setBrush(white);
        p.drawPolygon(
            QPolygon({QPoint(bar.left() + 1, bar.top()), QPoint(bar.left() + 4, bar.top()),
                      QPoint(bar.left() + 4, bar.bottom())}));
        p.setBrush(Qt::NoBrush);
    } else {
        p.fillRect(bar, item.isOccurrence ? occurrenceColor() : lineColor());
        if (item.startFrac > 0) {
            const int k = int(std::trunc(w * item.startFrac));
            p.fillRect(QRect(bar.left(), bar.top(), std::min(k, bar.width()), bar.height()), white);
        }
        if (item.endFrac > 0) {
            int k = int(std::ceil(w * item.endFrac));
            if (k > 0) k = w - k;
            if (k > 0)
                p.fillRect(
                    QRect(bar.right() - k + 1, bar.top(), std::min(k, bar.width()), bar.height()),
                    white);
        }
    }

    QRect ta(in.left(), in.top() + 4, in.width(), in.height() - 4);
    if (ta.height() < 1) return;
    if (item.cutStart) ta = drawArrowBand(p, ta, ArrowSide::Left, 8);
    if (item.cutEnd) ta = drawArrowBand(p, ta, ArrowSide::Right, 8);
    p.fillRect(QRect(ta.left(), ta.top(), ta.width(), 1), lineColor());
    ta.setTop(ta.top() + 1);
    if (ta.width() < 1 || ta.height() < 1) return;

    drawBarLabel(p, ta, fill, selected, alarmMark, text);
}

void paintMonthBar(QPainter &p, const QRect &box, const SpanItem &item, const QColor &fill,
                   bool selected, bool alarmMark, const QString &text)
{
    QRect area = drawItemFrame(p, box);
    if (area.isEmpty()) return;
    if (item.cutStart) area = drawArrowBand(p, area, ArrowSide::Left, 7);
    if (item.cutEnd) area = drawArrowBand(p, area, ArrowSide::Right, 7);
    drawBarLabel(p, area, fill, selected, alarmMark, text);
}

QString yearBoxText(const SpanItem &item, const DateTimeFormat &format, bool showStart,
                    bool showEnd)
{
    const QString text = timesText(item, format, showStart, showEnd);
    return text + item.subject + QStringLiteral("\r\n") + item.description;
}

void paintYearBox(QPainter &p, const SpanItem &item, const BoxLines::Style &style,
                  const QString &text)
{
    QRect ta = drawItemFrame(p, item);
    if (ta.isEmpty()) return;
    const int apex = (ta.width() - 7) / 2 + 3;
    if (item.cutStart) ta = drawArrowBand(p, ta, ArrowSide::Up, apex);
    if (item.cutEnd) ta = drawArrowBand(p, ta, ArrowSide::Down, apex);
    BoxLines::paint(p, ta, BoxLines::holdsText(ta, p.fontMetrics()) ? text : QString(), style);
}

} // namespace BoxPaint
