#include "store/LayerRemoval.h"

#include "store/EventsStore.h"
#include "store/LayerFile.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"

#include <QDir>
#include <QFileInfo>

namespace LayerRemoval
{

QString lastDeletedPath(const QString &dataDir)
{
    return dataDir + QStringLiteral("My Layers/Last Deleted.dyl");
}

StoreResult deleteLayers(const QList<int> &layerIds, LayersStore &layers, EventsStore &events,
                         TasksStore &tasks)
{
    StoreResult result;
    const StoreResult eventsGone = events.deleteEventsOfLayers(layerIds);
    result.noteFailure(eventsGone.ok, eventsGone.error);
    const StoreResult tasksGone = tasks.deleteTasksOfLayers(layerIds);
    result.noteFailure(tasksGone.ok, tasksGone.error);
    layers.beginBulk();
    for (int id : layerIds)
        if (layers.deleteLayer(id).applied) ++result.count;
    const TableResult written = layers.endBulk();
    result.noteFailure(written.ok(), written.error);
    return result;
}

StoreResult deleteLayersKeepingCopy(const QString &copyPath, const QList<int> &layerIds,
                                    LayersStore &layers, EventsStore &events, TasksStore &tasks)
{
    if (!QDir().mkpath(QFileInfo(copyPath).absolutePath()))
        return StoreResult::failure(
            QStringLiteral("The folder \"%1\" cannot be made.")
                .arg(QDir::toNativeSeparators(QFileInfo(copyPath).absolutePath())));
    const StoreResult copied = LayerFile::exportFile(copyPath, layerIds, layers, events, tasks);
    if (!copied) return copied;
    return deleteLayers(layerIds, layers, events, tasks);
}

} // namespace LayerRemoval
