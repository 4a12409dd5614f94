#pragma once
// Fixed-size cell lists of a span collection: `Cells` cells (week rows, month columns, ...)
// numbered from 1, each holding up to SpanLimits::MaxItemsPerCell placed items numbered from 1
// (the item's slot). Allocates nothing but the text the items copy.
#include "store/SpanItem.h"

#include <array>
#include <span>

template <int Cells> class SpanCellLists
{
public:
    // The number of items in a cell; 0 outside 1..Cells.
    int count(int cell) const { return inRange(cell) ? m_count[cell - 1] : 0; }
    // The items of a cell in slot order; empty outside 1..Cells.
    std::span<const SpanItem> items(int cell) const
    {
        if (!inRange(cell)) return {};
        return {m_items[cell - 1].data(), std::size_t(m_count[cell - 1])};
    }
    std::span<SpanItem> items(int cell)
    {
        if (!inRange(cell)) return {};
        return {m_items[cell - 1].data(), std::size_t(m_count[cell - 1])};
    }
    // The item in `slot` (1..count(cell)); null outside.
    const SpanItem *item(int cell, int slot) const
    {
        if (slot < 1 || slot > count(cell)) return nullptr;
        return &m_items[cell - 1][slot - 1];
    }

    // Empties a cell in 1..Cells.
    void clear(int cell) { m_count[cell - 1] = 0; }
    // The storage of the next slot of a cell in 1..Cells, filled from `source`; null when the
    // cell is full. It joins the cell only with commit().
    SpanItem *prepareNext(int cell, const SpanSourceItem &source)
    {
        const int slot = m_count[cell - 1] + 1;
        if (slot > SpanLimits::MaxItemsPerCell) return nullptr;
        SpanItem &r = m_items[cell - 1][slot - 1];
        fillSpanItem(r, source, slot);
        return &r;
    }
    // Adds the item prepareNext() gave for this cell.
    void commit(int cell) { ++m_count[cell - 1]; }

private:
    static bool inRange(int cell) { return cell >= 1 && cell <= Cells; }

    std::array<std::array<SpanItem, SpanLimits::MaxItemsPerCell>, Cells> m_items;
    std::array<int, Cells> m_count{};
};
