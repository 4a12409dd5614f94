#pragma once
// dateHeader: the date header above the time grid, one bold cell per shown day on silver,
// today's cell framed in white around its text.
#include "core/DateTimeValue.h"
#include "platform/DrawGrid.h"

#include <vector>

class DateHeaderGrid : public DrawGrid
{
    Q_OBJECT
public:
    explicit DateHeaderGrid(QWidget *parent = nullptr);

    // One column per width, the first showing `firstDay`; `today` is framed (a whole day
    // number; none when it is not shown).
    void setDays(SerialDateTime firstDay, const std::vector<int> &widths, SerialDateTime today);
    SerialDateTime firstDay() const { return m_first; }
    // The text of column `col` at its current width.
    QString cellText(int col) const;
    // The white frame drawn for column `col` (today's column only), else a null rectangle.
    QRect todayFrame(int col) const;

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override;

private:
    SerialDateTime m_first = 0;
    SerialDateTime m_today = 0;
};
