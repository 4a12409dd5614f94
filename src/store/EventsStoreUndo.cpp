// Deleting events with undo, restoring them, and inserting event lines of layer files.
#include "store/EventsStore.h"

#include "store/LayersStore.h"
#include "store/RecordLines.h"
#include "store/UndoLog.h"

QString EventsStore::eventLine(const EventRow &row, std::optional<int> layerNumber)
{
    return RecordLines::eventLine(row.values(), layerNumber.value_or(row.layer()));
}

StoreResult EventsStore::deleteWithUndo(const QStringList &ids)
{
    QStringList lines;
    QList<int> found;
    for (const QString &text : ids) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        const int slot = ok && !found.contains(id) ? eventSlot(id) : -1;
        if (slot < 0) continue;
        found.append(id);
        lines.append(eventLine(rowInSlot(slot)));
    }
    QString error;
    if (!UndoLog::write(m_dataDir, UndoLog::Section::DeletedEvents, lines, &error))
        return StoreResult::failure(error);
    StoreResult result;
    for (int id : found) {
        const TableResult r = deleteEvent(id);
        if (r.applied) ++result.count;
        if (!r.ok() && result.ok) {
            result.ok = false;
            result.error = r.error;
        }
    }
    return result;
}

int EventsStore::importEvents(const QList<QVariantList> &rows, const QHash<int, int> &layerMap)
{
    int inserted = 0;
    for (const QVariantList &values : rows) {
        EventRow row(values);
        row[EventField::Layer] = m_layers.layerOrFirst(layerMap.value(row.layer(), 0));
        if (insertEvent(row).applied()) ++inserted; // the after-post step sets its alarm
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
        const int layer = EventRow(row).layer();
        sameLayer.insert(layer, layer);
    }
    StoreResult result;
    result.count = importEvents(content->events, sameLayer);
    return result;
}
