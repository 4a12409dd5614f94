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

inline EventRow oneTime(int layer, SerialDateTime start, SerialDateTime end, const QString &subject)
{
    EventRow v;
    v[EventField::Layer] = layer;
    v[EventField::StartTime] = start;
    v[EventField::EndTime] = end;
    v[EventField::AllDay] = false;
    v[EventField::AlarmSet] = false;
    v[EventField::Subject] = subject;
    v[EventField::Description] = QStringLiteral("about ") + subject;
    v[EventField::Recurring] = false;
    return v;
}

// Every `every` days from the day of `start` (daily pattern, variant 1), ending on the day of
// `end`, each occurrence lasting `spanDays` (ComboBox1) days to the time of `end`.
inline EventRow daily(int layer, SerialDateTime start, SerialDateTime end, int every,
                      const QString &subject, int spanDays = 0)
{
    EventRow v = oneTime(layer, start, end, subject);
    v[EventField::Recurring] = true;
    v[EventField::RadioButton1] = 1;
    v[EventField::RadioButton2] = 1;
    v[EventField::RadioButton3] = 1;
    v[EventField::Edit1] = every;
    v[EventField::Edit2] = 1;
    v[EventField::Edit3] = 1;
    v[EventField::ComboBox1] = spanDays;
    v[EventField::ComboBox2] = 0;
    v[EventField::ComboBox3] = 0;
    v[EventField::ComboBox4] = 0;
    v[EventField::Weekdays] = QStringLiteral("0000000");
    return v;
}

// The new event's id; -1 when it could not be added.
inline int insert(EventsStore &ev, const EventRow &values)
{
    return ev.insertEvent(values).id;
}

} // namespace EventsTest
