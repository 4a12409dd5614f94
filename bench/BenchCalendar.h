#pragma once
// The fixed-seed benchmark calendar, generated once per run into a temporary data directory
// that every suite reuses, and the stores opened on it.
#include "core/Clock.h"
#include "core/ViewDates.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"

#include <QString>

#include <memory>

namespace BenchCalendar
{

// Data directory (ends with "/") holding the calendar; generated on the first call. Aborts the
// run when the calendar cannot be written.
const QString &dataDir();
// Longest one-time event in days, as generated.
double longestOneTimeDays();

// The three stores loaded from a data directory, in start-up order.
struct Stores {
    explicit Stores(const QString &dir);
    Clock clock;
    ViewDates time{clock};
    std::unique_ptr<LayersStore> layers;
    std::unique_ptr<EventsStore> events;
    std::unique_ptr<TasksStore> tasks;
};

// Stores on a private copy of the calendar, loaded once and shared by the suites that only
// read (and do not care that the others collected).
Stores &shared();

} // namespace BenchCalendar
