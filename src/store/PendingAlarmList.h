#pragma once
// Pending alarms in memory, sorted by alarmTime ascending; alarms with the same time keep the
// order in which they were added. Times compare to the millisecond. A list holds only alarms
// due before the coming midnight (today + 1 day, exclusive); later ones wait for the rebuild at
// the change of day.
//
// Beside the list, each id with entries maps to the ascending alarm times (ms) of its entries,
// so that finding an id's first entry is a hash look-up and a binary search rather than a walk
// of the list (every post of an event asks for it).
//
// Entry: a value with `SerialDateTime alarmTime` and `int id` (AlarmEntry, TaskAlarmEntry).
#include "core/DateTimeValue.h"
#include "store/AlarmEntry.h"
#include "store/TaskAlarmEntry.h"

#include <QHash>
#include <QList>

#include <algorithm>

template <class Entry> class PendingAlarmList
{
public:
    void add(const Entry &entry)
    {
        const qint64 t = ms(entry.alarmTime);
        const auto pos =
            std::upper_bound(m_items.begin(), m_items.end(), t,
                             [](qint64 v, const Entry &e) { return v < ms(e.alarmTime); });
        m_items.insert(pos, entry);
        QList<qint64> &times = m_timesById[entry.id];
        times.insert(std::upper_bound(times.begin(), times.end(), t), t);
    }
    // Removes the first alarm with this id; false when there is none.
    bool removeFirst(int id)
    {
        const auto found = m_timesById.find(id);
        if (found == m_timesById.end()) return false;
        const qint64 t = found->front();
        auto it = std::lower_bound(m_items.begin(), m_items.end(), t,
                                   [](const Entry &e, qint64 v) { return ms(e.alarmTime) < v; });
        while (it != m_items.end() && it->id != id)
            ++it;
        if (it == m_items.end()) return false; // cannot happen while the index is kept
        m_items.erase(it);
        forgetFirstTime(found);
        return true;
    }
    // Whether an alarm with this id and alarm time (to the millisecond) is listed.
    bool contains(int id, SerialDateTime alarmTime) const
    {
        const auto found = m_timesById.constFind(id);
        return found != m_timesById.cend() &&
               std::binary_search(found->cbegin(), found->cend(), ms(alarmTime));
    }
    void clear()
    {
        m_items.clear();
        m_timesById.clear();
    }
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
    void removeLeading(qsizetype n)
    {
        n = qMin(n, m_items.size());
        // The leading entries are the earliest of their ids.
        for (qsizetype i = 0; i < n; ++i)
            forgetFirstTime(m_timesById.find(m_items[i].id));
        m_items.remove(0, n);
    }

private:
    static qint64 ms(SerialDateTime t) { return DateTimeValue::toMs(t); }

    void forgetFirstTime(typename QHash<int, QList<qint64>>::iterator found)
    {
        if (found == m_timesById.end()) return;
        found->removeFirst();
        if (found->isEmpty()) m_timesById.erase(found);
    }

    QList<Entry> m_items;
    QHash<int, QList<qint64>> m_timesById;
};

using PendingAlarms = PendingAlarmList<AlarmEntry>;
using PendingTaskAlarms = PendingAlarmList<TaskAlarmEntry>;
