#pragma once
// The text of an event box in the time grid and the year grid: the box colour under the
// lines of "subject" CR LF "description" (with any prefix the grid puts before the subject),
// wrapped into the box by TextWrap.
#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace BoxLines
{

struct Style {
    QColor fill;            // the box colour
    bool selected = false;  // white text (else black)
    bool alarmSet = false;  // the first line leaves room for the alarm mark
    bool alarmMark = false; // and the mark is drawn there
    int maxPitch = 14;      // line pitch at most, in pixels
};

// Fills `area` with the box colour and draws `text` wrapped to the area's width - 3 and height
// - 1, a line every min(maxPitch, area height - 1) px (at least 1) from the area's top, 2 px in
// from its left, clipped to the area. An empty area draws nothing.
void paint(QPainter &p, const QRect &area, const QString &text, const Style &style);

} // namespace BoxLines
