#pragma once
// Layers, events and tasks stores in one fresh data directory with a fixed clock, and
// builders for event rows and task trees.
#include "core/Clock.h"
#include "core/DTimeDM.h"
#include "store/DEventsDM.h"
#include "store/DLayersDM.h"
#include "store/DTasksDM.h"
#include "store/RecurrenceRule.h"
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
        layers = std::make_unique<TDLayers>(dataDir, &clock);
        events = std::make_unique<TDEvents>(dataDir, *layers, time, &clock);
        tasks = std::make_unique<TDTasks>(dataDir, *layers, clock);
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
        return layers->ID();
    }

    // ---- events ---------------------------------------------------------------------------
    static QVariantList oneTime(int layer, TDateTime start, TDateTime end, const QString &subject)
    {
        QVariantList v;
        for (int f = 0; f <= TDEvents::F_Updates; ++f)
            v << QVariant();
        v[TDEvents::F_Layer] = layer;
        v[TDEvents::F_StartTime] = start;
        v[TDEvents::F_EndTime] = end;
        v[TDEvents::F_AllDay] = false;
        v[TDEvents::F_AlarmSet] = false;
        v[TDEvents::F_Subject] = subject;
        v[TDEvents::F_Description] = QString();
        v[TDEvents::F_Recurrent] = false;
        return v;
    }
    static QVariantList recurring(int layer, const RecurrenceRule &r, const QString &subject)
    {
        QVariantList v = oneTime(layer, r.StartTime, r.EndTime, subject);
        v[TDEvents::F_Recurrent] = true;
        const int values[] = {r.RadioButton1, r.RadioButton2, r.RadioButton3, r.Edit1,
                              r.Edit2,        r.Edit3,        r.ComboBox1,    r.ComboBox2,
                              r.ComboBox3,    r.ComboBox4};
        for (int i = 0; i < 10; ++i)
            v[TDEvents::F_RadioButton1 + i] = values[i];
        v[TDEvents::F_Weekdays] = r.Weekdays.isEmpty() ? QStringLiteral("0000000") : r.Weekdays;
        return v;
    }
    static QVariantList withAlarm(QVariantList v, int advance, int unit = 1)
    {
        v[TDEvents::F_AlarmSet] = true;
        v[TDEvents::F_AlarmAdvTime] = advance;
        v[TDEvents::F_AlarmAdvUnit] = unit;
        return v;
    }
    int addEvent(const QVariantList &values)
    {
        events->CDS.insertRow(values);
        return events->ID();
    }

    // ---- tasks ----------------------------------------------------------------------------
    int addTask(const QString &subject, int parent = -1, int layer = -1)
    {
        int level = 1;
        if (parent != -1) {
            tasks->locateID(parent);
            level = tasks->Level() + 1;
            tasks->CDS.edit();
            tasks->CDS.setValue(TDTasks::F_Children, true);
            tasks->CDS.setValue(TDTasks::F_Open, true);
            tasks->CDS.post();
            if (layer == -1) layer = tasks->Layer();
        }
        tasks->insertTask(parent, level, layer == -1 ? firstLayer() : layer, subject);
        return tasks->ID();
    }
    // Every task as "Subject<level>^ParentSubject" in the order of the row list, all open.
    QStringList tree()
    {
        QStringList out;
        tasks->buildRowList();
        for (int i = 0; i < tasks->rowList().size(); ++i) {
            tasks->gotoListPosition(i);
            const QString subject = tasks->Subject();
            const int level = tasks->Level();
            const int parent = tasks->ParentID();
            QString parentSubject = QStringLiteral("-");
            if (parent != -1) {
                tasks->locateID(parent);
                parentSubject = tasks->Subject();
            }
            out << QStringLiteral("%1%2^%3").arg(subject).arg(level).arg(parentSubject);
        }
        return out;
    }
    int taskCount() { return tasks->CDS.recordCount(); }
    int eventCount() { return events->CDS.recordCount() - events->clipboardCount(); }

    QString dataDir;
    Clock clock;
    TDTime time;
    std::unique_ptr<TDLayers> layers;
    std::unique_ptr<TDEvents> events;
    std::unique_ptr<TDTasks> tasks;
};

// Makes `path` unwritable as a file, even for root: a directory stands where the file would go.
inline void blockFile(const QString &path)
{
    QFile::remove(path);
    QDir().mkpath(path + QStringLiteral("/blocked"));
}

} // namespace CalendarTest
