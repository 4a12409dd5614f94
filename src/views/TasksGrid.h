#pragma once
// TasksGrid: the task tree as a list of 19 px rows over one grid row as tall as the grid. The
// columns are the indented subject with open/close marks, and the priority and finished
// columns when shown, in the order the setting "TasksCol" gives: its three digits are the
// grid column of the subject, the priority and the finished column (a hidden column keeps its
// digit). Visible row r is drawn at y = (r - firstRow()) * 19.
//
// The selection is held as task ids, not row numbers, so that it stays on the same tasks when
// the rows are rebuilt (a task opened, closed, added or deleted above it); ids whose task is no
// longer visible drop out of it on the next refresh().
#include "platform/DrawGrid.h"
#include "store/TaskRow.h"

#include <QList>
#include <optional>
#include <vector>

class Settings;
class TasksGridModel;

class TasksGrid : public DrawGrid
{
    Q_OBJECT
public:
    static constexpr int RowPitch = 19;
    static constexpr int IndentStep = 18;
    static constexpr int MaxSelected = 500;

    enum class Column { Subject, Priority, Finished };

    // Reads "Priority", "Finished" and "TasksCol" from the settings, which it also writes when
    // the columns change. The references must outlive the grid.
    TasksGrid(QWidget *panel, TasksGridModel &model, Settings &settings);

    // Column widths for `count` shown columns (1..3) with the subject at position
    // `subjectPosition`, over `width` pixels: the subject takes what the 41/42 px columns leave.
    static std::vector<int> columnWidths(int count, int subjectPosition, int width);
    // Sets the column count and widths for the grid's current width.
    void layoutColumns();
    // The kind of grid column `col`; nullopt outside the shown columns.
    std::optional<Column> columnKind(int col) const;
    // The grid column of `kind`; -1 when it is hidden.
    int columnOf(Column kind) const;
    bool isShown(Column kind) const;
    // Shows or hides the priority or finished column (a shown one goes last) and saves the
    // settings. The subject column cannot be hidden.
    void toggleColumn(Column kind);
    // Moves the shown column at position `from` to position `to`, the others shifting, and
    // saves "TasksCol". Positions outside the shown columns change nothing.
    void moveColumn(int from, int to);
    // The sort key of grid column `col`: 'S', 'P' or 'F'; a null QChar outside.
    QChar sortKeyOf(int col) const;

    // Rebuilds the visible rows from the model, drops the selected ids that are no longer
    // visible, keeps the first row in range and repaints.
    void refresh();
    // Number of visible task rows.
    int taskRowCount() const;
    int firstRow() const { return m_firstRow; }
    // Clamped to 0..visible rows - 1 (0 when there are none).
    void setFirstRow(int row);
    // Whole rows that fit in the grid's height.
    int pageRows() const { return std::max(height() / RowPitch, 1); }
    // The visible row at widget y; -1 below the last task.
    int rowAt(int y) const;
    // The visible row of task `id`; -1 when it is not visible.
    int rowOfTask(int id) const;
    // The subject text area's left edge of a task at `level`, in the subject column.
    int textLeft(int level) const;

    // --- selection ---
    const QList<int> &selectedIds() const { return m_selected; }
    // Task id of the last plain selection; -1 when none.
    int anchorId() const { return m_anchor; }
    void clearSelection();
    // Selects task `id` alone (nothing when it is not visible).
    void selectTask(int id);

signals:
    void taskPopupRequested(QPoint globalPos);
    void emptyPopupRequested(QPoint globalPos);
    // A double click on task `id`.
    void editRequested(int id);
    // A dragged task was moved in the tree (and the rows rebuilt).
    void taskMoved();
    void commandStatesChanged();
    // The visible rows or the first row changed (the scroll bar follows).
    void rowsChanged();

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void paintAfterCells(QPainter &p, const QRegion &region) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseMove(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    void paintRow(QPainter &p, int row, const TaskRow &task);
    // The 18 px high part of a priority or finished column at y: one pixel in from its left
    // edge, one pixel narrower when it is the last column.
    QRect sideCell(int col, int y) const;
    void pressOnSubject(const GridMouseEvent &e, int row, const TaskRow &task);
    // The ids of visible rows from..to (either order).
    QList<int> idsOfRows(int from, int to) const;
    void saveColumns();
    void changed();

    TasksGridModel &m_model;
    Settings &m_settings;
    // Grid column of each kind (index: Column); a hidden column keeps its number.
    int m_columns[3] = {2, 1, 0};
    bool m_showPriority = true;
    bool m_showFinished = true;
    int m_firstRow = 0;
    QList<int> m_selected;
    int m_anchor = -1;
    // The cell of a press that may become a click on release; -1: none.
    int m_pressedCol = -1;
    int m_pressedRow = -1;
    int m_pressedTask = -1;
    // A plain left press on a subject's text: releasing it over another row moves the task.
    bool m_rowDrag = false;
};
