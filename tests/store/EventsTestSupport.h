#pragma once
// A layers store, date module and events store in one fresh data directory, and row builders.
#include "core/Clock.h"
#include "core/ViewDates.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "support/SpanTestSupport.h"
#include "support/TestEnv.h"

#include <memory>

namespace EventsTest
{

using SpanTest::at;

struct Stores {
    explicit Stores(const QString &dir = TestEnv::freshDir("events") + "/")
        : dataDir(dir), time(clock)
    {
        open();
    }
    void open()
    {
        layers = std::make_unique<LayersStore>(dataDir, &clock);
        events = std::make_unique<EventsStore>(dataDir, *layers, time, &clock);
    }
    // Destroys (saving) and loads both stores again from the data directory.
    void reopen()
    {
        events.reset();
        layers.reset();
        open();
    }
    QString dataDir;
    Clock clock;
    ViewDates time;
    std::unique_ptr<LayersStore> layers;
    std::unique_ptr<EventsStore> events;
};

inline QVariantList oneTime(int layer, SerialDateTime start, SerialDateTime end, const QString &subject)
{
    QVariantList v;
    for (int f = 0; f < EventsStore::schema().fields.size(); ++f)
        v << QVariant();
    v[EventsStore::F_Layer] = layer;
    v[EventsStore::F_StartTime] = start;
    v[EventsStore::F_EndTime] = end;
    v[EventsStore::F_AllDay] = false;
    v[EventsStore::F_AlarmSet] = false;
    v[EventsStore::F_Subject] = subject;
    v[EventsStore::F_Description] = QStringLiteral("about ") + subject;
    v[EventsStore::F_Recurrent] = false;
    return v;
}

// Every `every` days from the day of `start` (daily pattern, variant 1), ending on the day of
// `end`, each occurrence lasting `spanDays` (ComboBox1) days to the time of `end`.
inline QVariantList daily(int layer, SerialDateTime start, SerialDateTime end, int every,
                          const QString &subject, int spanDays = 0)
{
    QVariantList v = oneTime(layer, start, end, subject);
    v[EventsStore::F_Recurrent] = true;
    v[EventsStore::F_RadioButton1] = 1;
    v[EventsStore::F_RadioButton2] = 1;
    v[EventsStore::F_RadioButton3] = 1;
    v[EventsStore::F_Edit1] = every;
    v[EventsStore::F_Edit2] = 1;
    v[EventsStore::F_Edit3] = 1;
    v[EventsStore::F_ComboBox1] = spanDays;
    v[EventsStore::F_ComboBox2] = 0;
    v[EventsStore::F_ComboBox3] = 0;
    v[EventsStore::F_ComboBox4] = 0;
    v[EventsStore::F_Weekdays] = QStringLiteral("0000000");
    return v;
}

inline int insert(EventsStore &ev, const QVariantList &values)
{
    ev.CDS.insertRow(values);
    return ev.currentId();
}

} // namespace EventsTest
