#pragma once
// The three span collections the events store keeps for the views. About 300 KB of fixed
// arrays: hold it by std::unique_ptr, never on the stack.
#include "store/DaySpanCollection.h"
#include "store/MonthSpanCollection.h"
#include "store/YearSpanCollection.h"

#include <algorithm>
#include <vector>

struct SpanCollections {
    DaySpanCollection day;
    MonthSpanCollection month;
    YearSpanCollection year;
};

namespace SpanOrder
{

// Event order: startTime ascending, endTime descending, subject by compareText; then table rows
// before occurrences (the merge takes an occurrence only when it sorts strictly first), then id.
bool before(const SpanSourceItem &x, const SpanSourceItem &y);

// Sorts items into event order (stable).
void sort(std::vector<SpanSourceItem> &items);

// Plain reference walk: every item whose times can reach the window [start, end) (startTime
// before the end and endTime at or after the start) goes to add() in event order. Meant for
// tests and small lists; the events store feeds its filtered walk instead.
template <class Collection>
void collect(Collection &collection, const CollectionWindow &window,
             std::vector<SpanSourceItem> items)
{
    std::erase_if(items, [&](const SpanSourceItem &i) {
        return !(i.startTime < window.end && i.endTime >= window.start);
    });
    sort(items);
    for (const SpanSourceItem &i : items)
        collection.add(i);
}

} // namespace SpanOrder
