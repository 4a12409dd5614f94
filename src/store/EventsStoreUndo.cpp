// Deleting events with undo, restoring them, and inserting event lines of layer files.
#include "store/EventsStore.h"

#include "store/LayersStore.h"
#include "store/RecordLines.h"
#include "store/UndoLog.h"

QString EventsStore::eventLine(std::optional<int> layerNumber) const
{
    return RecordLines::eventLine(rowValues(), layerNumber.value_or(currentLayer()));
}

int EventsStore::layerOrFirst(int layerId)
{
    if (m_layers.exists(layerId)) return layerId;
    const Table::Bookmark at = m_layers.CDS.bookmark();
    const int first = m_layers.gotoPosition(1) ? m_layers.currentId() : 0;
    m_layers.CDS.gotoBookmark(at);
    return first;
}

StoreResult EventsStore::deleteWithUndo(const QStringList &ids)
{
    QStringList lines;
    QList<int> found;
    for (const QString &text : ids) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        if (!ok || found.contains(id) || !CDS.locate(F_ID, id) || currentStartTime() < ClipboardBelow)
            continue;
        found.append(id);
        lines.append(eventLine());
    }
    QString error;
    if (!UndoLog::write(m_dataDir, UndoLog::Section::DeletedEvents, lines, &error))
        return StoreResult::failure(error);
    StoreResult result;
    for (int id : found) {
        if (!CDS.locate(F_ID, id)) continue;
        CDS.deleteRow();
        refreshPendingAlarm(id);
        ++result.count;
    }
    return result;
}

int EventsStore::importEvents(const QList<QVariantList> &rows, const QHash<int, int> &layerMap)
{
    int inserted = 0;
    for (QVariantList values : rows) {
        const int layer = values.value(F_Layer).toInt();
        values[F_ID] = QVariant();
        values[F_Layer] = layerOrFirst(layerMap.value(layer, 0));
        if (CDS.insertRow(values).applied) ++inserted; // the after-post step sets its alarm
    }
    return inserted;
}

StoreResult EventsStore::restoreDeletedEvents()
{
    QString error;
    const auto content = UndoLog::read(m_dataDir, &error);
    if (!content) return StoreResult::failure(error);
    if (content->section != UndoLog::Section::DeletedEvents)
        return StoreResult::failure(QStringLiteral("The undo file holds no deleted events."));
    QHash<int, int> sameLayer;
    for (const QVariantList &row : content->events) {
        const int layer = row.value(F_Layer).toInt();
        sameLayer.insert(layer, layer);
    }
    StoreResult result;
    result.count = importEvents(content->events, sameLayer);
    return result;
}
