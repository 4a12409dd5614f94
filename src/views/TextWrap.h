#pragma once
// Wrapping of an event's text ("subject" + CR LF + "description") into the lines of a box, as
// the time grid, the year grid and printing draw it.
#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace TextWrap
{

constexpr int MaxLines = 50;

// Height of one wrapped line: the font's text height times 1.1, rounded; at least 1.
int lineHeight(const QFontMetrics &fm);

// The lines of text for a box `width` pixels wide and `height` pixels high: at most
// height / lineHeight lines, but always at least 1 and at most MaxLines.
//
// Lines break after a blank or one of ",.!?-/" (the character stays at the end of its line)
// and at every line end (CR LF, a lone CR or a lone LF), which is dropped. A line takes as
// much text as fits into the width, measured without its trailing blanks; the first line has
// 10 px less when `alarm` is set. A word wider than the box stands alone on its line (the
// caller clips it). Leading blanks of each line are removed. When the line limit is reached
// the rest of the text is dropped; the last line may then end with a word that does not fit.
// An empty text gives no lines; a trailing line end adds no empty line.
QStringList wrap(const QString &text, int width, bool alarm, const QFontMetrics &fm, int height);

} // namespace TextWrap
