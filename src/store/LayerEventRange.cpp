#include "store/LayerEventRange.h"

#include "store/EventsStore.h"
#include "store/RecurrenceColumns.h"

namespace LayerEventRange
{

QStringList eventsEndingBy(const EventsStore &events, const QList<int> &layerIds,
                           std::optional<SerialDateTime> endingBy)
{
    const qint64 limitMs = endingBy ? DateTimeValue::toMs(*endingBy) : 0;
    QStringList ids;
    events.forEachEvent([&](const EventRow &row) {
        if (!layerIds.contains(row.layer())) return;
        if (endingBy &&
            DateTimeValue::toMs(row.endTime()) +
                    qint64(RecurrenceColumns::extraDaysOf(row)) * DateTimeValue::MsPerDay >
                limitMs)
            return;
        ids.append(QString::number(row.id()));
    });
    return ids;
}

StoreResult moveEvents(EventsStore &events, const QStringList &ids, int layerId)
{
    events.beginBulk();
    StoreResult result = events.moveToLayer(ids, layerId);
    const TableResult written = events.endBulk();
    result.noteFailure(written.ok(), written.error);
    return result;
}

StoreResult copyEvents(EventsStore &events, const QStringList &ids, int layerId)
{
    StoreResult result;
    events.beginBulk();
    for (const QString &text : ids) {
        const InsertResult added = events.duplicateToLayer(text.toInt(), layerId);
        if (added.applied()) ++result.count;
        result.noteFailure(added.applied(),
                           added.table.error.isEmpty()
                               ? QStringLiteral("The event %1 no longer exists.").arg(text)
                               : added.table.error);
    }
    const TableResult written = events.endBulk();
    result.noteFailure(written.ok(), written.error);
    return result;
}

} // namespace LayerEventRange
