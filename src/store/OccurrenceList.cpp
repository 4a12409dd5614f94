#include "store/OccurrenceList.h"

#include "core/TextCompare.h"

OccurrenceList::OccurrenceList()
{
    m_slots.resize(Capacity);
    m_order.reserve(Capacity);
    m_merged.reserve(Capacity);
    m_days.reserve(Capacity);
}

void OccurrenceList::clear()
{
    m_count = 0;
    m_order.clear();
}

int OccurrenceList::addRule(const RecurrenceRule &rule, const OccurrenceSource &event, int firstDay,
                            int endDay)
{
    m_days.clear();
    expandOccurrenceDays(rule, firstDay, endDay, Capacity - m_count, m_days);
    if (m_days.empty()) return 0;
    const double startTime =
        DateTimeValue::msOfDay(rule.StartTime) / double(DateTimeValue::MsPerDay);
    const double endTime = DateTimeValue::msOfDay(rule.EndTime) / double(DateTimeValue::MsPerDay);
    const int firstNew = m_count + 1;
    for (int d : m_days) {
        TOccurrence_Rec &rec = m_slots[m_count++];
        rec.ID = event.ID;
        rec.Layer = event.Layer;
        rec.StartTime = d + startTime;
        rec.EndTime = double(d) + rule.ComboBox1 + endTime;
        rec.AlarmSet = event.AlarmSet;
        rec.Subject = event.Subject;
        rec.Description = event.Description;
    }
    mergeNewRun(firstNew);
    return int(m_days.size());
}

int OccurrenceList::addRun(const std::vector<TOccurrence_Rec> &run)
{
    const int firstNew = m_count + 1;
    for (const TOccurrence_Rec &rec : run) {
        if (isFull()) break;
        m_slots[m_count++] = rec;
    }
    if (m_count >= firstNew) mergeNewRun(firstNew);
    return m_count - firstNew + 1;
}

void OccurrenceList::mergeNewRun(int firstNew)
{
    // The older run goes first on a smaller start, on the same start with a later end, or on
    // the same start and end with a smaller subject; on a full tie the new run goes first.
    auto olderFirst = [this](int olderSlot, int newSlot) {
        const TOccurrence_Rec &a = slot(olderSlot);
        const TOccurrence_Rec &b = slot(newSlot);
        if (a.StartTime != b.StartTime) return a.StartTime < b.StartTime;
        if (a.EndTime != b.EndTime) return a.EndTime > b.EndTime;
        return compareText(a.Subject, b.Subject) < 0;
    };
    m_merged.clear();
    std::size_t i = 0;
    int j = firstNew;
    while (i < m_order.size() && j <= m_count) {
        if (olderFirst(m_order[i], j))
            m_merged.push_back(m_order[i++]);
        else
            m_merged.push_back(j++);
    }
    while (i < m_order.size())
        m_merged.push_back(m_order[i++]);
    while (j <= m_count)
        m_merged.push_back(j++);
    m_order.swap(m_merged);
}
