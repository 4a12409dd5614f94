#pragma once
// The marks of a task row that the tasks grid draws on the screen and the task-list print
// draws on paper. Each is laid out for a row `rowHeight` high: the screen's 18 px rows give
// the screen's pixel shapes, taller printed rows the same shapes scaled.
#include <QColor>
#include <QRect>

class QPainter;

namespace TaskMarks
{

inline constexpr int ScreenRowHeight = 18;

// The alarm mark before a task's subject: a square of 4/18 of the row's height in `ink`,
// starting at x + 0 and centred in the row from `top`. Returns the x where the subject starts
// after it (x + 12 on an 18 px row).
int drawAlarmMark(QPainter &p, int x, int top, int rowHeight, const QColor &ink);

// The low-priority arrow: a shaft pointing down, from 4/18 to 13/18 of `cell`'s height, with
// a barb 3/18 of it long on each side, in the middle of `cell`'s width, drawn with the
// painter's pen.
void drawLowPriorityArrow(QPainter &p, const QRect &cell);

} // namespace TaskMarks
