// The pending event alarms: filling, refreshing, handing due alarms to "alarm.dat" and taking
// snoozed reminders back.
#include "store/EventsStore.h"

#include "store/LayersStore.h"
#include "store/RecurrenceRule.h"

namespace
{
qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
} // namespace

std::optional<AlarmEntry> EventsStore::alarmEntryOfCurrent(SerialDateTime today)
{
    AlarmRules::EventAlarmSource src;
    src.id = currentId();
    src.startTime = currentStartTime();
    src.endTime = currentEndTime();
    src.alarmAdvance = CDS.asInteger(F_AlarmAdvTime);
    src.alarmAdvanceUnit = CDS.asInteger(F_AlarmAdvUnit);
    src.subject = currentSubject();
    src.description = currentDescription();
    const Table::Bookmark layerHere = m_layers.CDS.bookmark();
    if (m_layers.locateID(currentLayer())) {
        src.layerName = m_layers.currentName();
        src.colorNumber = m_layers.currentColor();
    }
    m_layers.CDS.gotoBookmark(layerHere);

    std::optional<AlarmEntry> entry;
    if (!currentIsRecurring()) {
        entry = AlarmRules::oneTimeAlarmEntry(src, today);
    } else {
        // The real occurrences of the rule, exception days left out: the first whose start is
        // at or after `from`. Only occurrences starting before the day after `from`'s next
        // day can give an alarm before the coming midnight, so later ones are not searched.
        const RecurrenceRule r = rule();
        const auto next = [&r](SerialDateTime from) -> std::optional<AlarmRules::OccurrenceTimes> {
            const int fromDay = DateTimeValue::dayOf(from);
            std::vector<int> days;
            expandOccurrenceDays(r, fromDay + r.extraDays, fromDay + 2, 2, days);
            const qint64 startMs = DateTimeValue::msOfDay(r.startTime);
            const qint64 endMs = DateTimeValue::msOfDay(r.endTime);
            for (int d : days) {
                const qint64 start = qint64(d) * DateTimeValue::MsPerDay + startMs;
                if (start < ms(from)) continue;
                const qint64 end = qint64(d + r.extraDays) * DateTimeValue::MsPerDay + endMs;
                return AlarmRules::OccurrenceTimes{DateTimeValue::fromMs(start),
                                                    DateTimeValue::fromMs(end)};
            }
            return std::nullopt;
        };
        entry = AlarmRules::recurringAlarmEntry(src, today, next);
    }
    if (entry && m_fired.contains({entry->id, ms(entry->alarmTime)})) return std::nullopt;
    return entry;
}

void EventsStore::fillPendingAlarms()
{
    m_alarms.clear();
    const SerialDateTime today = clock().today();
    // Rings of earlier days can no longer come back.
    const qint64 midnight = ms(today);
    for (auto it = m_fired.begin(); it != m_fired.end();)
        it = it->second < midnight ? m_fired.erase(it) : std::next(it);

    const Table::Bookmark here = CDS.bookmark();
    CDS.first();
    CDS.moveBy(m_clipboardCount);
    for (; !CDS.isEmpty() && !CDS.eof(); CDS.next())
        if (currentAlarmSet())
            if (const auto entry = alarmEntryOfCurrent(today)) m_alarms.add(*entry);
    CDS.gotoBookmark(here);
}

void EventsStore::refreshPendingAlarm(int id)
{
    const Table::Bookmark here = CDS.bookmark();
    std::optional<AlarmEntry> entry;
    if (CDS.locate(F_ID, id) && currentStartTime() >= ClipboardBelow && currentAlarmSet())
        entry = alarmEntryOfCurrent(clock().today());
    AlarmRules::RescheduleAlarm(m_alarms, id, entry);
    CDS.gotoBookmark(here);
}

AlarmRules::DueWriteResult EventsStore::writeDueAlarms()
{
    const Table::Bookmark here = CDS.bookmark();
    const auto result = AlarmRules::writeDueAlarms(
        m_alarms, clock().nowValue(), m_dataDir, [this](const AlarmEntry &rec) {
            if (rec.id == -1 || !CDS.locate(F_ID, rec.id) || currentStartTime() < ClipboardBelow) return;
            if (currentIsRecurring()) {
                m_fired.insert({rec.id, ms(rec.alarmTime)});
            } else if (CDS.edit()) {
                // A one-time alarm rings once.
                CDS.setValue(F_AlarmSet, false);
                CDS.post();
            }
        });
    CDS.gotoBookmark(here);
    return result;
}

StoreResult EventsStore::readSnoozeFile()
{
    const auto taken = AlarmFiles::takeSnoozeRequests(m_dataDir);
    if (!taken.ok) return StoreResult::failure(taken.error);
    const Table::Bookmark here = CDS.bookmark();
    StoreResult result;
    result.count = AlarmRules::applySnoozeRequests(
        taken.requests, m_alarms, clock().nowValue(), [this](int id, int minutesBefore) {
            if (!CDS.locate(F_ID, id) || currentStartTime() < ClipboardBelow || !CDS.edit()) return;
            CDS.setValue(F_AlarmSet, true);
            CDS.setValue(F_AlarmAdvTime, minutesBefore);
            CDS.setValue(F_AlarmAdvUnit, 1);
            CDS.post(); // the after-post step refreshes its alarm
        });
    CDS.gotoBookmark(here);
    return result;
}
