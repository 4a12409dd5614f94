#pragma once
// The occurrences of recurring events computed for one collection of a view: up to 500 slots
// numbered from 1 in the order they were added, and an order list of slot numbers sorted by
// startTime ascending, then endTime descending, then subject (compareText). An occurrence is
// the item the collection walk hands on as it is: a SpanSourceItem with isOccurrence set.
#include "core/DateTimeValue.h"
#include "store/RecurrenceRule.h"
#include "store/SpanItem.h"

#include <QString>

#include <vector>

// The fields of a recurring event that every one of its occurrences copies.
struct OccurrenceSource {
    int id = 0;
    int layer = 0;
    bool alarmSet = false;
    QString subject;
    QString description;
};

class OccurrenceList
{
public:
    static constexpr int Capacity = 500;

    OccurrenceList();

    void clear();
    int count() const { return m_count; }
    bool isFull() const { return m_count >= Capacity; }

    // Slot `n`, 1 to count().
    const SpanSourceItem &slot(int n) const { return m_slots[n - 1]; }
    // Slot number at order position `pos`, 1 to count().
    int orderAt(int pos) const { return m_order[pos - 1]; }
    // The occurrence at order position `pos`, 1 to count().
    const SpanSourceItem &inOrder(int pos) const { return slot(orderAt(pos)); }

    // Adds the occurrences of one recurring event that belong to the span of days
    // [firstDay, endDay) (see expandOccurrenceDays): each starts on its day at the time of day of
    // rule.startTime and ends rule.extraDays days later at the time of day of rule.endTime. Once
    // the list is full the rest are dropped. Returns how many were added.
    int addRule(const RecurrenceRule &rule, const OccurrenceSource &event, int firstDay,
                int endDay);

    // Adds a run of occurrences, which must be in walking order (by startTime), and merges it
    // into the order list; each is stored with isOccurrence set. What does not fit is dropped.
    // Returns how many were added.
    int addRun(const std::vector<SpanSourceItem> &run);

private:
    // Merges slots [firstNew, m_count] (a sorted run) into the order list.
    void mergeNewRun(int firstNew);

    std::vector<SpanSourceItem> m_slots; // every one with isOccurrence set
    std::vector<int> m_order;
    std::vector<int> m_merged;
    std::vector<int> m_days;
    int m_count = 0;
};
