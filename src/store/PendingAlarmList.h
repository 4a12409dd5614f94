#pragma once
// Pending alarms in memory, sorted by alarmTime ascending; alarms with the same time keep the
// order in which they were added. Times compare to the millisecond. A list holds only alarms
// due before the coming midnight (today + 1 day, exclusive); later ones wait for the rebuild at
// the change of day.
//
// Entry: a value with `SerialDateTime alarmTime` and `int id` (AlarmEntry, TaskAlarmEntry).
#include "core/DateTimeValue.h"
#include "store/AlarmEntry.h"
#include "store/TaskAlarmEntry.h"

#include <QList>

#include <algorithm>

template <class Entry> class PendingAlarmList
{
public:
    void add(const Entry &entry)
    {
        const auto pos = std::upper_bound(
            m_items.begin(), m_items.end(), entry,
            [](const Entry &a, const Entry &b) { return ms(a.alarmTime) < ms(b.alarmTime); });
        m_items.insert(pos, entry);
    }
    // Removes the first alarm with this id; false when there is none.
    bool removeFirst(int id)
    {
        for (qsizetype i = 0; i < m_items.size(); ++i)
            if (m_items[i].id == id) {
                m_items.removeAt(i);
                return true;
            }
        return false;
    }
    void clear() { m_items.clear(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    qsizetype size() const { return m_items.size(); }
    const Entry &at(qsizetype i) const { return m_items.at(i); }
    const QList<Entry> &items() const { return m_items; }
    // The leading alarms whose alarmTime is at or before `now`, in list order.
    QList<Entry> due(SerialDateTime now) const
    {
        QList<Entry> out;
        for (const Entry &e : m_items) {
            if (ms(e.alarmTime) > ms(now)) break;
            out.append(e);
        }
        return out;
    }
    // Drops the first n alarms.
    void removeLeading(qsizetype n) { m_items.remove(0, qMin(n, m_items.size())); }

private:
    static qint64 ms(SerialDateTime t) { return DateTimeValue::toMs(t); }

    QList<Entry> m_items;
};

using PendingAlarms = PendingAlarmList<AlarmEntry>;
using PendingTaskAlarms = PendingAlarmList<TaskAlarmEntry>;
