#include "mainwin/DateHeaderGrid.h"

#include "core/LayerPalette.h"
#include "mainwin/TimeFamilyLayout.h"

#include <QApplication>
#include <QPainter>

namespace
{
QFont headerFont()
{
    QFont f = QApplication::font("QMenu");
    f.setPointSize(8);
    f.setBold(true);
    return f;
}
} // namespace

DateHeaderGrid::DateHeaderGrid(QWidget *parent) : DrawGrid(parent)
{
    setColor(LayerPalette::colorFromBGR(12632256));
    setRowCount(1);
    setFocusPolicy(Qt::NoFocus);
}

void DateHeaderGrid::setDays(SerialDateTime firstDay, const std::vector<int> &widths,
                             SerialDateTime today)
{
    m_first = firstDay;
    m_texts.clear();
    const SerialDateTime shown = today - firstDay;
    m_framed = shown >= 0 && shown < int(widths.size()) ? int(shown) : -1;
    setWidths(widths);
}

void DateHeaderGrid::setLabels(const std::vector<int> &widths, const QStringList &texts, int framed)
{
    m_texts = texts;
    m_framed = framed;
    setWidths(widths);
}

void DateHeaderGrid::setWidths(const std::vector<int> &widths)
{
    setColCount(int(widths.size()));
    for (std::size_t i = 0; i < widths.size(); ++i)
        setColWidth(int(i), widths[i]);
    setRowHeight(0, height());
    invalidateGrid();
}

QString DateHeaderGrid::cellText(int col) const
{
    if (col < 0 || col >= colCount()) return {};
    if (!m_texts.isEmpty()) return col < m_texts.size() ? m_texts.at(col) : QString();
    return TimeFamily::headerText(m_first + col, colWidth(col));
}

QRect DateHeaderGrid::todayFrame(int col) const
{
    if (col < 0 || col >= colCount() || col != m_framed) return {};
    const QRect cell = cellRect(col, 0);
    const int textWidth = QFontMetrics(headerFont()).horizontalAdvance(cellText(col)) + 10;
    if (textWidth >= cell.width()) return cell;
    return QRect(cell.left() + (cell.width() - textWidth) / 2, cell.top(), textWidth,
                 cell.height());
}

void DateHeaderGrid::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    if (row != 0) return;
    p.fillRect(rect, LayerPalette::colorFromBGR(12632256));
    p.setFont(headerFont());
    p.setPen(Qt::black);
    p.drawText(rect, Qt::AlignCenter, cellText(col));
    const QRect frame = todayFrame(col);
    if (!frame.isNull()) {
        p.setPen(Qt::white);
        p.drawRect(frame.adjusted(0, 0, -1, -1));
    }
}
