// The pending event alarms: filling, refreshing, handing due alarms to "alarm.dat" and taking
// snoozed reminders back.
#include "store/DEventsDM.h"

#include "store/DLayersDM.h"
#include "store/RecurrenceRule.h"

namespace
{
qint64 ms(TDateTime t)
{
    return DateTimeValue::toMs(t);
}
} // namespace

std::optional<TAlarm_Rec> TDEvents::alarmEntryOfCurrent(TDateTime today)
{
    AlarmRules::TEventAlarmSource src;
    src.ID = ID();
    src.StartTime = StartTime();
    src.EndTime = EndTime();
    src.AlarmAdvTime = CDS.asInteger(F_AlarmAdvTime);
    src.AlarmAdvUnit = CDS.asInteger(F_AlarmAdvUnit);
    src.Subject = Subject();
    src.Description = Description();
    const Table::Bookmark layerHere = m_layers.CDS.bookmark();
    if (m_layers.locateID(Layer())) {
        src.LayerName = m_layers.Name();
        src.ColorNr = m_layers.Color();
    }
    m_layers.CDS.gotoBookmark(layerHere);

    std::optional<TAlarm_Rec> entry;
    if (!Recurrent()) {
        entry = AlarmRules::oneTimeAlarmEntry(src, today);
    } else {
        // The real occurrences of the rule, exception days left out: the first whose start is
        // at or after `from`. Only occurrences starting before the day after `from`'s next
        // day can give an alarm before the coming midnight, so later ones are not searched.
        const RecurrenceRule r = rule();
        const auto next = [&r](TDateTime from) -> std::optional<AlarmRules::TOccurrenceTimes> {
            const int fromDay = DateTimeValue::dayOf(from);
            std::vector<int> days;
            expandOccurrenceDays(r, fromDay + r.ComboBox1, fromDay + 2, 2, days);
            const qint64 startMs = DateTimeValue::msOfDay(r.StartTime);
            const qint64 endMs = DateTimeValue::msOfDay(r.EndTime);
            for (int d : days) {
                const qint64 start = qint64(d) * DateTimeValue::MsPerDay + startMs;
                if (start < ms(from)) continue;
                const qint64 end = qint64(d + r.ComboBox1) * DateTimeValue::MsPerDay + endMs;
                return AlarmRules::TOccurrenceTimes{DateTimeValue::fromMs(start),
                                                    DateTimeValue::fromMs(end)};
            }
            return std::nullopt;
        };
        entry = AlarmRules::recurringAlarmEntry(src, today, next);
    }
    if (entry && m_fired.contains({entry->ID, ms(entry->AlarmTime)})) return std::nullopt;
    return entry;
}

void TDEvents::fillPendingAlarms()
{
    m_alarms.clear();
    const TDateTime today = clock().today();
    // Rings of earlier days can no longer come back.
    const qint64 midnight = ms(today);
    for (auto it = m_fired.begin(); it != m_fired.end();)
        it = it->second < midnight ? m_fired.erase(it) : std::next(it);

    const Table::Bookmark here = CDS.bookmark();
    CDS.first();
    CDS.moveBy(m_clipboardCount);
    for (; !CDS.isEmpty() && !CDS.eof(); CDS.next())
        if (AlarmSet())
            if (const auto entry = alarmEntryOfCurrent(today)) m_alarms.add(*entry);
    CDS.gotoBookmark(here);
}

void TDEvents::refreshPendingAlarm(int id)
{
    const Table::Bookmark here = CDS.bookmark();
    std::optional<TAlarm_Rec> entry;
    if (CDS.locate(F_ID, id) && StartTime() >= ClipboardBelow && AlarmSet())
        entry = alarmEntryOfCurrent(clock().today());
    AlarmRules::RescheduleAlarm(m_alarms, id, entry);
    CDS.gotoBookmark(here);
}

AlarmRules::DueWriteResult TDEvents::writeDueAlarms()
{
    const Table::Bookmark here = CDS.bookmark();
    const auto result = AlarmRules::writeDueAlarms(
        m_alarms, clock().nowValue(), m_dataDir, [this](const TAlarm_Rec &rec) {
            if (rec.ID == -1 || !CDS.locate(F_ID, rec.ID) || StartTime() < ClipboardBelow) return;
            if (Recurrent()) {
                m_fired.insert({rec.ID, ms(rec.AlarmTime)});
            } else if (CDS.edit()) {
                // A one-time alarm rings once.
                CDS.setValue(F_AlarmSet, false);
                CDS.post();
            }
        });
    CDS.gotoBookmark(here);
    return result;
}

StoreResult TDEvents::readSnoozeFile()
{
    const auto taken = AlarmFiles::takeSnoozeRequests(m_dataDir);
    if (!taken.ok) return StoreResult::failure(taken.error);
    const Table::Bookmark here = CDS.bookmark();
    StoreResult result;
    result.count = AlarmRules::applySnoozeRequests(
        taken.requests, m_alarms, clock().nowValue(), [this](int id, int minutesBefore) {
            if (!CDS.locate(F_ID, id) || StartTime() < ClipboardBelow || !CDS.edit()) return;
            CDS.setValue(F_AlarmSet, true);
            CDS.setValue(F_AlarmAdvTime, minutesBefore);
            CDS.setValue(F_AlarmAdvUnit, 1);
            CDS.post(); // the after-post step refreshes its alarm
        });
    CDS.gotoBookmark(here);
    return result;
}
