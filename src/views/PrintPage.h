#pragma once
// The furniture every printed page shares: the printed rectangle for the width and height
// shares, the sizes derived from the text height at the chosen font size, the heading band,
// the frame and the footer, and the event-box fill of the colour mode. All measures are in
// the device units of the painter's device (see PrintJob).
#include "core/PrintOptions.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPaintDevice;
class QPainter;

class PrintPage
{
public:
    // `pageSize`: the printable area of the device in device units.
    PrintPage(QPaintDevice &device, QSize pageSize, const PrintOptions &options);
    // The same over the device's whole printable area.
    PrintPage(QPaintDevice &device, const PrintOptions &options);

    // The printed rectangle: W x H from the shares, its left and top at half of the 5 % that a
    // "100 %" print leaves free. right() + 1 and bottom() + 1 are its outer edges.
    const QRect &frame() const { return m_frame; }
    int textHeight() const { return m_textHeight; } // h, of "gG" at the font size
    int line() const { return m_line; }             // Round(1.2 h), at least 1
    int pen() const { return m_pen; }               // Round(h / 10), at least 1
    int laneGap() const { return m_line / 4 + m_pen; }
    int fontSize() const { return m_options.fontSize; }
    const PrintOptions &options() const { return m_options; }

    // Arial at `points` (clamped to at least 1), measured on the device.
    QFont font(int points, bool bold = false) const;
    // Height of the heading band: 2 x the text height at 2F with the heading on, else 0.
    int headingHeight() const;
    // The heading text centred in its band at 2F, with a black line under the band; nothing
    // with the heading off.
    void drawHeading(QPainter &p, const QString &text) const;
    // The frame's black outline, `pen` wide, half outside the rectangle.
    void drawFrame(QPainter &p) const;
    // Below the rectangle: `today` at the left, "Dayloom" at the right and, with more than
    // one page, the page number (from 1) centred.
    void drawFooter(QPainter &p, const QString &today, int page, int pageCount) const;
    // The fill of an event box: white, RGB 235 grey, or `layerColor`, by the colour mode.
    QColor boxFill(const QColor &layerColor) const;

private:
    QPaintDevice &m_device;
    PrintOptions m_options;
    QRect m_frame;
    int m_textHeight = 1;
    int m_line = 1;
    int m_pen = 1;
};
