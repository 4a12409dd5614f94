#pragma once
// The free parts of a grid cell whose width the event boxes share out in columns, as the time
// grid and the year grid paint them around their boxes. Columns 1..n split the cell's width
// less `reserved` pixels, column k starting at left + trunc(w / n * (k - 1)); the reserved
// part at the right never holds a box.
#include <QRect>

#include <cmath>

namespace CellRuns
{

// Calls fill(x0, x1) for every run of free columns, x0..x1 inclusive, and for the reserved
// right-hand part when column n is occupied (its right-most reserved - 1 pixels). `inner` is
// the cell without its right-hand line: a run that reaches the last column ends at its right.
// n <= 0: one run over the whole inner cell. occupied(k) tells whether column k holds a box.
template <class Occupied, class Fill>
void forEachFree(const QRect &cell, const QRect &inner, int n, int reserved, Occupied occupied,
                 Fill fill)
{
    if (n <= 0) {
        fill(inner.left(), inner.right());
        return;
    }
    const double w = cell.width() - reserved;
    const auto xAt = [&](int column) {
        return cell.left() + int(std::trunc(w / n * (column - 1)));
    };
    for (int a = 1; a <= n;) {
        if (occupied(a)) {
            ++a;
            continue;
        }
        int b = a;
        while (b <= n && !occupied(b))
            ++b;
        fill(xAt(a), b > n ? inner.right() : xAt(b) - 1);
        a = b;
    }
    if (occupied(n)) fill(inner.right() - (reserved - 2), inner.right());
}

} // namespace CellRuns
