#pragma once
// The header over the tasks grid: one bold cell per grid column on silver, "Task", "!" and a
// ticked box for the finished column, each with an arrow for its place in the sort order (up
// for ascending, down for descending; black for the first key, grey for the second, light
// grey for the third). A press released on the column it started on asks to sort by it, one
// released on another column asks to move the column there; a right press asks for the
// column menu.
#include "platform/DrawGrid.h"

#include <QList>
#include <vector>

class TasksHeader : public DrawGrid
{
    Q_OBJECT
public:
    explicit TasksHeader(QWidget *parent);

    // The columns with their widths and sort keys ('S', 'P', 'F'), and the sort order as an
    // index name such as "S+P+F+".
    void setColumns(const std::vector<int> &widths, const QList<QChar> &keys,
                    const QString &indexName);
    QChar keyOf(int col) const { return col >= 0 && col < m_keys.size() ? m_keys[col] : QChar(); }

signals:
    void sortRequested(QChar key);
    void columnMoveRequested(int from, int to);
    void menuRequested(QPoint globalPos);

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;
    void gridMouseDown(const GridMouseEvent &e) override;
    void gridMouseUp(const GridMouseEvent &e) override;

private:
    QList<QChar> m_keys;
    QString m_indexName;
    int m_pressedCol = -1;
};
