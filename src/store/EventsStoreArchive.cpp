// Moving old events of archiving layers into "My Layers/Archive.dyl".
#include "store/EventsStore.h"

#include "core/FileText.h"
#include "store/LayersStore.h"
#include "store/LayerFileFormat.h"
#include "store/TextFileLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

QString EventsStore::archivePath(const QString &dataDir)
{
    return dataDir + QStringLiteral("My Layers/Archive.dyl");
}

StoreResult EventsStore::archiveOldEvents()
{
    // Layers that archive, with their threshold: endTime at or before it is archived.
    QHash<int, qint64> thresholdMs;
    const qint64 today = DateTimeValue::dayOf(clock().today());
    const Table::Bookmark layerHere = m_layers.CDS.bookmark();
    for (m_layers.CDS.first(); !m_layers.CDS.isEmpty() && !m_layers.CDS.eof(); m_layers.CDS.next())
        if (m_layers.currentArchiving() == 2)
            thresholdMs.insert(m_layers.currentId(),
                               (today - m_layers.currentArchiveDays() + 1) * DateTimeValue::MsPerDay);
    m_layers.CDS.gotoBookmark(layerHere);
    if (thresholdMs.isEmpty()) return {};

    QList<int> ids;
    QStringList newLines;
    const Table::Bookmark here = CDS.bookmark();
    CDS.first();
    CDS.moveBy(m_clipboardCount);
    for (; !CDS.isEmpty() && !CDS.eof(); CDS.next()) {
        const auto it = thresholdMs.constFind(currentLayer());
        if (it == thresholdMs.constEnd() || DateTimeValue::toMs(currentEndTime()) > *it) continue;
        ids.append(currentId());
        newLines.append(eventLine(LayerFileFormat::FirstLayerNumber));
    }
    CDS.gotoBookmark(here);
    if (ids.isEmpty()) return {};

    const QString path = archivePath(m_dataDir);
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
                                  clock().now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
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
    for (int id : ids)
        if (CDS.locate(F_ID, id) && CDS.deleteRow().applied) {
            m_alarms.removeFirst(id);
            ++result.count;
        }
    if (!CDS.gotoBookmark(here)) CDS.first();
    return result;
}
