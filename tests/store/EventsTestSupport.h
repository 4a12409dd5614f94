#pragma once
// A layers store, date module and events store in one fresh data directory, and row builders.
#include "core/Clock.h"
#include "core/DTimeDM.h"
#include "store/DEventsDM.h"
#include "store/DLayersDM.h"
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
        layers = std::make_unique<TDLayers>(dataDir, &clock);
        events = std::make_unique<TDEvents>(dataDir, *layers, time, &clock);
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
    TDTime time;
    std::unique_ptr<TDLayers> layers;
    std::unique_ptr<TDEvents> events;
};

inline QVariantList oneTime(int layer, TDateTime start, TDateTime end, const QString &subject)
{
    QVariantList v;
    for (int f = 0; f < TDEvents::schema().fields.size(); ++f)
        v << QVariant();
    v[TDEvents::F_Layer] = layer;
    v[TDEvents::F_StartTime] = start;
    v[TDEvents::F_EndTime] = end;
    v[TDEvents::F_AllDay] = false;
    v[TDEvents::F_AlarmSet] = false;
    v[TDEvents::F_Subject] = subject;
    v[TDEvents::F_Description] = QStringLiteral("about ") + subject;
    v[TDEvents::F_Recurrent] = false;
    return v;
}

// Every `every` days from the day of `start` (daily pattern, variant 1), ending on the day of
// `end`, each occurrence lasting `spanDays` (ComboBox1) days to the time of `end`.
inline QVariantList daily(int layer, TDateTime start, TDateTime end, int every,
                          const QString &subject, int spanDays = 0)
{
    QVariantList v = oneTime(layer, start, end, subject);
    v[TDEvents::F_Recurrent] = true;
    v[TDEvents::F_RadioButton1] = 1;
    v[TDEvents::F_RadioButton2] = 1;
    v[TDEvents::F_RadioButton3] = 1;
    v[TDEvents::F_Edit1] = every;
    v[TDEvents::F_Edit2] = 1;
    v[TDEvents::F_Edit3] = 1;
    v[TDEvents::F_ComboBox1] = spanDays;
    v[TDEvents::F_ComboBox2] = 0;
    v[TDEvents::F_ComboBox3] = 0;
    v[TDEvents::F_ComboBox4] = 0;
    v[TDEvents::F_Weekdays] = QStringLiteral("0000000");
    return v;
}

inline int insert(TDEvents &ev, const QVariantList &values)
{
    ev.CDS.insertRow(values);
    return ev.ID();
}

} // namespace EventsTest
