#include "store/EventWalkIndex.h"

#include "core/TextCompare.h"

#include <algorithm>

namespace
{

// The events index: startTime ascending, endTime descending, subject, id.
bool indexBefore(const EventWalkIndex::RecurringRow &x, const EventWalkIndex::RecurringRow &y)
{
    if (x.rule.startTime != y.rule.startTime) return x.rule.startTime < y.rule.startTime;
    if (x.rule.endTime != y.rule.endTime) return x.rule.endTime > y.rule.endTime;
    if (const int c = compareText(x.source.subject, y.source.subject); c != 0) return c < 0;
    return x.source.id < y.source.id;
}

} // namespace

void EventWalkIndex::clear()
{
    m_durationOf.clear();
    m_durations.clear();
    m_recurring.clear();
    m_recurringIds.clear();
}

void EventWalkIndex::remove(int id)
{
    if (m_recurringIds.remove(id)) {
        const auto it = std::find_if(m_recurring.begin(), m_recurring.end(),
                                     [id](const RecurringRow &r) { return r.source.id == id; });
        if (it != m_recurring.end()) m_recurring.erase(it);
    }
    const auto it = m_durationOf.constFind(id);
    if (it == m_durationOf.constEnd()) return;
    m_durations.erase(m_durations.find(it.value()));
    m_durationOf.erase(it);
}

void EventWalkIndex::updateOneTime(int id, SerialDateTime start, SerialDateTime end)
{
    remove(id);
    const double d = end - start;
    m_durationOf.insert(id, d);
    m_durations.insert(d);
}

void EventWalkIndex::updateRecurring(RecurringRow row)
{
    const int id = row.source.id;
    remove(id);
    const auto at = std::upper_bound(m_recurring.begin(), m_recurring.end(), row, indexBefore);
    m_recurring.insert(at, std::move(row));
    m_recurringIds.insert(id);
}

double EventWalkIndex::longestOneTimeDuration() const
{
    if (m_durations.empty()) return 0;
    return std::max(0.0, *m_durations.rbegin());
}
