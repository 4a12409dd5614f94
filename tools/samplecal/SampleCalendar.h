#pragma once
// Generated calendars written through the stores into a data directory: the large, fixed-seed
// calendar the benchmarks measure, and a small demo calendar around a given day for a newcomer
// (and for screenshots and UI tests).
//
// Both writers expect a data directory without table files (they add to whatever is there)
// and leave "Layers.cds", "Events.cds" and "Tasks.cds" in it, saved.
#include "store/RecurrenceRule.h"

#include <QDate>
#include <QString>

#include <vector>

namespace SampleCalendar
{

// Shape of the benchmark calendar. The same shape and seed always give the same rows.
struct BenchShape {
    quint32 seed = 20240917;
    QDate firstDay{2020, 1, 1}; // one-time events start on or after this day
    int years = 10;             // ... and before this many years later
    int layers = 12;
    int oneTimeEvents = 100000; // about 5% of them all-day or multi-day
    int recurringRules = 300;   // every pattern and variant; about a quarter with exceptions
    int tasks = 1000;           // in trees up to four levels deep
};

// A recurring rule of the benchmark calendar with the row values it is stored with.
struct SampleRule {
    RecurrenceRule rule;
    int layer = 1;
    QString subject;
};

// What a writer stored.
struct Summary {
    int layers = 0;
    int oneTimeEvents = 0;
    int recurringRules = 0;
    int tasks = 0;
    double longestOneTimeDays = 0; // longest endTime - startTime of a one-time event
};

// The recurring rules of the benchmark calendar, in the order they are stored (IDs follow
// the one-time events). Exception days are sorted and each falls on an occurrence.
std::vector<SampleRule> benchRules(const BenchShape &shape = {});

// Writes the benchmark calendar into `dataDir` (ends with "/"). False, with `error` set, when
// a store reported a failed load or write.
bool writeBench(const QString &dataDir, const BenchShape &shape = {}, Summary *summary = nullptr,
                QString *error = nullptr);

// Writes the demo calendar around `today` into `dataDir` (ends with "/"): coloured layers, a
// working week of meetings in today's week, all-day and multi-day events, daily and weekly
// recurring events, some with alarms, and a few tasks.
bool writeDemo(const QString &dataDir, const QDate &today, Summary *summary = nullptr,
               QString *error = nullptr);

} // namespace SampleCalendar
