#pragma once
// Importing a calendar file (.ics) into the stores, and undoing that import.
//
// The whole file is read and checked first (IcsReader); a file that is refused changes
// nothing. Events and tasks go into one layer: a new one named after the calendar (its
// X-WR-CALNAME, else the file's base name), or an existing one. What was added is written to
// the undo log as "IMPORTED CALENDAR", so Edit > Undo removes it again.
#include "store/IcsReader.h"
#include "store/StoreResult.h"

#include <QString>
#include <QStringList>

class LayersStore;
class EventsStore;
class TasksStore;

namespace IcsImport
{

// What an import did. ok false: nothing was imported, `error` says why.
struct Summary {
    bool ok = false;
    QString error;
    int layerId = -1;
    QString layerName;
    bool newLayer = false;
    int events = 0; // events added, one-time and recurring
    int recurringEvents = 0;
    int tasks = 0;
    int expandedRules = 0; // rules added as one-time events
    QStringList skipped;   // "why (count)"
    QString undoError;     // set when the import is made but cannot be undone
    int unstored = 0;      // entries of the file the stores refused
    bool unsaved = false;  // the stores hold the import but could not write it to the files yet
    explicit operator bool() const { return ok; }
    // Whether the import went through without a problem the user must know of: everything
    // stored and written, and undoable (what the reader left out is no such problem).
    bool clean() const { return ok && unstored == 0 && !unsaved && undoError.isEmpty(); }
    // The text the window shows after the import (several lines).
    QString message() const;
};

// Imports `path` into the layer `layerId`, or into a new layer when `layerId` is 0. Refused,
// with nothing changed, when the file cannot be read or is refused by IcsReader::read, when
// `layerId` names no layer, or when a new layer would make more than 24.
Summary importFile(const QString &path, int layerId, LayersStore &layers, EventsStore &events,
                   TasksStore &tasks, const IcsReader::Options &options);

// The same for bytes already read; `fileName` names the new layer when the calendar has no
// name.
Summary importBytes(const QByteArray &bytes, const QString &fileName, int layerId,
                    LayersStore &layers, EventsStore &events, TasksStore &tasks,
                    const IcsReader::Options &options);

// Removes what the import in the undo log added: its events, its tasks and, when it made a
// layer that now holds nothing else, that layer. Fails (nothing changes) when the undo log is
// missing, damaged or of another section. count: events and tasks removed.
StoreResult undoImport(LayersStore &layers, EventsStore &events, TasksStore &tasks);

} // namespace IcsImport
