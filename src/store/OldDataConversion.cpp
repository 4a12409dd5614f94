#include "store/OldDataConversion.h"

#include "core/Settings.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"

#include <QFile>
#include <QHash>

#include <map>

namespace OldDataConversion
{

bool convert(EventsStore &events, LayersStore &layers, Settings &settings)
{
    const QString dir = events.dataDir();
    const QString oldPath = dir + DataFileName;
    if (!QFile::exists(oldPath)) return false;
    // From here on the rows are written to the events file; the old file is only renamed.
    if (!events.adoptRowsOf(oldPath)) return false;
    QFile::remove(dir + BackupName);
    QFile::rename(oldPath, dir + BackupName);

    // The layer rows: the first row (in event order) on each layer day.
    std::map<int, EventRow> layerRows; // day - LayerDay -> row
    events.forEachEvent([&](const EventRow &row) {
        const double offset = row.startTime() - LayerDay;
        if (offset >= 0 && offset <= 10000 && offset == double(int(offset)))
            layerRows.try_emplace(int(offset), row);
    });

    // The changes below are written to the events and layers files as they are made; a write
    // that fails stays in memory and is retried by each table's next write or save, which
    // report it.
    (void)layers.deleteAllLayers();
    QHash<int, int> newLayerOf; // old layer row id -> new layer id
    if (const auto header = layerRows.find(0); header != layerRows.end()) {
        const int layerCount = RecurrenceColumns::oldLayerCount(header->second);
        (void)events.deleteEvent(header->second.id());
        for (int b = 1; b <= layerCount && b <= 10000; ++b) {
            const auto it = layerRows.find(b);
            if (it == layerRows.end()) continue;
            const EventRow &row = it->second;
            const RecurrenceColumns::OldLayerValues values = RecurrenceColumns::oldLayerValues(row);
            const InsertResult layer = layers.insertLayer(
                b - 1, row.subject(), row.isAllDay(), values.color, values.archiving, values.days);
            if (layer.applied()) newLayerOf.insert(row.id(), layer.id);
            (void)events.deleteEvent(row.id());
        }
    }
    // One pass with the whole map: a new layer id that equals an old layer row's id must not
    // move the same events twice.
    std::vector<EventRow> moved;
    events.forEachEvent([&](const EventRow &row) {
        if (!newLayerOf.contains(row.layer())) return;
        EventRow changed = row;
        changed[EventField::Layer] = newLayerOf.value(row.layer());
        moved.push_back(changed);
    });
    for (const EventRow &row : moved)
        (void)events.updateEvent(row);
    if (layers.count() == 0) (void)layers.insertLayer(0, QStringLiteral("Layer1"), true, 1, 1, 30);
    settings.setFirstTime(false);
    return true;
}

} // namespace OldDataConversion
