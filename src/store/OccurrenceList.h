#pragma once
// The occurrences of recurring events computed for one collection of a view: up to 500 slots
// numbered from 1 in the order they were added, and an order list of slot numbers sorted by
// startTime ascending, then endTime descending, then subject (compareText).
#include "core/DateTimeValue.h"
#include "store/RecurrenceRule.h"

#include <QString>

#include <vector>

struct Occurrence {
    int id = 0;
    int layer = 0;
    SerialDateTime startTime = 0;
    SerialDateTime endTime = 0;
    bool alarmSet = false;
    QString subject;
    QString description;
};

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
    const Occurrence &slot(int n) const { return m_slots[n - 1]; }
    // Slot number at order position `pos`, 1 to count().
    int orderAt(int pos) const { return m_order[pos - 1]; }
    // The occurrence at order position `pos`, 1 to count().
    const Occurrence &inOrder(int pos) const { return slot(orderAt(pos)); }

    // Adds the occurrences of one recurring event that belong to the span of days
    // [firstDay, endDay) (see expandOccurrenceDays): each starts on its day at the time of day of
    // rule.startTime and ends ComboBox1 days later at the time of day of rule.endTime. Once the
    // list is full the rest are dropped. Returns how many were added.
    int addRule(const RecurrenceRule &rule, const OccurrenceSource &event, int firstDay,
                int endDay);

    // Adds a run of occurrences, which must be in walking order (by startTime), and merges it
    // into the order list. What does not fit is dropped. Returns how many were added.
    int addRun(const std::vector<Occurrence> &run);

private:
    // Merges slots [firstNew, m_count] (a sorted run) into the order list.
    void mergeNewRun(int firstNew);

    std::vector<Occurrence> m_slots;
    std::vector<int> m_order;
    std::vector<int> m_merged;
    std::vector<int> m_days;
    int m_count = 0;
};
