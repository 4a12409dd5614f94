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

std::optional<AlarmEntry> EventsStore::alarmEntryOf(int slot, SerialDateTime today)
{
    AlarmRules::EventAlarmSource src;
    src.id = intIn(slot, EventField::Id);
    src.startTime = timeIn(slot, EventField::StartTime);
    src.endTime = timeIn(slot, EventField::EndTime);
    src.alarmAdvance = intIn(slot, EventField::AlarmAdvance);
    src.alarmAdvanceUnit = intIn(slot, EventField::AlarmAdvanceUnit);
    src.subject = textIn(slot, EventField::Subject);
    src.description = textIn(slot, EventField::Description);
    if (const auto layer = m_layers.layer(intIn(slot, EventField::Layer))) {
        src.layerName = layer->name;
        src.colorNumber = layer->color;
    }

    std::optional<AlarmEntry> entry;
    if (intIn(slot, EventField::Recurring) == 0) {
        entry = AlarmRules::oneTimeAlarmEntry(src, today);
    } else {
        // The real occurrences of the rule, exception days left out: the first whose start is
        // at or after `from`. Only occurrences starting before the day after `from`'s next
        // day can give an alarm before the coming midnight, so later ones are not searched.
        const RecurrenceRule r = ruleInSlot(slot);
        const auto next = [&r](SerialDateTime from) -> std::optional<AlarmRules::OccurrenceTimes> {
            const int fromDay = DateTimeValue::dayOf(from);
            std::vector<int> days;
            expandOccurrenceDays(r, fromDay + r.ComboBox1, fromDay + 2, 2, days);
            const qint64 startMs = DateTimeValue::msOfDay(r.startTime);
            const qint64 endMs = DateTimeValue::msOfDay(r.endTime);
            for (int d : days) {
                const qint64 start = qint64(d) * DateTimeValue::MsPerDay + startMs;
                if (start < ms(from)) continue;
                const qint64 end = qint64(d + r.ComboBox1) * DateTimeValue::MsPerDay + endMs;
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

    for (int n = 1 + m_clipboardCount; n <= m_table.recordCount(); ++n) {
        const int slot = m_table.slotAt(n);
        if (intIn(slot, EventField::AlarmSet) != 0)
            if (const auto entry = alarmEntryOf(slot, today)) m_alarms.add(*entry);
    }
}

void EventsStore::refreshPendingAlarm(int id)
{
    const int slot = eventSlot(id);
    std::optional<AlarmEntry> entry;
    if (slot >= 0 && intIn(slot, EventField::AlarmSet) != 0)
        entry = alarmEntryOf(slot, clock().today());
    AlarmRules::RescheduleAlarm(m_alarms, id, entry);
}

AlarmRules::DueWriteResult EventsStore::writeDueAlarms()
{
    return AlarmRules::writeDueAlarms(
        m_alarms, clock().nowValue(), m_dataDir, [this](const AlarmEntry &rec) {
            const int slot = rec.id == -1 ? -1 : eventSlot(rec.id);
            if (slot < 0) return;
            if (intIn(slot, EventField::Recurring) != 0) {
                m_fired.insert({rec.id, ms(rec.alarmTime)});
            } else {
                // A one-time alarm rings once. The line is in "alarm.dat" already; a failed
                // write of the flag stays in memory and the table retries it at its next write
                // or save, which report it.
                (void)writeFields(rec.id, {{EventField::AlarmSet, false}});
            }
        });
}

StoreResult EventsStore::readSnoozeFile()
{
    const auto taken = AlarmFiles::takeSnoozeRequests(m_dataDir);
    if (!taken.ok) return StoreResult::failure(taken.error);
    StoreResult result;
    result.count = AlarmRules::applySnoozeRequests(
        taken.requests, m_alarms, clock().nowValue(), [this, &result](int id, int minutesBefore) {
            // The after-post step refreshes its alarm.
            const TableResult r = writeFields(id, {{EventField::AlarmSet, true},
                                                   {EventField::AlarmAdvance, minutesBefore},
                                                   {EventField::AlarmAdvanceUnit, 1}});
            if (r.applied && !r.written && result.ok) {
                result.ok = false;
                result.error = r.error;
            }
        });
    return result;
}
