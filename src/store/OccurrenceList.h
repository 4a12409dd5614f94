#pragma once
// The occurrences of recurring events computed for one collection of a view: up to 500 slots
// numbered from 1 in the order they were added, and an order list of slot numbers sorted by
// StartTime ascending, then EndTime descending, then Subject (compareText).
#include "core/DateTimeValue.h"
#include "store/RecurrenceRule.h"

#include <QString>

#include <vector>

struct TOccurrence_Rec {
    int ID = 0;
    int Layer = 0;
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
    bool AlarmSet = false;
    QString Subject;
    QString Description;
};

// The fields of a recurring event that every one of its occurrences copies.
struct OccurrenceSource {
    int ID = 0;
    int Layer = 0;
    bool AlarmSet = false;
    QString Subject;
    QString Description;
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
    const TOccurrence_Rec &slot(int n) const { return m_slots[n - 1]; }
    // Slot number at order position `pos`, 1 to count().
    int orderAt(int pos) const { return m_order[pos - 1]; }
    // The occurrence at order position `pos`, 1 to count().
    const TOccurrence_Rec &inOrder(int pos) const { return slot(orderAt(pos)); }

    // Adds the occurrences of one recurring event that belong to the span of days
    // [firstDay, endDay) (see expandOccurrenceDays): each starts on its day at the time of day of
    // rule.StartTime and ends ComboBox1 days later at the time of day of rule.EndTime. Once the
    // list is full the rest are dropped. Returns how many were added.
    int addRule(const RecurrenceRule &rule, const OccurrenceSource &event, int firstDay,
                int endDay);

    // Adds a run of occurrences, which must be in walking order (by StartTime), and merges it
    // into the order list. What does not fit is dropped. Returns how many were added.
    int addRun(const std::vector<TOccurrence_Rec> &run);

private:
    // Merges slots [firstNew, m_count] (a sorted run) into the order list.
    void mergeNewRun(int firstNew);

    std::vector<TOccurrence_Rec> m_slots;
    std::vector<int> m_order;
    std::vector<int> m_merged;
    std::vector<int> m_days;
    int m_count = 0;
};
