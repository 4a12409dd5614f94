#include "views/TasksGrid.h"

#include "core/Settings.h"
#include "views/GridPaint.h"
#include "views/GridPress.h"
#include "views/TaskMarks.h"
#include "views/TasksGridModel.h"

#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace
{
constexpr int PriorityWidth = 41;
constexpr int FinishedWidth = 42;
const QColor HighPriorityColor(185, 0, 0);

int indexOf(TasksGrid::Column c)
{
    return int(c);
}

// A plus or minus mark in an 18 x 18 square.
void drawToggle(QPainter &p, int x, int y, bool open)
{
    const QRect box(x + 4, y + 4, 9, 9);
    p.setPen(GridPaint::lineColor());
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.drawLine(box.left() + 2, box.center().y(), box.right() - 2, box.center().y());
    if (!open) p.drawLine(box.center().x(), box.top() + 2, box.center().x(), box.bottom() - 2);
}
} // namespace

TasksGrid::TasksGrid(QWidget *panel, TasksGridModel &model, Settings &settings)
    : DrawGrid(panel), m_model(model), m_settings(settings)
{
    setColor(GridPaint::backColor());
    setRowCount(1);
    m_showPriority = settings.showPriority();
    m_showFinished = settings.showFinished();
    const QString digits = settings.tasksColumns();
    const auto valid = [](QChar c) { return c >= u'0' && c <= u'2'; };
    // A damaged setting falls back to finished, priority, subject.
    if (digits.size() == 3 && std::all_of(digits.begin(), digits.end(), valid))
        for (int i = 0; i < 3; ++i)
            m_columns[i] = digits[i].digitValue();
    const int count = 1 + int(m_showPriority) + int(m_showFinished);
    bool sound = true;
    for (int pos = 0; pos < count; ++pos)
        sound = sound && columnKind(pos).has_value();
    if (!sound) {
        m_columns[indexOf(Column::Subject)] = count - 1;
        int next = 0;
        for (Column c : {Column::Finished, Column::Priority})
            if (isShown(c)) m_columns[indexOf(c)] = next++;
    }
    layoutColumns();
}

std::vector<int> TasksGrid::columnWidths(int count, int subjectPosition, int width)
{
    if (count <= 1) return {width};
    if (count == 2)
        return subjectPosition == 0 ? std::vector<int>{width - FinishedWidth, FinishedWidth}
                                    : std::vector<int>{PriorityWidth, width - PriorityWidth};
    switch (subjectPosition) {
    case 0:
        return {width - 2 * PriorityWidth - 1, PriorityWidth, FinishedWidth};
    case 1:
        return {PriorityWidth, width - 2 * PriorityWidth - 1, FinishedWidth};
    default:
        return {PriorityWidth, PriorityWidth, width - 2 * PriorityWidth};
    }
}

void TasksGrid::layoutColumns()
{
    const int count = 1 + int(m_showPriority) + int(m_showFinished);
    const std::vector<int> widths = columnWidths(count, columnOf(Column::Subject), width());
    setColCount(count);
    for (int c = 0; c < count; ++c)
        setColWidth(c, std::max(widths[std::size_t(c)], 0));
    setRowHeight(0, std::max(height(), 1));
}

bool TasksGrid::isShown(Column kind) const
{
    return kind == Column::Subject || (kind == Column::Priority ? m_showPriority : m_showFinished);
}

int TasksGrid::columnOf(Column kind) const
{
    return isShown(kind) ? m_columns[indexOf(kind)] : -1;
}

std::optional<TasksGrid::Column> TasksGrid::columnKind(int col) const
{
    for (Column c : {Column::Subject, Column::Priority, Column::Finished})
        if (isShown(c) && m_columns[indexOf(c)] == col) return c;
    return std::nullopt;
}

QChar TasksGrid::sortKeyOf(int col) const
{
    const auto kind = columnKind(col);
    if (!kind) return {};
    return *kind == Column::Subject ? u'S' : *kind == Column::Priority ? u'P' : u'F';
}

