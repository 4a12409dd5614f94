#pragma once
// A layers store, date module and events store in one fresh data directory, and row builders.
#include "core/Clock.h"
#include "core/ViewDates.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"
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
        layers = std::make_unique<LayersStore>(dataDir, clock);
        events = std::make_unique<EventsStore>(dataDir, *layers, time, clock);
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

// Every `every` days from the day of `start` (daily pattern), ending on the day of `end`, each
// occurrence lasting `spanDays` (extraDays) days to the time of `end`.
inline RecurrenceRule dailyRule(SerialDateTime start, SerialDateTime end, int every,
                                int spanDays = 0)
{
    RecurrenceRule r;
    r.pattern = RecurrenceRule::Pattern::Daily;
    r.variant = RecurrenceRule::Variant::EveryNDays;
    r.endRule = RecurrenceRule::EndRule::OnDate;
    r.interval = every;
    r.extraDays = spanDays;
    r.startTime = start;
    r.endTime = end;
    return r;
}

// A recurring event row of the rule.
inline EventRow recurring(int layer, const RecurrenceRule &r, const QString &subject)
{
    EventRow v = oneTime(layer, r.startTime, r.endTime, subject);
    v[EventField::Recurring] = true;
    RecurrenceColumns::writeRule(r, v);
    return v;
}

inline EventRow daily(int layer, SerialDateTime start, SerialDateTime end, int every,
                      const QString &subject, int spanDays = 0)
{
    return recurring(layer, dailyRule(start, end, every, spanDays), subject);
}

// The new event's id; -1 when it could not be added.
inline int insert(EventsStore &ev, const EventRow &values)
{
    return ev.insertEvent(values).id;
}

} // namespace EventsTest
