#include "views/TasksHeader.h"

#include "views/GridPaint.h"

#include <QPainter>

TasksHeader::TasksHeader(QWidget *parent) : DrawGrid(parent)
{
    setColor(GridPaint::backColor());
    setRowCount(1);
    setDefaultRowHeight(18);
}

void TasksHeader::setColumns(const std::vector<int> &widths, const QList<QChar> &keys,
                             const QString &indexName)
{
    m_keys = keys;
    m_indexName = indexName;
    setColCount(int(widths.size()));
    for (std::size_t c = 0; c < widths.size(); ++c)
        setColWidth(int(c), widths[c]);
    invalidateGrid();
}

void TasksHeader::drawCell(QPainter &p, int col, int, const QRect &rect, GridDrawState)
{
    p.fillRect(rect, GridPaint::backColor());
    const QChar key = keyOf(col);
    QFont bold = p.font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::black);
    int captionRight = rect.center().x();
    if (key == u'F') {
        const QRect box(rect.center().x() - 7, rect.top() + 2, 14, 14);
        p.setPen(GridPaint::lineColor());
        p.setBrush(Qt::white);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        p.drawText(box, Qt::AlignCenter, QStringLiteral("V"));
        captionRight = box.right();
    } else {
        const QString caption = key == u'S' ? QStringLiteral("Task") : QStringLiteral("!");
        const int w = p.fontMetrics().horizontalAdvance(caption);
        p.drawText(rect, Qt::AlignCenter, caption);
        captionRight = rect.center().x() + w / 2;
    }
    // The arrow of the key's place in the index name ("S+P-F+").
    const int place = m_indexName.indexOf(key) / 2;
    if (place < 0 || m_indexName.size() != 6) return;
    const bool up = m_indexName[place * 2 + 1] == u'+';
    static const QColor shades[3] = {Qt::black, QColor(0x80, 0x80, 0x80), QColor(0xA0, 0xA0, 0xA0)};
    const int x = captionRight + 5;
    const int y = rect.center().y();
    const QPolygon arrow =
        up ? QPolygon({QPoint(x, y + 2), QPoint(x + 6, y + 2), QPoint(x + 3, y - 2)})
           : QPolygon({QPoint(x, y - 2), QPoint(x + 6, y - 2), QPoint(x + 3, y + 2)});
    p.setPen(shades[place]);
    p.setBrush(shades[place]);
    p.drawPolygon(arrow);
}

void TasksHeader::gridMouseDown(const GridMouseEvent &e)
{
    m_pressedCol = -1;
    if (e.shift.testFlag(GridShift::Right)) {
        emit menuRequested(mapToGlobal(e.pos));
        return;
    }
    if (e.shift.testFlag(GridShift::Left)) m_pressedCol = e.cell.col;
}

void TasksHeader::gridMouseUp(const GridMouseEvent &e)
{
    const int pressed = std::exchange(m_pressedCol, -1);
    if (pressed < 0 || e.cell.isNone()) return;
    if (e.cell.col != pressed)
        emit columnMoveRequested(pressed, e.cell.col);
    else if (!keyOf(pressed).isNull())
        emit sortRequested(keyOf(pressed));
}
