#pragma once
// Writing layers to a calendar file (.ics) with libical: their events (a recurring event as
// one VEVENT with RRULE and EXDATE; an alarm as a DISPLAY VALARM) and their tasks (VTODO, the
// tree as RELATED-TO the parent's UID).
//
// Times are written as floating local times (no zone), DATE values for all-day events that
// start and end at midnight: the wall-clock times the program shows. UIDs are
// "event-<id>@<identity>" and "task-<id>@<identity>", the identity a random name kept in the
// data directory ("calendar-id"), so exporting the same events again gives the same UIDs.
#include "core/DateTimeValue.h"
#include "store/StoreResult.h"

#include <QByteArray>
#include <QList>
#include <QString>

class LayersStore;
class EventsStore;
class TasksStore;

namespace IcsExport
{

inline constexpr const char *IdentityFileName = "calendar-id";

// The calendar identity of `dataDir` (ends with "/"), made and kept there on first use. When it
// cannot be kept, a name derived from the directory's path (the same on every call).
QString calendarIdentity(const QString &dataDir);

struct Output {
    QByteArray bytes;
    int events = 0;
    int tasks = 0;
    int skipped = 0; // recurring events whose rule has no occurrence
};

// The calendar file of the layers with these IDs (IDs of no layer are skipped; the clipboard
// row never is written). X-WR-CALNAME is the layer's name for one layer, else "Dayloom".
// `now` stamps DTSTAMP.
Output calendarBytes(const QList<int> &layerIDs, const LayersStore &layers,
                     const EventsStore &events, const TasksStore &tasks, const QString &identity,
                     SerialDateTime now);

// Writes calendarBytes() for the data directory's identity to `path`, atomically. count:
// events and tasks written.
StoreResult exportFile(const QString &path, const QList<int> &layerIDs, const LayersStore &layers,
                       const EventsStore &events, const TasksStore &tasks, SerialDateTime now);

} // namespace IcsExport
