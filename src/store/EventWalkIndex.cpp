#include "store/EventWalkIndex.h"

#include "core/TextCompare.h"

#include <algorithm>

namespace
{

// The events index: StartTime ascending, EndTime descending, Subject, ID.
bool indexBefore(const EventWalkIndex::RecurringRow &x, const EventWalkIndex::RecurringRow &y)
{
    if (x.rule.StartTime != y.rule.StartTime) return x.rule.StartTime < y.rule.StartTime;
    if (x.rule.EndTime != y.rule.EndTime) return x.rule.EndTime > y.rule.EndTime;
    if (const int c = compareText(x.source.Subject, y.source.Subject); c != 0) return c < 0;
    return x.source.ID < y.source.ID;
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
                                     [id](const RecurringRow &r) { return r.source.ID == id; });
        if (it != m_recurring.end()) m_recurring.erase(it);
    }
    const auto it = m_durationOf.constFind(id);
    if (it == m_durationOf.constEnd()) return;
    m_durations.erase(m_durations.find(it.value()));
    m_durationOf.erase(it);
}

void EventWalkIndex::updateOneTime(int id, TDateTime start, TDateTime end)
{
    remove(id);
    const double d = end - start;
    m_durationOf.insert(id, d);
    m_durations.insert(d);
}

void EventWalkIndex::updateRecurring(RecurringRow row)
{
    const int id = row.source.ID;
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
