#include "store/AlarmList.h"

#include "core/FileText.h"

#include <algorithm>

namespace
{
qint64 ms(TDateTime t)
{
    return DateTimeValue::toMs(t);
}

template <typename List, typename Rec> void insertSorted(List &items, const Rec &rec)
{
    const auto pos =
        std::upper_bound(items.begin(), items.end(), rec, [](const Rec &a, const Rec &b) {
            return ms(a.AlarmTime) < ms(b.AlarmTime);
        });
    items.insert(pos, rec);
}

template <typename List> bool removeFirstID(List &items, int id)
{
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i].ID == id) {
            items.removeAt(i);
            return true;
        }
    return false;
}

template <typename List> List leadingDue(const List &items, TDateTime now)
{
    List out;
    for (const auto &rec : items) {
        if (!AlarmRules::isDue(rec.AlarmTime, now)) break;
        out.append(rec);
    }
    return out;
}
} // namespace

void TAlarmList::add(const TAlarm_Rec &rec)
{
    insertSorted(m_items, rec);
}
bool TAlarmList::removeFirst(int id)
{
    return removeFirstID(m_items, id);
}
QList<TAlarm_Rec> TAlarmList::due(TDateTime now) const
{
    return leadingDue(m_items, now);
}

void TTaskAlarmList::add(const TTaskAlarm_Rec &rec)
{
    insertSorted(m_items, rec);
}
bool TTaskAlarmList::removeFirst(int id)
{
    return removeFirstID(m_items, id);
}
QList<TTaskAlarm_Rec> TTaskAlarmList::due(TDateTime now) const
{
    return leadingDue(m_items, now);
}

namespace AlarmRules
{

bool isDue(TDateTime alarmTime, TDateTime now)
{
    return ms(now) >= ms(alarmTime);
}

bool beforeComingMidnight(TDateTime alarmTime, TDateTime today)
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
TAlarm_Rec entryOf(const TEventAlarmSource &e, TDateTime start, TDateTime end, TDateTime alarm)
{
    TAlarm_Rec rec;
    rec.ID = e.ID;
    rec.StartTime = start;
    rec.EndTime = end;
    rec.AlarmTime = alarm;
    rec.Subject = FileText::quoteFileText(e.Subject);
    rec.Description = FileText::quoteFileText(e.Description);
    rec.LayerName = FileText::quoteFileText(e.LayerName);
    rec.ColorNr = e.ColorNr;
    return rec;
}
} // namespace

std::optional<TAlarm_Rec> oneTimeAlarmEntry(const TEventAlarmSource &event, TDateTime today)
{
    const TDateTime alarm =
        event.StartTime - alarmAdvanceDays(event.AlarmAdvTime, event.AlarmAdvUnit);
    if (!beforeComingMidnight(alarm, today)) return std::nullopt;
    return entryOf(event, event.StartTime, event.EndTime, alarm);
}

std::optional<TAlarm_Rec> recurringAlarmEntry(const TEventAlarmSource &event, TDateTime today,
                                              const NextOccurrence &next)
{
    if (!next) return std::nullopt;
    const double advance = alarmAdvanceDays(event.AlarmAdvTime, event.AlarmAdvUnit);
    const TDateTime midnight = DateTimeValue::dayOf(today);
    const auto occ = next(midnight + advance);
    if (!occ) return std::nullopt;
    const TDateTime alarm = occ->StartTime - advance;
    // A callback that answers an earlier occurrence than asked for is not trusted.
    if (ms(alarm) < ms(midnight) || !beforeComingMidnight(alarm, today)) return std::nullopt;
    return entryOf(event, occ->StartTime, occ->EndTime, alarm);
}

void RescheduleAlarm(TAlarmList &list, int id, const std::optional<TAlarm_Rec> &entry)
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

int applySnoozeRequests(const QList<AlarmFiles::TSnoozeRequest> &requests, TAlarmList &list,
                        TDateTime now,
                        const std::function<void(int id, int minutesBeforeStart)> &rearmEvent)
{
    int applied = 0;
    for (const auto &req : requests) {
        if (const auto delay = snoozeDelayMinutes(req.Code)) {
            TAlarm_Rec rec = req.Rec;
            rec.ID = -1;
            rec.AlarmTime = DateTimeValue::fromMs(ms(now) + qint64(*delay) * 60000);
            list.add(rec);
            ++applied;
        } else if (const auto before = snoozeRearmMinutes(req.Code)) {
            if (!req.Rec.StartTime || !rearmEvent) continue;
            rearmEvent(req.Rec.ID, *before);
            ++applied;
        }
    }
    return applied;
}

DueWriteResult writeDueAlarms(TAlarmList &list, TDateTime now, const QString &dataDir,
                              const std::function<void(const TAlarm_Rec &)> &fired)
{
    DueWriteResult result;
    const QList<TAlarm_Rec> due = list.due(now);
    if (due.isEmpty()) return result;
    const auto written = AlarmFiles::appendAlarms(dataDir, due);
    if (!written) {
        result.ok = false;
        result.error = written.error;
        return result;
    }
    list.removeLeading(due.size());
    result.wrote = true;
    if (fired)
        for (const TAlarm_Rec &rec : due)
            fired(rec);
    return result;
}

} // namespace AlarmRules
