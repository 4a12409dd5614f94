#pragma once
// The archive of old events: "My Layers/Archive.dyl", a layer file of one layer ("Archive").
#include "store/StoreResult.h"

#include <QString>

class Clock;
class EventsStore;
class LayersStore;

namespace EventArchive
{

// "My Layers/Archive.dyl" below the data directory (`dataDir` ends with "/").
QString archivePath(const QString &dataDir);

// Moves the events of layers with Archiving 2 whose endTime is at or before
// today - Days + 1 (midnight) into the archive of the events store's data directory. The
// archive is written (atomically) before the events leave the table; when it cannot be
// written no event is removed and the result carries the error. An archive file that cannot
// be read is renamed aside ("Archive.dyl.damaged-yyyyMMdd-HHmmss") and a new one started.
// count: events archived.
StoreResult archiveOldEvents(EventsStore &events, const LayersStore &layers, const Clock &clock);

} // namespace EventArchive
