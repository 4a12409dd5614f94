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
        layers = std::make_unique<LayersStore>(dataDir, &clock);
        events = std::make_unique<EventsStore>(dataDir, *layers, time, &clock);
        tasks = std::make_unique<TasksStore>(dataDir, *layers, clock);
    }
    void reopen()
    {
        tasks.reset();
        events.reset();
        layers.reset();
        open();
    }
    int firstLayer()
    {
        layers->gotoPosition(1);
        return layers->currentId();
    }

    // ---- events ---------------------------------------------------------------------------
    static QVariantList oneTime(int layer, SerialDateTime start, SerialDateTime end, const QString &subject)
    {
        QVariantList v;
        for (int f = 0; f <= EventsStore::F_Updates; ++f)
            v << QVariant();
        v[EventsStore::F_Layer] = layer;
        v[EventsStore::F_StartTime] = start;
        v[EventsStore::F_EndTime] = end;
        v[EventsStore::F_AllDay] = false;
        v[EventsStore::F_AlarmSet] = false;
        v[EventsStore::F_Subject] = subject;
        v[EventsStore::F_Description] = QString();
        v[EventsStore::F_Recurrent] = false;
        return v;
    }
    static QVariantList recurring(int layer, const RecurrenceRule &r, const QString &subject)
    {
        QVariantList v = oneTime(layer, r.startTime, r.endTime, subject);
        v[EventsStore::F_Recurrent] = true;
        RecurrenceColumns::writeRule(r, v);
        return v;
    }
    static QVariantList withAlarm(QVariantList v, int advance, int unit = 1)
    {
        v[EventsStore::F_AlarmSet] = true;
        v[EventsStore::F_AlarmAdvTime] = advance;
        v[EventsStore::F_AlarmAdvUnit] = unit;
        return v;
    }
    int addEvent(const QVariantList &values)
    {
        events->CDS.insertRow(values);
        return events->currentId();
    }

    // ---- tasks ----------------------------------------------------------------------------
    int addTask(const QString &subject, int parent = -1, int layer = -1)
    {
        int level = 1;
        if (parent != -1) {
            tasks->locateID(parent);
            level = tasks->currentLevel() + 1;
            tasks->CDS.edit();
            tasks->CDS.setValue(TasksStore::F_Children, true);
            tasks->CDS.setValue(TasksStore::F_Open, true);
            tasks->CDS.post();
            if (layer == -1) layer = tasks->currentLayer();
        }
        tasks->insertTask(parent, level, layer == -1 ? firstLayer() : layer, subject);
        return tasks->currentId();
    }
    // Every task as "subject<level>^ParentSubject" in the order of the row list, all open.
    QStringList tree()
    {
        QStringList out;
        tasks->buildRowList();
        for (int i = 0; i < tasks->rowList().size(); ++i) {
            tasks->gotoListPosition(i);
            const QString subject = tasks->currentSubject();
            const int level = tasks->currentLevel();
            const int parent = tasks->currentParentId();
            QString parentSubject = QStringLiteral("-");
            if (parent != -1) {
                tasks->locateID(parent);
                parentSubject = tasks->currentSubject();
            }
            out << QStringLiteral("%1%2^%3").arg(subject).arg(level).arg(parentSubject);
        }
        return out;
    }
    int taskCount() { return tasks->CDS.recordCount(); }
    int eventCount() { return events->CDS.recordCount() - events->clipboardCount(); }

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
