#pragma once
// Colours and small drawing pieces shared by the time grid and the all-day strip, and the
// pure rules behind the time column (hour labels, cell shades).
#include <QBrush>
#include <QColor>
#include <QRect>
#include <QString>

class DateTimeFormat;
class QPainter;
struct SpanItem;

namespace GridPaint
{

// The greys of the day and week grids.
inline QColor lineColor()
{
    return QColor(0x3C, 0x3C, 0x3C);
} // 3947580
inline QColor backColor()
{
    return QColor(0xC0, 0xC0, 0xC0);
} // 12632256
inline QColor panelColor()
{
    return QColor(0xE0, 0xE0, 0xE0);
} // 14737632
inline QColor selectedColor()
{
    return QColor(0x58, 0x58, 0x58);
} // 5789784
inline QColor occurrenceColor()
{
    return QColor(0x80, 0x80, 0x80);
} // 8421504

// Grey level of a time cell: darker with each step within the hour. step counts from 1;
// stepsPerHour below 2 gives 192 for every step.
int cellShade(int step, int stepsPerHour);

// The hour label of the time column for hour 0..23: "12"/"A", "01"/"A" .. "11"/"A", "12"/"P",
// "01"/"P" .. "11"/"P" on the 12-hour clock; "00" .. "23" with suffix "00" on the 24-hour clock.
struct HourLabel {
    QString number;
    QString suffix;
};
HourLabel hourLabel(int hour, bool twelveHour);

// The pixel rectangle the placement step gave an item (right and bottom exclusive).
QRect itemRect(const SpanItem &item);
// Draws the one-pixel frame of an item's box in the line colour and returns the area inside
// it (empty when the box is too small to have one).
QRect drawItemFrame(QPainter &p, const SpanItem &item);
// The same for any box (a bar cut back to its row, for instance).
QRect drawItemFrame(QPainter &p, const QRect &frame);

// The times an item's text starts with: for an item that is not a whole-day item (a start or
// end with a time of day, or start equal to end) "start - end ", "start " or "end " as
// showStart and showEnd say; empty otherwise.
QString timesText(const SpanItem &item, const DateTimeFormat &format, bool showStart, bool showEnd);
// The one line of text of a bar: for an item that is not a whole-day item (a start or end with
// a time of day, or start equal to end) the times first ("start - end ", "start " or "end "
// as showStart and showEnd say), then the subject without leading blanks.
QString barText(const SpanItem &item, const DateTimeFormat &format, bool showStart, bool showEnd);
// Fills a bar's text area with `fill`, draws the alarm mark at its left when `alarmMark`, and
// the text 2 px in and 1 px down, clipped to the area, white on a selected bar and black
// otherwise.
void drawBarLabel(QPainter &p, QRect area, const QColor &fill, bool selected, bool alarmMark,
                  const QString &text);

// The 10 px alarm mark at (x, y): the box colour with a 4 x 4 square at x+4..x+7, y+6..y+9,
// white on a selected box and the line colour otherwise.
void drawAlarmMark(QPainter &p, int x, int y, int height, const QColor &boxColor, bool selected);

// The side of a box an arrow band sits on, which is also where its triangle points: a box cut
// at its start gets a Left (rows of days) or Up (columns of days) band, one cut at its end a
// Right or Down band.
enum class ArrowSide { Left, Right, Up, Down };
inline constexpr int ArrowBandWidth = 5;

// Draws a 5 px band in the line colour along side `side` of `area`, with a white triangle
// 3 px deep and 7 px wide pointing out of the box. `apex` is the triangle's tip measured from
// area's top (Left, Right) or left (Up, Down). Returns `area` without the band; when `area`
// is not wider (Left, Right) or higher (Up, Down) than the band nothing is drawn and `area`
// comes back unchanged.
QRect drawArrowBand(QPainter &p, const QRect &area, ArrowSide side, int apex);

// Draws a check box: the frame of `box` in `ink` over `fill` (Qt::NoBrush: none), and, when
// `ticked`, a 2 px tick in `ink` inside it. The painter's pen, brush and hints are kept.
void drawTickBox(QPainter &p, const QRect &box, const QColor &ink, const QBrush &fill, bool ticked);

} // namespace GridPaint
