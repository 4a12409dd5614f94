#pragma once
// Layers, events and tasks stores in one fresh data directory with a fixed clock, and
// builders for event rows and task trees.
#include "core/Clock.h"
#include "core/ViewDates.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"
#include "store/RecurrenceRule.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <memory>

namespace CalendarTest
{

struct Calendar {
    explicit Calendar(const QDateTime &now = QDateTime(QDate(2024, 3, 1), QTime(8, 0)),
                      const QString &dir = TestEnv::freshDir("calendar") + "/")
        : dataDir(dir), time(clock)
    {
        clock.setFixed(now);
        open();
    }
    void open()
    {
        layers = std::make_unique<LayersStore>(dataDir, clock);
        events = std::make_unique<EventsStore>(dataDir, *layers, time, clock);
        tasks = std::make_unique<TasksStore>(dataDir, *layers, clock);
    }
    void reopen()
    {
        tasks.reset();
        events.reset();
        layers.reset();
        open();
    }
    int firstLayer() { return layers->idAt(1); }

    // ---- events ---------------------------------------------------------------------------
    static EventRow oneTime(int layer, SerialDateTime start, SerialDateTime end,
                            const QString &subject)
    {
        EventRow v;
        v[EventField::Layer] = layer;
        v[EventField::StartTime] = start;
        v[EventField::EndTime] = end;
        v[EventField::AllDay] = false;
        v[EventField::AlarmSet] = false;
        v[EventField::Subject] = subject;
        v[EventField::Description] = QString();
        v[EventField::Recurring] = false;
        return v;
    }
    static EventRow recurring(int layer, const RecurrenceRule &r, const QString &subject)
    {
        EventRow v = oneTime(layer, r.startTime, r.endTime, subject);
        v[EventField::Recurring] = true;
        RecurrenceColumns::writeRule(r, v);
        return v;
    }
    static EventRow withAlarm(EventRow v, int advance, int unit = 1)
    {
        v[EventField::AlarmSet] = true;
        v[EventField::AlarmAdvance] = advance;
        v[EventField::AlarmAdvanceUnit] = unit;
        return v;
    }
    // The new event's id; -1 when it could not be added.
    int addEvent(const EventRow &values) { return events->insertEvent(values).id; }

    // ---- tasks ----------------------------------------------------------------------------
    int addTask(const QString &subject, int parent = -1, int layer = -1)
    {
        int level = 1;
        if (auto p = parent != -1 ? tasks->task(parent) : std::nullopt) {
            level = p->level + 1;
            p->hasChildren = true;
            p->open = true;
            EXPECT_TRUE(tasks->updateTask(*p).ok());
            if (layer == -1) layer = p->layer;
        }
        return tasks->insertTask(parent, level, layer == -1 ? firstLayer() : layer, subject).id;
    }
    // Every task as "subject<level>^ParentSubject" in the order of the row list, all open.
    QStringList tree()
    {
        QStringList out;
        tasks->buildRowList();
        for (int i = 0; i < tasks->rowList().size(); ++i) {
            const TaskRow t = tasks->listTask(i).value();
            QString parentSubject = QStringLiteral("-");
            if (const auto parent = t.parentId != -1 ? tasks->task(t.parentId) : std::nullopt)
                parentSubject = parent->subject;
            out << QStringLiteral("%1%2^%3").arg(t.subject).arg(t.level).arg(parentSubject);
        }
        return out;
    }
    int taskCount() { return tasks->count(); }
    int eventCount() { return events->eventCount(); }

    QString dataDir;
    Clock clock;
    ViewDates time;
    std::unique_ptr<LayersStore> layers;
    std::unique_ptr<EventsStore> events;
    std::unique_ptr<TasksStore> tasks;
};

// Makes `path` unwritable as a file, even for root: a directory stands where the file would go.
inline void blockFile(const QString &path)
{
    QFile::remove(path);
    QDir().mkpath(path + QStringLiteral("/blocked"));
}

} // namespace CalendarTest
