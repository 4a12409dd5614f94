#include "store/SpanCollections.h"

#include "core/TextCompare.h"

namespace SpanOrder
{

bool before(const SpanSourceItem &x, const SpanSourceItem &y)
{
    if (x.startTime != y.startTime) return x.startTime < y.startTime;
    if (x.endTime != y.endTime) return x.endTime > y.endTime;
    if (const int c = compareText(x.subject, y.subject); c != 0) return c < 0;
    if (x.isOccurrence != y.isOccurrence) return !x.isOccurrence;
    return x.id < y.id;
}

void sort(std::vector<SpanSourceItem> &items)
{
    std::stable_sort(items.begin(), items.end(), before);
}

} // namespace SpanOrder
