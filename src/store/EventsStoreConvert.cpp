// The one-time conversion of an older version's single data file: events and layers in one
// table, the layers as rows at day -10000 (the header, which holds the number of layers L) and
// day -10000 + b (layer b: subject the name, AllDay shown, and colour, archiving and days in
// rule columns, see RecurrenceColumns); events name their layer by that row's id.
#include "store/EventsStore.h"

#include "core/Settings.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"

#include <QFile>
#include <QHash>

bool EventsStore::convertOldDataFile(Settings &reg)
{
    const QString oldPath = m_dataDir + OldDataFileName;
    const QString eventsPath = m_dataDir + FileName;
    if (!QFile::exists(oldPath)) return false;

    const TableLoadResult loaded = CDS.load(oldPath);
    if (loaded.status != TableLoadResult::Loaded) {
        // Unreadable: the engine set it aside (or could not open it). Drop the empty file it
        // may have created in its place and go back to the events file.
        if (loaded.status != TableLoadResult::Failed) {
            CDS.close();
            QFile::remove(oldPath);
        }
        m_load = CDS.load(eventsPath);
        CDS.setActiveIndex("INDEX");
        CDS.first();
        return false;
    }
    CDS.setActiveIndex("INDEX");
    // From here on the rows are written to the events file; the old file is only renamed.
    if (!CDS.save(eventsPath).ok()) {
        m_load = CDS.load(eventsPath);
        CDS.setActiveIndex("INDEX");
        CDS.first();
        return false;
    }
    QFile::remove(m_dataDir + OldDataBackupName);
    QFile::rename(oldPath, m_dataDir + OldDataBackupName);

    m_layers.CDS.emptyTable();
    QHash<int, int> newLayerOf; // old layer row id -> new layer id
    if (CDS.locate(F_StartTime, double(OldLayerDay))) {
        const int layerCount = RecurrenceColumns::oldLayerCount(CDS);
        CDS.deleteRow();
        for (int b = 1; b <= layerCount && b <= 10000; ++b) {
            if (!CDS.locate(F_StartTime, double(OldLayerDay + b))) continue;
            const RecurrenceColumns::OldLayerValues layer = RecurrenceColumns::oldLayerValues(CDS);
            m_layers.insertLayer(b - 1, currentSubject(), currentIsAllDay(), layer.color,
                                 layer.archiving, layer.days);
            newLayerOf.insert(currentId(), m_layers.currentId());
            CDS.deleteRow();
        }
    }
    // One pass with the whole map: a new layer id that equals an old layer row's id must not
    // move the same events twice.
    std::vector<int> ids;
    for (CDS.first(); !CDS.isEmpty() && !CDS.eof(); CDS.next())
        if (newLayerOf.contains(currentLayer())) ids.push_back(currentId());
    for (int id : ids)
        if (CDS.locate(F_ID, id) && CDS.edit()) {
            CDS.setValue(F_Layer, newLayerOf.value(currentLayer()));
            CDS.post();
        }
    if (m_layers.count() == 0) m_layers.insertLayer(0, QStringLiteral("Layer1"), true, 1, 1, 30);
    m_layers.CDS.first();
    CDS.first();
    reg.setFirstTime(false);
    return true;
}
