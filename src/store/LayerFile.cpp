#include "store/LayerFile.h"

#include "store/EventsStore.h"
#include "store/LayerFileFormat.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "store/TextFileLines.h"

namespace LayerFile
{

StoreResult exportFile(const QString &path, const QList<int> &layerIDs, LayersStore &layers,
                       EventsStore &events, TasksStore &tasks)
{
    QHash<int, int> numbers; // layer id -> number in the file
    QList<int> chosen;
    QStringList layerLines; // the layer file line of each chosen layer
    for (int id : layerIDs) {
        if (numbers.contains(id) || !layers.exists(id)) continue;
        numbers.insert(id, LayerFileFormat::FirstLayerNumber + int(chosen.size()));
        chosen.append(id);
        layerLines.append(layers.layerFileLine(id));
    }

    QHash<int, int> eventCounts, taskCounts;
    QStringList eventLines;
    events.forEachEvent([&](const EventRow &row) {
        const auto it = numbers.constFind(row.layer());
        if (it == numbers.constEnd()) return;
        eventLines.append(EventsStore::eventLine(row, *it));
        ++eventCounts[row.layer()];
    });
    const QStringList taskLines = tasks.layerFileTaskLines(numbers, &taskCounts);

    QStringList rows;
    for (qsizetype i = 0; i < chosen.size(); ++i)
        rows.append(LayerFileFormat::layerRowLine(numbers.value(chosen[i]), layerLines[i],
                                                  eventCounts.value(chosen[i]),
                                                  taskCounts.value(chosen[i])));
    QString error;
    if (!TextFileLines::writeAtomically(
            path, LayerFileFormat::fileBytes(rows, eventLines, taskLines), &error))
        return StoreResult::failure(error);
    StoreResult result;
    result.count = int(chosen.size());
    return result;
}

ImportResult importFile(const QString &path, LayersStore &layers, EventsStore &events,
                        TasksStore &tasks, std::optional<int> layerCount)
{
    ImportResult result;
    const auto bytes = TextFileLines::readFile(path, LayerFileFormat::MaxFileBytes, &result.error);
    if (!bytes) return result;
    const auto content = LayerFileFormat::parse(*bytes, &result.error);
    if (!content) return result;
    result.fileLayers = int(content->layers.size());
    if (layerCount.value_or(layers.count()) + result.fileLayers > LayerFileFormat::MaxLayers) {
        result.tooMany = true;
        result.error = QStringLiteral("The layer file holds more layers than can be added.");
        return result;
    }

    int nextRow = 0;
    for (const LayerRow &layer : layers.layers())
        nextRow = qMax(nextRow, layer.row + 1);
    QHash<int, int> map; // number in the file -> new layer id
    layers.beginBulk();
    for (const LayerFileFormat::LayerRow &row : content->layers) {
        const InsertResult added =
            layers.insertLayer(nextRow++, row.name, row.show, row.color, row.archiving, row.days);
        // A layer kept in memory whose write failed is imported; the table retries the write.
        if (!added.applied()) continue;
        map.insert(row.number, added.id);
        result.layerIDs.append(added.id);
    }

    (void)layers.endBulk(); // a failed write stays in memory and is retried by the table
    events.beginBulk();
    result.events = events.importEvents(content->events, map);
    (void)events.endBulk();
    tasks.beginBulk();
    result.tasks = tasks.importTasks(content->tasks, map);
    (void)tasks.endBulk();
    result.ok = true;
    return result;
}

} // namespace LayerFile
