#include "store/EventWalkIndex.h"

void EventWalkIndex::clear()
{
    m_durationOf.clear();
    m_durations.clear();
    m_recurring.clear();
}

void EventWalkIndex::remove(int id)
{
    m_recurring.erase(id);
    const auto it = m_durationOf.constFind(id);
    if (it == m_durationOf.constEnd()) return;
    m_durations.erase(m_durations.find(it.value()));
    m_durationOf.erase(it);
}

void EventWalkIndex::update(int id, bool recurring, TDateTime start, TDateTime end, bool clipboard)
{
    remove(id);
    if (clipboard) return;
    if (recurring) {
        m_recurring.insert(id);
        return;
    }
    const double d = end - start;
    m_durationOf.insert(id, d);
    m_durations.insert(d);
}

double EventWalkIndex::longestOneTimeDuration() const
{
    if (m_durations.empty()) return 0;
    return std::max(0.0, *m_durations.rbegin());
}
