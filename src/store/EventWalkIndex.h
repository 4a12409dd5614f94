#pragma once
// What the events store keeps beside its table so that a collection need not scan the whole
// table: the longest duration of a one-time event (how far before a window a row that still
// reaches into it can start) and the recurring rows with what their expansion needs (rule,
// the fields each occurrence copies, table slot), in index order. Kept up to date row by row
// by the store's table hooks (post, delete, empty/load).
#include "core/DateTimeValue.h"
#include "store/OccurrenceList.h"
#include "store/RecurrenceRule.h"

#include <QHash>
#include <QSet>

#include <set>
#include <vector>

class EventWalkIndex
{
public:
    // A recurring row as it was last posted. rule.startTime/endTime are the row's; the table
    // slot lets a walk test the filter text without moving the cursor.
    struct RecurringRow {
        int slot = -1;
        RecurrenceRule rule;
        OccurrenceSource source; // source.id is the row's id
    };

    void clear();
    // Records the one-time row `id` as it is now (replacing what was recorded for it).
    void updateOneTime(int id, SerialDateTime start, SerialDateTime end);
    // Records the recurring row `row.source.id` as it is now (replacing what was recorded).
    void updateRecurring(RecurringRow row);
    // Forgets row `id` (a deleted row, or the clipboard row, which is recorded as absent);
    // nothing happens for an unknown id.
    void remove(int id);

    // endTime - startTime of the longest one-time row, in days; 0 when there is none or every
    // one-time row ends at or before its start.
    double longestOneTimeDuration() const;
    // The recurring rows in the events index order: startTime ascending, endTime descending,
    // subject (compareText), id.
    const std::vector<RecurringRow> &recurringRows() const { return m_recurring; }
    int oneTimeCount() const { return int(m_durations.size()); }

private:
    QHash<int, double> m_durationOf; // one-time rows only
    std::multiset<double> m_durations;
    std::vector<RecurringRow> m_recurring;
    QSet<int> m_recurringIds; // the IDs in m_recurring
};
