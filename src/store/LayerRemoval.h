#pragma once
// Removing layers with all their events and tasks, keeping a layer file of what goes.
#include "store/StoreResult.h"

#include <QList>
#include <QString>

class LayersStore;
class EventsStore;
class TasksStore;

namespace LayerRemoval
{

// The data directory's "My Layers/Last Deleted.dyl".
QString lastDeletedPath(const QString &dataDir);

// Deletes the layers with these ids, their events (the clipboard row stays) and tasks, with
// their pending alarms; each store writes once. Unknown ids are skipped. count: layers
// deleted. Not ok, with the first error, when a store could not write (what was deleted stays
// deleted in memory and the table retries the write).
StoreResult deleteLayers(const QList<int> &layerIds, LayersStore &layers, EventsStore &events,
                         TasksStore &tasks);

// Writes the layers with their events and tasks to `copyPath` (its folder made when missing),
// then deletes them as deleteLayers(). When the file cannot be written nothing is deleted and
// the result carries the reason.
StoreResult deleteLayersKeepingCopy(const QString &copyPath, const QList<int> &layerIds,
                                    LayersStore &layers, EventsStore &events, TasksStore &tasks);

} // namespace LayerRemoval
