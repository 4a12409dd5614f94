#pragma once
// The fixed-seed benchmark calendar, generated once per run into a temporary data directory
// that every suite reuses, and the stores opened on it.
#include "core/Clock.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"

#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>

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

// A private copy of the calendar in a temporary directory with its stores and settings, for
// the suites whose writes must reach nothing else.
struct PrivateCopy {
    PrivateCopy();
    QString dataPath() const { return dir.path() + "/data/"; }
    QTemporaryDir dir;
    bool copied = true; // every file of the calendar was copied
    std::unique_ptr<Stores> stores;
    std::unique_ptr<Settings> settings;
};

// One T for the run, built on first use and destroyed from a post routine of the
// QApplication, so widgets go before the application does.
template <class T> T &appInstance()
{
    static std::unique_ptr<T> p;
    if (!p) {
        p = std::make_unique<T>();
        qAddPostRoutine([] { p.reset(); });
    }
    return *p;
}

} // namespace BenchCalendar
