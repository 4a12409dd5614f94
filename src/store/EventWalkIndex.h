#pragma once
// What the events store keeps beside its table so that a collection need not scan the whole
// table: the longest duration of a one-time event (how far before a window a row that still
// reaches into it can start) and the IDs of the recurring rows. Kept up to date row by row.
#include "core/DateTimeValue.h"

#include <QHash>

#include <set>

class EventWalkIndex
{
public:
    void clear();
    // Records the row `id` as it is now (replacing what was recorded for it). A clipboard row
    // is recorded as absent.
    void update(int id, bool recurring, TDateTime start, TDateTime end, bool clipboard);
    void remove(int id);

    // EndTime - StartTime of the longest one-time row, in days; 0 when there is none or every
    // one-time row ends at or before its start.
    double longestOneTimeDuration() const;
    // IDs of the recurring rows, ascending.
    const std::set<int> &recurringIds() const { return m_recurring; }
    int oneTimeCount() const { return int(m_durations.size()); }

private:
    QHash<int, double> m_durationOf; // one-time rows only
    std::multiset<double> m_durations;
    std::set<int> m_recurring;
};
