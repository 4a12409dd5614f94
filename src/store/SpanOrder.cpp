#include "store/SpanCollections.h"

#include "core/TextCompare.h"

namespace SpanOrder
{

bool before(const SpanSourceItem &x, const SpanSourceItem &y)
{
    if (x.StartTime != y.StartTime) return x.StartTime < y.StartTime;
    if (x.EndTime != y.EndTime) return x.EndTime > y.EndTime;
    if (const int c = compareText(x.Subject, y.Subject); c != 0) return c < 0;
    if (x.IsOccurrence != y.IsOccurrence) return !x.IsOccurrence;
    return x.ID < y.ID;
}

void sort(std::vector<SpanSourceItem> &items)
{
    std::stable_sort(items.begin(), items.end(), before);
}

} // namespace SpanOrder
