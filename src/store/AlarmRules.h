#pragma once
// The rules that fill the pending alarm lists and hand due alarms to "alarm.dat".
#include "core/ReminderArguments.h"
#include "store/AlarmEntry.h"
#include "store/AlarmFiles.h"
#include "store/PendingAlarmList.h"

#include <QList>

#include <functional>
#include <optional>

namespace AlarmRules
{

// at or after, to the millisecond
bool isDue(SerialDateTime alarmTime, SerialDateTime now);
// strictly before today + 1 day, to the millisecond
bool beforeComingMidnight(SerialDateTime alarmTime, SerialDateTime today);

// The advance of an event alarm in days: alarmAdvance minutes (unit 1), hours (unit 2) or days
// (any other unit).
double alarmAdvanceDays(int alarmAdvTime, int alarmAdvUnit);

// What an event contributes to its alarm entry. Texts are plain (not quoted); the layer name
// is empty and the colour 0 when the layer does not exist.
struct EventAlarmSource {
    int id = -1;
    SerialDateTime startTime = 0;
    SerialDateTime endTime = 0;
    int alarmAdvance = 0;
    int alarmAdvanceUnit = 1;
    QString subject;
    QString description;
    QString layerName;
    int colorNumber = 0;
};

// The entry of a one-time event: alarm = start - advance; nullopt when that is not before the
// coming midnight. Overdue alarms are entries (they ring at the next tick).
std::optional<AlarmEntry> oneTimeAlarmEntry(const EventAlarmSource &event, SerialDateTime today);

// One real occurrence of a recurring event.
struct OccurrenceTimes {
    SerialDateTime startTime = 0;
    SerialDateTime endTime = 0;
};
// The first occurrence that starts at or after `from` and is not an exception day; nullopt
// when the recurrence has none left. The events store answers it from its rule
// (nthOccurrenceDay), so the alarm follows the real occurrences.
using NextOccurrence = std::function<std::optional<OccurrenceTimes>(SerialDateTime from)>;

// The entry of a recurring event: the first real occurrence whose alarm (start - advance) is
// on or after today's midnight, when that alarm is before the coming midnight. `event`'s start
// and end are not used.
std::optional<AlarmEntry> recurringAlarmEntry(const EventAlarmSource &event, SerialDateTime today,
                                              const NextOccurrence &next);

// How far back the alarms of a recurring event missed while no program ran are looked for, and
// how many of them one event hands on at most (its latest). A daily alarm after a month off
// rings for the last two weeks rather than thirty times; a monthly one still rings once.
inline constexpr int MissedDaysBack = 31;
inline constexpr int MissedPerEvent = 14;

// The occurrences of a recurring event that start in [from, to] (both inclusive), ascending,
// exception days and the days after the rule's end left out.
using OccurrencesBetween =
    std::function<QList<OccurrenceTimes>(SerialDateTime from, SerialDateTime to)>;

// The entries of a recurring event's occurrences whose alarm (start - advance) lies in `missed`
// and at most MissedDaysBack days before its end, oldest first: of the latest MissedPerEvent
// such occurrences, those for which `listed` does not answer true (it answers for the one
// already pending and those that rang). Empty when there are none.
QList<AlarmEntry> missedAlarmEntries(const EventAlarmSource &event, const MissedWindow &missed,
                                     const OccurrencesBetween &occurrences,
                                     const std::function<bool(const AlarmEntry &)> &listed = {});

// Refreshes one id's alarm in the list: removes its first entry, then adds `entry` (nullopt:
// the id no longer has an alarm).
void rescheduleAlarm(PendingAlarms &list, int id, const std::optional<AlarmEntry> &entry);

// Minutes from now for snooze codes 2 to 14; nullopt for 0, 1 (re-arm the event) and unknown
// codes.
std::optional<int> snoozeDelayMinutes(int code);
// The minutes before start of codes 0 (5) and 1 (10); nullopt otherwise.
std::optional<int> snoozeRearmMinutes(int code);

// Applies snooze requests: codes 2..14 add an entry (id -1, the request's times and texts,
// alarm = now + delay); codes 0 and 1 call `rearmEvent(id, minutesBeforeStart)` for a request
// that has a start time (a task reminder has none and is ignored for these codes). Unknown
// codes are ignored. Returns the number of requests applied.
int applySnoozeRequests(const QList<AlarmFiles::SnoozeRequest> &requests, PendingAlarms &list,
                        SerialDateTime now,
                        const std::function<void(int id, int minutesBeforeStart)> &rearmEvent);

struct DueWriteResult {
    bool ok = true;     // false: "alarm.dat" could not be written; the list is unchanged
    bool wrote = false; // at least one line was appended
    QString error;
};

// Moves the due alarms of `list` (alarmTime <= now) to "alarm.dat" in `dataDir`, in list
// order, in one locked append. `alsoDue` (sorted by alarmTime, may be null) are alarms kept
// outside the list that are written in the same append whatever their time, merged into
// alarm-time order (at equal times before the list's). Only after the file was written are
// the list's alarms removed, `alsoDue` emptied and `fired` called for each alarm written (the
// events store clears alarmSet of one-time events there). When nothing is due the file is not
// touched.
DueWriteResult writeDueAlarms(PendingAlarms &list, SerialDateTime now, const QString &dataDir,
                              const std::function<void(const AlarmEntry &)> &fired = {},
                              QList<AlarmEntry> *alsoDue = nullptr);

} // namespace AlarmRules
