#include "views/BoxLines.h"

#include "views/GridPaint.h"
#include "views/TextWrap.h"

#include <QPainter>
#include <algorithm>

namespace BoxLines
{

void paint(QPainter &p, const QRect &area, const QString &text, const Style &style)
{
    if (area.width() < 1 || area.height() < 1) return;
    p.fillRect(area, style.fill);
    const QFontMetrics fm(p.font());
    if (text.isEmpty() || !holdsText(area, fm)) return;
    const QStringList lines =
        TextWrap::wrap(text, area.width() - 3, style.alarmSet, fm, area.height() - 1);
    const int pitch = std::max(1, std::min(style.maxPitch, area.height() - 1));
    p.save();
    p.setClipRect(area, Qt::IntersectClip);
    p.setPen(style.selected ? QColor(Qt::white) : QColor(Qt::black));
    for (int i = 0; i < lines.size(); ++i) {
        const int y = area.top() + i * pitch;
        if (y > area.bottom()) break;
        int x = area.left() + 2;
        if (i == 0 && style.alarmSet && style.alarmMark) {
            GridPaint::drawAlarmMark(p, area.left(), y, pitch, style.fill, style.selected);
            x += 10;
        }
        p.drawText(QRect(x, y + 1, area.right() - x + 1, pitch),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[i]);
    }
    p.restore();
}

bool holdsText(const QRect &area, const QFontMetrics &fm)
{
    return area.height() > 1 && area.width() - 3 >= fm.averageCharWidth();
}

} // namespace BoxLines
