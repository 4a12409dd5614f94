#pragma once
// Pending alarms in memory, and the rules that fill them and hand due ones to "alarm.dat".
//
// A list holds only alarms due before the coming midnight (today + 1 day, exclusive); later
// ones wait for the rebuild at the change of day. Times compare to the millisecond.
#include "store/AlarmFiles.h"
#include "store/AlarmRecord.h"

#include <QList>

#include <functional>
#include <optional>

// Pending alarms sorted by AlarmTime ascending; alarms with the same time keep the order in
// which they were added.
class TAlarmList
{
public:
    void add(const TAlarm_Rec &rec);
    // Removes the first alarm with this ID; false when there is none.
    bool removeFirst(int id);
    void clear() { m_items.clear(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    qsizetype size() const { return m_items.size(); }
    const TAlarm_Rec &at(qsizetype i) const { return m_items.at(i); }
    const QList<TAlarm_Rec> &items() const { return m_items; }
    // The leading alarms whose AlarmTime is at or before `now`, in list order.
    QList<TAlarm_Rec> due(TDateTime now) const;
    // Drops the first n alarms.
    void removeLeading(qsizetype n) { m_items.remove(0, qMin(n, m_items.size())); }

private:
    QList<TAlarm_Rec> m_items;
};

// Pending task alarm: the task's ID and when it rings.
struct TTaskAlarm_Rec {
    TDateTime AlarmTime = 0;
    int ID = -1;
    bool operator==(const TTaskAlarm_Rec &) const = default;
};

class TTaskAlarmList
{
public:
    void add(const TTaskAlarm_Rec &rec);
    bool removeFirst(int id);
    void clear() { m_items.clear(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    qsizetype size() const { return m_items.size(); }
    const QList<TTaskAlarm_Rec> &items() const { return m_items; }
    QList<TTaskAlarm_Rec> due(TDateTime now) const;
    void removeLeading(qsizetype n) { m_items.remove(0, qMin(n, m_items.size())); }

private:
    QList<TTaskAlarm_Rec> m_items;
};

namespace AlarmRules
{

// at or after, to the millisecond
bool isDue(TDateTime alarmTime, TDateTime now);
// strictly before today + 1 day, to the millisecond
bool beforeComingMidnight(TDateTime alarmTime, TDateTime today);

// The advance of an event alarm in days: AlarmAdvTime minutes (unit 1), hours (unit 2) or days
// (any other unit).
double alarmAdvanceDays(int alarmAdvTime, int alarmAdvUnit);

// What an event contributes to its alarm entry. Texts are plain (not quoted); the layer name
// is empty and the colour 0 when the layer does not exist.
struct TEventAlarmSource {
    int ID = -1;
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
    int AlarmAdvTime = 0;
    int AlarmAdvUnit = 1;
    QString Subject;
    QString Description;
    QString LayerName;
    int ColorNr = 0;
};

// The entry of a one-time event: alarm = start - advance; nullopt when that is not before the
// coming midnight. Overdue alarms are entries (they ring at the next tick).
std::optional<TAlarm_Rec> oneTimeAlarmEntry(const TEventAlarmSource &event, TDateTime today);

// One real occurrence of a recurring event.
struct TOccurrenceTimes {
    TDateTime StartTime = 0;
    TDateTime EndTime = 0;
};
// The first occurrence that starts at or after `from` and is not an exception day; nullopt
// when the recurrence has none left. The events store answers it from its rule
// (NthOccurrenceDate), so the alarm follows the real occurrences.
using NextOccurrence = std::function<std::optional<TOccurrenceTimes>(TDateTime from)>;

// The entry of a recurring event: the first real occurrence whose alarm (start - advance) is
// on or after today's midnight, when that alarm is before the coming midnight. `event`'s start
// and end are not used.
std::optional<TAlarm_Rec> recurringAlarmEntry(const TEventAlarmSource &event, TDateTime today,
                                              const NextOccurrence &next);

// Refreshes one ID's alarm in the list: removes its first entry, then adds `entry` (nullopt:
// the ID no longer has an alarm).
void RescheduleAlarm(TAlarmList &list, int id, const std::optional<TAlarm_Rec> &entry);

// Minutes from now for snooze codes 2 to 14; nullopt for 0, 1 (re-arm the event) and unknown
// codes.
std::optional<int> snoozeDelayMinutes(int code);
// The minutes before start of codes 0 (5) and 1 (10); nullopt otherwise.
std::optional<int> snoozeRearmMinutes(int code);

// Applies snooze requests: codes 2..14 add an entry (ID -1, the request's times and texts,
// alarm = now + delay); codes 0 and 1 call `rearmEvent(id, minutesBeforeStart)` for a request
// that has a start time (a task reminder has none and is ignored for these codes). Unknown
// codes are ignored. Returns the number of requests applied.
int applySnoozeRequests(const QList<AlarmFiles::TSnoozeRequest> &requests, TAlarmList &list,
                        TDateTime now,
                        const std::function<void(int id, int minutesBeforeStart)> &rearmEvent);

struct DueWriteResult {
    bool ok = true;     // false: "alarm.dat" could not be written; the list is unchanged
    bool wrote = false; // at least one line was appended
    QString error;
};

// Moves the due alarms of `list` (AlarmTime <= now) to "alarm.dat" in `dataDir`, in list
// order, in one locked append. Only after the file was written are they removed from the list
// and `fired` called for each (the events store clears AlarmSet of one-time events there).
// When nothing is due the file is not touched.
DueWriteResult writeDueAlarms(TAlarmList &list, TDateTime now, const QString &dataDir,
                              const std::function<void(const TAlarm_Rec &)> &fired = {});

} // namespace AlarmRules
