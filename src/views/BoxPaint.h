#pragma once
// The event boxes and bars of the grids, drawn the same way on the screen and on paper: the
// time grid's boxes, the all-day strip's and month grid's bars and the year grid's boxes. The
// caller chooses the fill (layer colour, selection, print colour mode) and the text.
#include "views/BoxLines.h"

#include <QColor>
#include <QRect>
#include <QString>

class DateTimeFormat;
class QPainter;
struct SpanItem;

namespace BoxPaint
{

// A time-grid box at the item's rectangle: the frame, the 4 px time bar (white above the exact
// start and below the exact end within their rows of `rowHeight` px; black, grey for an
// occurrence), the arrow bands of an item cut at its start or end day and the wrapped text.
void paintTimeBox(QPainter &p, const SpanItem &item, int rowHeight, const BoxLines::Style &style);

// An all-day bar at the item's rectangle: the frame, the 4 px time bar along its top (white
// where the exact times leave the first and last day of `dayWidth` px; 0 takes the bar's
// width), the arrow bands of a cut bar and the one-line label.
void paintStripBar(QPainter &p, const SpanItem &item, int dayWidth, const QColor &fill,
                   bool selected, bool alarmMark, const QString &text);

// A month-grid bar in `box`: the frame, the arrow bands of a cut bar and the label.
void paintMonthBar(QPainter &p, const QRect &box, const SpanItem &item, const QColor &fill,
                   bool selected, bool alarmMark, const QString &text);

// The text of a year-grid box: for an item that is not made of whole days the start and/or
// end time first (as showStart/showEnd say), then subject CR LF description.
QString yearBoxText(const SpanItem &item, const DateTimeFormat &format, bool showStart,
                    bool showEnd);
// A year-grid box at the item's rectangle: the frame, the arrow bands of a cut box and the
// text, which is left out when the box is too narrow to hold any (BoxLines::holdsText).
void paintYearBox(QPainter &p, const SpanItem &item, const BoxLines::Style &style,
                  const QString &text);

} // namespace BoxPaint
