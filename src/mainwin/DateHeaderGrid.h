#pragma once
// dateHeader: the date header above the grids, one bold cell per column on silver: the shown
// days over the time grid (today's cell framed in white around its text), the weekdays over
// the month grid, the months over the year grid (the current one framed).
#include "core/DateTimeValue.h"
#include "platform/DrawGrid.h"

#include <QStringList>
#include <vector>

class DateHeaderGrid : public DrawGrid
{
    Q_OBJECT
public:
    explicit DateHeaderGrid(QWidget *parent = nullptr);

    // One column per width, the first showing `firstDay`; `today` is framed (a whole day
    // number; none when it is not shown).
    void setDays(SerialDateTime firstDay, const std::vector<int> &widths, SerialDateTime today);
    // One column per width with the given texts; column `framed` (-1: none) gets the frame.
    void setLabels(const std::vector<int> &widths, const QStringList &texts, int framed);
    SerialDateTime firstDay() const { return m_first; }
    // The text of column `col` at its current width.
    QString cellText(int col) const;
    // The white frame drawn for column `col` (today's column only), else a null rectangle.
    QRect todayFrame(int col) const;
    int framedColumn() const { return m_framed; }

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;

private:
    void setWidths(const std::vector<int> &widths);

    SerialDateTime m_first = 0;
    QStringList m_texts; // column texts; empty while the header shows days
    int m_framed = -1;
};
