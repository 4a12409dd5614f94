#include "store/EventArchive.h"

#include "core/FileText.h"
#include "store/EventsStore.h"
#include "store/LayerFileFormat.h"
#include "store/LayersStore.h"
#include "store/TextFileLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace EventArchive
{
namespace
{
// The archive's one layer row: not archived itself, colour 1.
QString archiveRow(int eventCount)
{
    return LayerFileFormat::layerRowLine(LayerFileFormat::FirstLayerNumber,
                                         QStringLiteral("'Archive';True;1;1;30"), eventCount,
                                         std::nullopt);
}
} // namespace

QString archivePath(const QString &dataDir)
{
    return dataDir + QStringLiteral("My Layers/Archive.dyl");
}

StoreResult archiveOldEvents(EventsStore &events, const LayersStore &layers, const Clock &clock)
{
    // Layers that archive, with their threshold: endTime at or before it is archived.
    QHash<int, qint64> thresholdMs;
    const qint64 today = DateTimeValue::dayOf(clock.today());
    for (const LayerRow &layer : layers.layers())
        if (layer.archiving == 2)
            thresholdMs.insert(layer.id, (today - layer.archiveDays + 1) * DateTimeValue::MsPerDay);
    if (thresholdMs.isEmpty()) return {};

    QList<int> ids;
    QStringList newLines;
    events.forEachEvent([&](const EventRow &row) {
        const auto it = thresholdMs.constFind(row.layer());
        if (it == thresholdMs.constEnd() || DateTimeValue::toMs(row.endTime()) > *it) return;
        ids.append(row.id());
        newLines.append(EventsStore::eventLine(row, LayerFileFormat::FirstLayerNumber));
    });
    if (ids.isEmpty()) return {};

    const QString path = archivePath(events.dataDir());
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return StoreResult::failure(QStringLiteral("The folder of the archive cannot be made."));
    QStringList lines;
    if (QFile::exists(path)) {
        QString error;
        const auto bytes = TextFileLines::readFile(path, LayerFileFormat::MaxFileBytes, &error);
        std::optional<LayerFileFormat::Content> old;
        if (bytes) old = LayerFileFormat::parse(*bytes, &error);
        if (old && old->archiveForm && old->layers.size() == 1) {
            lines = old->eventLineTexts;
        } else if (bytes) {
            // Kept aside, never overwritten; a new archive starts.
            const QString aside = path + QStringLiteral(".damaged-") +
                                  clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
            if (!QFile::rename(path, aside))
                return StoreResult::failure(
                    QStringLiteral("The archive cannot be read and cannot be set aside."));
        } else {
            return StoreResult::failure(error);
        }
    }
    lines += newLines;
    QString error;
    if (!TextFileLines::writeAtomically(
            path, LayerFileFormat::fileBytes({archiveRow(int(lines.size()))}, lines, std::nullopt),
            &error))
        return StoreResult::failure(error);

    StoreResult result;
    for (int id : ids) {
        const TableResult r = events.deleteEvent(id); // its pending alarm goes with it
        if (r.applied) ++result.count;
        result.noteFailure(r.ok(), r.error);
    }
    return result;
}

} // namespace EventArchive
