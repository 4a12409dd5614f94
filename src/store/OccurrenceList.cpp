#include "store/OccurrenceList.h"

#include "core/TextCompare.h"

OccurrenceList::OccurrenceList()
{
    SpanSourceItem occurrence;
    occurrence.isOccurrence = true;
    m_slots.assign(Capacity, occurrence);
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
        DateTimeValue::msOfDay(rule.startTime) / double(DateTimeValue::MsPerDay);
    const double endTime = DateTimeValue::msOfDay(rule.endTime) / double(DateTimeValue::MsPerDay);
    const int firstNew = m_count + 1;
    for (int d : m_days) {
        SpanSourceItem &rec = m_slots[m_count++];
        rec.id = event.id;
        rec.layer = event.layer;
        rec.startTime = d + startTime;
        rec.endTime = double(d) + rule.extraDays + endTime;
        rec.alarmSet = event.alarmSet;
        rec.subject = event.subject;
        rec.description = event.description;
    }
    mergeNewRun(firstNew);
    return int(m_days.size());
}

int OccurrenceList::addRun(const std::vector<SpanSourceItem> &run)
{
    const int firstNew = m_count + 1;
    for (const SpanSourceItem &rec : run) {
        if (isFull()) break;
        SpanSourceItem &stored = m_slots[m_count++];
        stored = rec;
        stored.isOccurrence = true;
    }
    if (m_count >= firstNew) mergeNewRun(firstNew);
    return m_count - firstNew + 1;
}

void OccurrenceList::mergeNewRun(int firstNew)
{
    // The older run goes first on a smaller start, on the same start with a later end, or on
    // the same start and end with a smaller subject; on a full tie the new run goes first.
    auto olderFirst = [this](int olderSlot, int newSlot) {
        const SpanSourceItem &a = slot(olderSlot);
        const SpanSourceItem &b = slot(newSlot);
        if (a.startTime != b.startTime) return a.startTime < b.startTime;
        if (a.endTime != b.endTime) return a.endTime > b.endTime;
        return compareText(a.subject, b.subject) < 0;
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
