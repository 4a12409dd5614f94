#pragma once
// The events of chosen layers over a range of time, and deleting, moving or copying them as one
// change of the events store (the "Delete Events...", "Move Events..." and "Copy Events..."
// commands).
#include "core/DateTimeValue.h"
#include "store/StoreResult.h"

#include <QList>
#include <QStringList>

#include <optional>

class EventsStore;

namespace LayerEventRange
{

// IDs (decimal text, event order, clipboard row left out) of the events of `layerIds` that end
// at or before `endingBy`; every event of those layers when `endingBy` is nullopt. A recurring
// event ends with its last occurrence: the end of its recurrence plus the days one occurrence
// spans.
QStringList eventsEndingBy(const EventsStore &events, const QList<int> &layerIds,
                           std::optional<SerialDateTime> endingBy);

// Sets the layer of the listed events to `layerId` in one write. count: events moved.
StoreResult moveEvents(EventsStore &events, const QStringList &ids, int layerId);
// Adds a copy of each listed event (every column but the id) in `layerId`, in one write.
// count: copies made. Not ok, with the error, when a copy could not be added or written.
StoreResult copyEvents(EventsStore &events, const QStringList &ids, int layerId);

} // namespace LayerEventRange
