#include "store/ColumnTable.h"

#include <algorithm>
#include <cstring>

namespace ColumnTable
{

void clear(ColumnTableRef t)
{
    if (t.rows <= 0) return;
    std::memset(t.slotRows, 0, sizeof(ColumnRow) * std::size_t(t.rows));
    std::memset(t.counts, 0, std::size_t(t.rows));
}

int findFreeColumn(ColumnTableRef t, int first, int last)
{
    for (int c = 0; c < SpanLimits::MaxColumns; ++c) {
        bool free = true;
        for (int r = first; r <= last; ++r) {
            if (t.slotRows[r - 1][c] != 0) {
                free = false;
                break;
            }
        }
        if (free) return c + 1;
    }
    return 0;
}

void mark(ColumnTableRef t, int first, int last, int column, int slot)
{
    for (int r = first; r <= last; ++r)
        t.slotRows[r - 1][column - 1] = std::uint8_t(slot);
}

namespace
{

// Upward part: the top row of the cluster. Steps (a) look left, (b) climb, (c) scan right;
// after every step the walk ends when the occupant is 0 in column 1.
int climbToClusterTop(ColumnTableRef t, int first, int column)
{
    enum Step { LookLeft, Climb, ScanRight };
    int r = first;
    int s = column;
    int o = t.cell(r, s);
    int remembered = s;
    bool moved = false;
    Step step = LookLeft;
    for (;;) {
        switch (step) {
        case LookLeft:
            if (s == 1) return r;
            o = t.cell(r, s - 1);
            s = s - 1;
            moved = false;
            step = Climb;
            break;
        case Climb:
            if (r == 1) return r;
            if (t.cell(r - 1, s) == o) {
                r = r - 1;
                moved = true;
            } else if (moved) {
                remembered = s;
                step = ScanRight;
            } else {
                step = LookLeft;
            }
            break;
        case ScanRight:
            s = s + 1;
            o = t.cell(r, s);
            if (o != 0) {
                moved = false;
                step = Climb;
            } else if (s >= t.count(r) || s >= SpanLimits::MaxColumns) {
                // The column bound only guards the table's edge; a count never exceeds 16.
                s = remembered;
                step = LookLeft;
            }
            break;
        }
        if (o == 0 && s == 1) return r;
    }
}

// Downward part: the bottom row of the cluster. Steps (a) look left, (b) descend.
int descendToClusterBottom(ColumnTableRef t, int last, int column)
{
    int q = last;
    int u = column;
    int o = t.cell(q, u);
    bool lookLeft = true;
    for (;;) {
        if (lookLeft) {
            if (u == 1) return q;
            o = t.cell(q, u - 1);
            u = u - 1;
            if (o != 0) lookLeft = false;
        } else {
            if (q == t.rows) return q;
            if (t.cell(q + 1, u) == o)
                q = q + 1;
            else
                lookLeft = true;
        }
        if (o == 0 && u == 1) return q;
    }
}

} // namespace

void widenColumnCount(ColumnTableRef t, int first, int last, int column)
{
    const int r = climbToClusterTop(t, first, column);
    const int q = descendToClusterBottom(t, last, column);
    const int n = std::max(column, t.count(r));
    for (int row = r; row <= q; ++row)
        t.counts[row - 1] = std::uint8_t(n);
}

} // namespace ColumnTable
