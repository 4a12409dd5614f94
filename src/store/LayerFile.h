#pragma once
// Writing layers with their events and tasks to a layer file (".dyl") and reading one into
// the stores. The format is LayerFileFormat's.
#include "store/StoreResult.h"

#include <QList>
#include <QString>

#include <optional>

class LayersStore;
class EventsStore;
class TasksStore;

namespace LayerFile
{

// Writes the layers with these IDs (in this order, numbered -1000, -999, ...) with all their
// events (clipboard row left out, in event order) and tasks to `path`, atomically. IDs of no
// existing layer are skipped. count: layers written.
StoreResult exportFile(const QString &path, const QList<int> &layerIDs, LayersStore &layers,
                       EventsStore &events, TasksStore &tasks);

struct ImportResult {
    bool ok = false;
    QString error;        // why nothing was imported
    bool tooMany = false; // refused because the layers would pass MaxLayers
    int fileLayers = 0;   // layers the file holds (also when refused for too many)
    QList<int> layerIDs;  // the new layers, in file order
    int events = 0;
    int tasks = 0;
    explicit operator bool() const { return ok; }
};

// Reads `path` whole and checks it before anything changes; then inserts its layers (after
// the existing ones, in file order), their events and their task trees under the new layer
// IDs, each store in one write. A file that does not parse, or whose layers would make more
// than 24 together with `layerCount` layers (nullopt: the layers stored now), imports nothing.
ImportResult importFile(const QString &path, LayersStore &layers, EventsStore &events,
                        TasksStore &tasks, std::optional<int> layerCount = std::nullopt);

} // namespace LayerFile