void TasksGrid::toggleColumn(Column kind)
{
    if (kind == Column::Subject) return;
    bool &shown = kind == Column::Priority ? m_showPriority : m_showFinished;
    const int count = 1 + int(m_showPriority) + int(m_showFinished);
    int &own = m_columns[indexOf(kind)];
    if (shown) {
        for (Column c : {Column::Subject, Column::Priority, Column::Finished})
            if (c != kind && isShown(c) && m_columns[indexOf(c)] > own) --m_columns[indexOf(c)];
    } else {
        own = count;
    }
    shown = !shown;
    saveColumns();
    layoutColumns();
    invalidateGrid();
}

void TasksGrid::moveColumn(int from, int to)
{
    const int count = colCount();
    if (from < 0 || to < 0 || from >= count || to >= count || from == to) return;
    std::vector<Column> order;
    for (int pos = 0; pos < count; ++pos)
        if (const auto kind = columnKind(pos)) order.push_back(*kind);
    if (int(order.size()) != count) return;
    const Column moved = order[std::size_t(from)];
    order.erase(order.begin() + from);
    order.insert(order.begin() + to, moved);
    for (int pos = 0; pos < count; ++pos)
        m_columns[indexOf(order[std::size_t(pos)])] = pos;
    saveColumns();
    layoutColumns();
    invalidateGrid();
}

void TasksGrid::saveColumns()
{
    m_settings.setShowPriority(m_showPriority);
    m_settings.setShowFinished(m_showFinished);
    QString digits;
    for (int c : m_columns)
        digits += QString::number(c);
    m_settings.setTasksColumns(digits);
}

// ---------------------------------------------------------------------------------------------
// Rows and selection.

void TasksGrid::refresh()
{
    m_model.rebuildRows();
    QList<int> kept;
    for (int id : m_selected)
        if (rowOfTask(id) >= 0) kept << id;
    m_selected = kept;
    if (!m_selected.contains(m_anchor)) m_anchor = m_selected.isEmpty() ? -1 : m_selected.last();
    setFirstRow(m_firstRow);
    layoutColumns();
    invalidateGrid();
    emit rowsChanged();
}

void TasksGrid::setFirstRow(int row)
{
    const int clamped = std::clamp(row, 0, std::max(m_model.visibleCount() - 1, 0));
    if (clamped == m_firstRow) return;
    m_firstRow = clamped;
    invalidateGrid();
    emit rowsChanged();
}

int TasksGrid::taskRowCount() const
{
    return m_model.visibleCount();
}

int TasksGrid::rowAt(int y) const
{
    if (y < 0) return -1;
    const int row = y / RowPitch + m_firstRow;
    return row < m_model.visibleCount() ? row : -1;
}

int TasksGrid::rowOfTask(int id) const
{
    for (int r = 0, n = m_model.visibleCount(); r < n; ++r)
        if (const auto t = m_model.visibleTask(r); t && t->id == id) return r;
    return -1;
}

int TasksGrid::textLeft(int level) const
{
    return cellRect(columnOf(Column::Subject), 0).left() + level * IndentStep + 2;
}

void TasksGrid::clearSelection()
{
    m_selected.clear();
    m_anchor = -1;
    invalidateGrid();
}

void TasksGrid::selectTask(int id)
{
    m_selected.clear();
    m_anchor = -1;
    if (rowOfTask(id) >= 0) {
        m_selected << id;
        m_anchor = id;
    }
    invalidateGrid();
}

QList<int> TasksGrid::idsOfRows(int from, int to) const
{
    QList<int> ids;
    for (int r = std::min(from, to); r <= std::max(from, to) && ids.size() < MaxSelected; ++r)
        if (const auto t = m_model.visibleTask(r)) ids << t->id;
    return ids;
}

void TasksGrid::changed()
{
    invalidateGrid();
    emit commandStatesChanged();
}

// ---------------------------------------------------------------------------------------------
// Painting.

void TasksGrid::drawCell(QPainter &p, int col, int, const QRect &rect, GridDrawState)
{
    p.fillRect(rect, GridPaint::backColor());
    p.setPen(GridPaint::lineColor());
    p.drawLine(rect.topLeft(), rect.bottomLeft());
    if (col == colCount() - 1)
        p.drawLine(rect.right() - 1, rect.top(), rect.right() - 1, rect.bottom());
}

