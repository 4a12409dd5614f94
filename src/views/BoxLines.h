#pragma once
// The text of an event box in the time grid and the year grid: the box colour under the
// lines of "subject" CR LF "description" (with any prefix the grid puts before the subject),
// wrapped into the box by TextWrap.
#include <QColor>
#include <QRect>
#include <QString>

class QFontMetrics;
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
// from its left, clipped to the area. An empty area draws nothing; an area that does not
// hold text (holdsText) gets its colour only.
void paint(QPainter &p, const QRect &area, const QString &text, const Style &style);

// False when `area` is narrower than one average character of `fm` once the text's margins
// are taken off: such a box would show slivers of glyphs, so its text is not laid out at all
// (with thousands of boxes in a year, that layout is most of the painting).
bool holdsText(const QRect &area, const QFontMetrics &fm);

} // namespace BoxLines
