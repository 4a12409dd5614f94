#include "dialogs/LayerListGrid.h"

#include "core/LayerPalette.h"
#include "views/GridPaint.h"

#include <QPainter>

#include <algorithm>

namespace
{
// Colours as 0x00BBGGRR.
constexpr uint32_t SelectedColour = 6307874;
constexpr uint32_t HeaderColour = 3947580;
constexpr uint32_t LineColour = 3947580;
constexpr int BoxSize = 12;

constexpr int columnWidth(int col)
{
    constexpr int widths[] = {110, 50, 50, 44, 52};
    return widths[col];
}

QString archiveText(const LayerRow &l)
{
    return l.archiving == 2 ? QString::number(l.archiveDays) + QStringLiteral(" d")
                            : QStringLiteral("-");
}

QRect boxIn(const QRect &cell)
{
    return QRect(cell.center().x() - BoxSize / 2, cell.center().y() - BoxSize / 2, BoxSize,
                 BoxSize);
}
} // namespace

LayerListGrid::LayerListGrid(QWidget *parent) : DrawGrid(parent)
{
    setColCount(ColumnCount);
    for (int c = 0; c < ColumnCount; ++c)
        setColWidth(c, columnWidth(c));
    setFixedRows(1);
    setColor(Qt::white);
    setFocusPolicy(Qt::StrongFocus);
    rowsChanged();
}

void LayerListGrid::setRows(std::vector<Row> rows)
{
    m_rows = std::move(rows);
    for (Row &r : m_rows)
        r.selected = false;
    m_focusRow = 0;
    if (!m_rows.empty()) m_rows.front().selected = true;
    rowsChanged();
}

void LayerListGrid::rowsChanged()
{
    setRowCount(1 + int(m_rows.size()));
    setRowHeight(0, HeaderHeight);
    int width = 0;
    for (int c = 0; c < ColumnCount; ++c)
        width += columnWidth(c);
    setFixedWidth(width);
    invalidateGrid();
}

int LayerListGrid::selectedCount() const
{
    return int(
        std::count_if(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.selected; }));
}

std::vector<int> LayerListGrid::selectedRows() const
{
    std::vector<int> out;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].selected) out.push_back(int(i));
    return out;
}

void LayerListGrid::selectOnly(int i)
{
    if (i < 0 || i >= int(m_rows.size())) return;
    for (Row &r : m_rows)
        r.selected = false;
    m_rows[std::size_t(i)].selected = true;
    m_focusRow = i;
    invalidateGrid();
}

void LayerListGrid::drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState)
{
    p.save();
    p.setClipRect(rect);
    p.setFont(font());
    if (row == 0) {
        static const char *const titles[] = {"Name", "Events", "Tasks", "Shown", "Archive"};
        p.fillRect(rect, LayerPalette::colorFromBGR(HeaderColour));
        p.setPen(Qt::white);
        p.drawText(rect.adjusted(4, 0, 0, 0),
                   (col == NameCol ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter,
                   QString::fromLatin1(titles[col]));
        p.restore();
        return;
    }
    const Row &r = m_rows[std::size_t(row - 1)];
    const QColor layerColour = LayerPalette::layerColor(r.layer.color);
    if (col == NameCol) {
        p.fillRect(rect, r.selected ? LayerPalette::colorFromBGR(SelectedColour) : layerColour);
        p.setPen(r.selected ? Qt::white : Qt::black);
        p.drawText(rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, r.layer.name);
        p.restore();
        return;
    }
    p.fillRect(rect, layerColour);
    p.setPen(LayerPalette::colorFromBGR(LineColour));
    p.drawLine(rect.topLeft(), rect.bottomLeft());
    p.setPen(Qt::black);
    switch (col) {
    case EventsCol:
        p.drawText(rect, Qt::AlignCenter, QString::number(r.eventCount));
        break;
    case TasksCol:
        p.drawText(rect, Qt::AlignCenter, QString::number(r.taskCount));
        break;
    case ShownCol:
        GridPaint::drawTickBox(p, boxIn(rect), Qt::black, Qt::white, r.layer.shown);
        break;
    default:
        p.drawText(rect, Qt::AlignCenter, archiveText(r.layer));
    }
    p.restore();
}

void LayerListGrid::gridMouseDown(const GridMouseEvent &e)
{
    m_anchorRow = -1;
    const int i = e.cell.row - 1;
    if (e.button != Qt::LeftButton || e.cell.isNone() || i < 0 || i >= int(m_rows.size())) return;
    if (m_editable && e.cell.col == ShownCol &&
        boxIn(cellRect(ShownCol, e.cell.row)).contains(e.pos)) {
        m_rows[std::size_t(i)].layer.shown = !m_rows[std::size_t(i)].layer.shown;
        invalidateGrid();
        emit shownToggled(i);
        return;
    }
    if (e.shift.testFlag(GridShift::Shift)) {
        const int from = std::min(m_focusRow, i);
        const int to = std::max(m_focusRow, i);
        for (int k = 0; k < int(m_rows.size()); ++k)
            m_rows[std::size_t(k)].selected = k >= from && k <= to;
    } else if (e.shift.testFlag(GridShift::Ctrl)) {
        Row &r = m_rows[std::size_t(i)];
        if (!r.selected || selectedCount() > 1) r.selected = !r.selected;
    } else {
        selectOnly(i);
    }
    m_anchorRow = i;
    invalidateGrid();
    emit selectionChanged();
}

void LayerListGrid::gridMouseMove(const GridMouseEvent &e)
{
    if (!m_editable || m_anchorRow < 0 || !e.shift.testFlag(GridShift::Left)) return;
    const int i = e.cell.row - 1;
    if (e.cell.isNone() || i < 0 || i >= int(m_rows.size()) || i == m_anchorRow) return;
    Row moved = m_rows[std::size_t(m_anchorRow)];
    m_rows.erase(m_rows.begin() + m_anchorRow);
    m_rows.insert(m_rows.begin() + i, moved);
    m_anchorRow = i;
    selectOnly(i);
    emit selectionChanged();
}