void TasksGrid::paintAfterCells(QPainter &p, const QRegion &)
{
    for (int r = m_firstRow, n = m_model.visibleCount(); r < n; ++r) {
        if ((r - m_firstRow) * RowPitch > height()) break;
        if (const auto task = m_model.visibleTask(r)) paintRow(p, r, *task);
    }
}

QRect TasksGrid::sideCell(int col, int y) const
{
    QRect c = cellRect(col, 0).adjusted(1, 0, 0, 0);
    c.setTop(y);
    c.setHeight(18);
    if (col == colCount() - 1) c.setWidth(c.width() - 1);
    return c;
}

void TasksGrid::paintRow(QPainter &p, int row, const TaskRow &task)
{
    const int y = (row - m_firstRow) * RowPitch;
    const bool top = task.level <= 1;
    const QColor indentColor = top ? GridPaint::backColor() : GridPaint::panelColor();
    const bool selected = m_selected.contains(task.id);
    const QColor grey = GridPaint::occurrenceColor();

    // Subject: the indentation with its mark, then the text on the row's colour.
    const int subjectCol = columnOf(Column::Subject);
    const QRect cell = cellRect(subjectCol, 0);
    const int indentEnd = cell.left() + 1 + task.level * IndentStep;
    p.fillRect(QRect(cell.left() + 1, y, indentEnd - cell.left() - 1, 18),
               top ? GridPaint::backColor() : GridPaint::panelColor());
    if (task.hasChildren) drawToggle(p, indentEnd - IndentStep, y, task.open);
    p.setPen(GridPaint::lineColor());
    p.drawLine(indentEnd, y, indentEnd, y + 17);

    const int right = cell.right() - (subjectCol == colCount() - 1 ? 1 : 0);
    QRect text(indentEnd + 1, y, std::max(right - indentEnd, 0), 18);
    const QColor back = selected ? GridPaint::selectedColor() : m_model.layerColor(task.layer);
    p.fillRect(text, back);
    int textX = text.left() + 3;
    const QColor mark = selected ? Qt::white : task.finished ? grey : GridPaint::lineColor();
    if (m_settings.showAlarmTasks() && task.alarmSet)
        textX = TaskMarks::drawAlarmMark(p, textX, y, TaskMarks::ScreenRowHeight, mark);
    p.save();
    p.setClipRect(text);
    p.setPen(selected ? QColor(Qt::white) : task.finished ? grey : QColor(Qt::black));
    p.drawText(QPoint(textX, y + 2 + p.fontMetrics().ascent()), task.subject);
    if (task.finished) {
        p.setPen(selected ? QColor(Qt::white) : grey);
        const int end =
            std::min(textX + p.fontMetrics().horizontalAdvance(task.subject) + 8, text.right());
        p.drawLine(textX, y + 9, end, y + 9);
    }
    p.restore();

    // Priority: "!" for high, an arrow down for low, nothing for normal.
    if (const int col = columnOf(Column::Priority); col >= 0) {
        const QRect c = sideCell(col, y);
        p.fillRect(c, indentColor);
        if (task.priority >= 2) {
            QFont bold = p.font();
            bold.setBold(true);
            p.save();
            p.setFont(bold);
            p.setPen(HighPriorityColor);
            p.drawText(c.translated(1, 0), Qt::AlignCenter, QStringLiteral("!"));
            p.restore();
        } else if (task.priority <= 0) {
            p.setPen(grey);
            TaskMarks::drawLowPriorityArrow(p, c);
        }
    }
    // Finished: a box, ticked when done.
    if (const int col = columnOf(Column::Finished); col >= 0) {
        const QRect c = sideCell(col, y);
        p.fillRect(c, indentColor);
        const QRect box(c.left() + c.width() / 2 - 6, y + 3, 12, 12);
        p.setPen(GridPaint::lineColor());
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (task.finished) {
            p.drawLine(box.left() + 2, box.top() + 6, box.left() + 5, box.bottom() - 2);
            p.drawLine(box.left() + 5, box.bottom() - 2, box.right() - 2, box.top() + 2);
        }
    }
    p.setPen(GridPaint::lineColor());
    p.drawLine(0, y + 18, width(), y + 18);
}

// ---------------------------------------------------------------------------------------------
// The mouse.

