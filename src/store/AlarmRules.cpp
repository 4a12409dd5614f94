#include "store/AlarmRules.h"

#include "core/FileText.h"

#include <algorithm>
#include <iterator>

namespace
{
qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
} // namespace

namespace AlarmRules
{

bool isDue(SerialDateTime alarmTime, SerialDateTime now)
{
    return ms(now) >= ms(alarmTime);
}

bool beforeComingMidnight(SerialDateTime alarmTime, SerialDateTime today)
{
    return ms(alarmTime) < ms(double(DateTimeValue::dayOf(today)) + 1.0);
}

double alarmAdvanceDays(int alarmAdvTime, int alarmAdvUnit)
{
    switch (alarmAdvUnit) {
    case 1:
        return alarmAdvTime / DateTimeValue::MinutesPerDay;
    case 2:
        return alarmAdvTime / 24.0;
    default:
        return double(alarmAdvTime);
    }
}

namespace
{
AlarmEntry entryOf(const EventAlarmSource &e, SerialDateTime start, SerialDateTime end,
                   SerialDateTime alarm)
{
    AlarmEntry rec;
    rec.id = e.id;
    rec.startTime = start;
    rec.endTime = end;
    rec.alarmTime = alarm;
    rec.subject = FileText::quoteFileText(e.subject);
    rec.description = FileText::quoteFileText(e.description);
    rec.layerName = FileText::quoteFileText(e.layerName);
    rec.colorNumber = e.colorNumber;
    return rec;
}
} // namespace

std::optional<AlarmEntry> oneTimeAlarmEntry(const EventAlarmSource &event, SerialDateTime today)
{
    const SerialDateTime alarm =
        event.startTime - alarmAdvanceDays(event.alarmAdvance, event.alarmAdvanceUnit);
    if (!beforeComingMidnight(alarm, today)) return std::nullopt;
    return entryOf(event, event.startTime, event.endTime, alarm);
}

std::optional<AlarmEntry> recurringAlarmEntry(const EventAlarmSource &event, SerialDateTime today,
                                              const NextOccurrence &next)
{
    if (!next) return std::nullopt;
    const double advance = alarmAdvanceDays(event.alarmAdvance, event.alarmAdvanceUnit);
    const SerialDateTime midnight = DateTimeValue::dayOf(today);
    const auto occ = next(midnight + advance);
    if (!occ) return std::nullopt;
    const SerialDateTime alarm = occ->startTime - advance;
    // A callback that answers an earlier occurrence than asked for is not trusted.
    if (ms(alarm) < ms(midnight) || !beforeComingMidnight(alarm, today)) return std::nullopt;
    return entryOf(event, occ->startTime, occ->endTime, alarm);
}

QList<AlarmEntry> missedAlarmEntries(const EventAlarmSource &event, const MissedWindow &missed,
                                     const OccurrencesBetween &occurrences,
                                     const std::function<bool(const AlarmEntry &)> &listed)
{
    QList<AlarmEntry> out;
    if (!occurrences) return out;
    const double advance = alarmAdvanceDays(event.alarmAdvance, event.alarmAdvanceUnit);
    const SerialDateTime oldest = std::max(missed.after, missed.upTo - MissedDaysBack);
    for (const OccurrenceTimes &occ : occurrences(oldest + advance, missed.upTo + advance)) {
        const SerialDateTime alarm = occ.startTime - advance;
        if (ms(alarm) < ms(oldest) || !missed.contains(alarm)) continue;
        out.append(entryOf(event, occ.startTime, occ.endTime, alarm));
    }
    if (out.size() > MissedPerEvent) out.remove(0, out.size() - MissedPerEvent);
    if (listed) out.removeIf(listed);
    return out;
}

void rescheduleAlarm(PendingAlarms &list, int id, const std::optional<AlarmEntry> &entry)
{
    list.removeFirst(id);
    if (entry) list.add(*entry);
}

std::optional<int> snoozeDelayMinutes(int code)
{
    static constexpr int minutes[] = {5,   10,   15,       30,       60,       120,     240,
                                      480, 1440, 2 * 1440, 3 * 1440, 4 * 1440, 7 * 1440};
    if (code < 2 || code > 14) return std::nullopt;
    return minutes[code - 2];
}

std::optional<int> snoozeRearmMinutes(int code)
{
    if (code == 0) return 5;
    if (code == 1) return 10;
    return std::nullopt;
}

int applySnoozeRequests(const QList<AlarmFiles::SnoozeRequest> &requests, PendingAlarms &list,
                        SerialDateTime now,
                        const std::function<void(int id, int minutesBeforeStart)> &rearmEvent)
{
    int applied = 0;
    for (const auto &req : requests) {
        if (const auto delay = snoozeDelayMinutes(req.code)) {
            AlarmEntry rec = req.entry;
            rec.id = -1;
            rec.alarmTime = DateTimeValue::fromMs(ms(now) + qint64(*delay) * 60000);
            list.add(rec);
            ++applied;
        } else if (const auto before = snoozeRearmMinutes(req.code)) {
            if (!req.entry.startTime || !rearmEvent) continue;
            rearmEvent(req.entry.id, *before);
            ++applied;
        }
    }
    return applied;
}

DueWriteResult writeDueAlarms(PendingAlarms &list, SerialDateTime now, const QString &dataDir,
                              const std::function<void(const AlarmEntry &)> &fired,
                              QList<AlarmEntry> *alsoDue)
{
    DueWriteResult result;
    QList<AlarmEntry> due = list.due(now);
    const qsizetype fromList = due.size();
    if (alsoDue && !alsoDue->isEmpty()) {
        QList<AlarmEntry> merged;
        merged.reserve(alsoDue->size() + due.size());
        std::merge(alsoDue->cbegin(), alsoDue->cend(), due.cbegin(), due.cend(),
                   std::back_inserter(merged), [](const AlarmEntry &a, const AlarmEntry &b) {
                       return ms(a.alarmTime) < ms(b.alarmTime);
                   });
        due = std::move(merged);
    }
    if (due.isEmpty()) return result;
    const auto written = AlarmFiles::appendAlarms(dataDir, due);
    if (!written) {
        result.ok = false;
        result.error = written.error;
        return result;
    }
    list.removeLeading(fromList);
    if (alsoDue) alsoDue->clear();
    result.wrote = true;
    if (fired)
        for (const AlarmEntry &rec : due)
            fired(rec);
    return result;
}

} // namespace AlarmRules