void TasksGrid::gridMouseDown(const GridMouseEvent &e)
{
    m_pressedCol = m_pressedRow = m_pressedTask = -1;
    m_rowDrag = false;
    if (!GridPress::isHandled(e.shift) || e.cell.isNone()) return;
    const int row = rowAt(e.pos.y());
    const auto task = m_model.visibleTask(row);
    if (!task) {
        clearSelection();
        emit commandStatesChanged();
        if (e.shift.testFlag(GridShift::Right)) emit emptyPopupRequested(mapToGlobal(e.pos));
        return;
    }
    const auto kind = columnKind(e.cell.col);
    if (kind == Column::Subject) {
        pressOnSubject(e, row, *task);
        return;
    }
    m_selected = {task->id};
    m_anchor = task->id;
    m_pressedCol = e.cell.col;
    m_pressedRow = row;
    m_pressedTask = task->id;
    changed();
}

void TasksGrid::pressOnSubject(const GridMouseEvent &e, int row, const TaskRow &task)
{
    const GridPress::Press press = GridPress::pressOf(e.shift);
    if (e.pos.x() < cellRect(e.cell.col, 0).left() + task.level * IndentStep + 1) {
        clearSelection();
        m_pressedCol = e.cell.col;
        m_pressedRow = row;
        m_pressedTask = task.id;
        emit commandStatesChanged();
        return;
    }
    if (press.leftDouble) {
        emit editRequested(m_anchor >= 0 ? m_anchor : task.id);
        return;
    }
    const int anchorRow = rowOfTask(m_anchor);
    if (press.plainLeft) {
        m_selected.clear();
        m_rowDrag = true;
    }
    if (m_selected.contains(task.id)) {
        if (press.ctrl) m_selected.removeOne(task.id);
        if (press.shift && anchorRow >= 0) m_selected = idsOfRows(anchorRow, row);
    } else {
        if (press.plainRight()) m_selected.clear();
        if (press.shift && anchorRow >= 0) {
            m_selected = idsOfRows(anchorRow, row);
        } else if (m_selected.size() < MaxSelected) {
            m_selected << task.id;
            m_anchor = task.id;
        }
    }
    changed();
    if (press.right) emit taskPopupRequested(mapToGlobal(e.pos));
}

void TasksGrid::gridMouseMove(const GridMouseEvent &e)
{
    if (m_rowDrag && e.shift.testFlag(GridShift::Left) && rowOfTask(m_anchor) >= 0)
        setPointer(GridPointer::Drag);
}

void TasksGrid::gridMouseUp(const GridMouseEvent &e)
{
    if (std::exchange(m_rowDrag, false)) {
        setPointer(GridPointer::Arrow);
        const int from = rowOfTask(m_anchor);
        if (from < 0 || !rect().contains(e.pos)) return;
        // Below the last row: the task goes to the top level.
        const int over = rowAt(e.pos.y());
        if (!m_model.moveTask(from, over >= 0 ? over : taskRowCount())) return;
        m_selected.clear();
        m_anchor = -1;
        refresh();
        emit taskMoved();
        emit commandStatesChanged();
        return;
    }
    const int pressedCol = std::exchange(m_pressedCol, -1);
    const int pressedTask = std::exchange(m_pressedTask, -1);
    if (pressedCol < 0 || e.cell.col != pressedCol || rowAt(e.pos.y()) != m_pressedRow) return;
    auto task = m_model.visibleTask(m_pressedRow);
    if (!task || task->id != pressedTask) return;
    const auto kind = columnKind(pressedCol);
    if (kind == Column::Subject) {
        if (!task->hasChildren) return;
        task->open = !task->open;
    } else if (kind == Column::Priority) {
        const int raised = e.button == Qt::RightButton ? 0 : 2;
        task->priority = task->priority == 1 ? raised : 1;
    } else {
        task->finished = !task->finished;
    }
    if (!m_model.writeTask(*task)) return;
    refresh();
    if (kind != Column::Subject) selectTask(task->id);
    emit commandStatesChanged();
}

void TasksGrid::wheelEvent(QWheelEvent *e)
{
    const int steps = e->angleDelta().y() / 120;
    setFirstRow(m_firstRow - steps * 3);
    e->accept();
}
