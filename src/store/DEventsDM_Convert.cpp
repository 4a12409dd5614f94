// The one-time conversion of an older version's single data file: events and layers in one
// table, the layers as rows at day -10000 (the header, whose RadioButton1 is the number of
// layers L) and day -10000 + b (layer b: Subject the name, AllDay shown, RadioButton1 the
// colour, RadioButton2 archiving, RadioButton3 days); events name their layer by that row's ID.
#include "store/DEventsDM.h"

#include "core/DRegDM.h"
#include "store/DLayersDM.h"

#include <QFile>
#include <QHash>

bool TDEvents::convertOldDataFile(TDReg &reg)
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
    QHash<int, int> newLayerOf; // old layer row ID -> new layer ID
    if (CDS.locate(F_StartTime, double(OldLayerDay))) {
        const int layerCount = CDS.asInteger(F_RadioButton1);
        CDS.deleteRow();
        for (int b = 1; b <= layerCount && b <= 10000; ++b) {
            if (!CDS.locate(F_StartTime, double(OldLayerDay + b))) continue;
            m_layers.insertLayer(b - 1, Subject(), AllDay(), CDS.asInteger(F_RadioButton1),
                                 CDS.asInteger(F_RadioButton2), CDS.asInteger(F_RadioButton3));
            newLayerOf.insert(ID(), m_layers.ID());
            CDS.deleteRow();
        }
    }
    // One pass with the whole map: a new layer ID that equals an old layer row's ID must not
    // move the same events twice.
    std::vector<int> ids;
    for (CDS.first(); !CDS.isEmpty() && !CDS.eof(); CDS.next())
        if (newLayerOf.contains(Layer())) ids.push_back(ID());
    for (int id : ids)
        if (CDS.locate(F_ID, id) && CDS.edit()) {
            CDS.setValue(F_Layer, newLayerOf.value(Layer()));
            CDS.post();
        }
    if (m_layers.count() == 0) m_layers.insertLayer(0, QStringLiteral("Layer1"), true, 1, 1, 30);
    m_layers.CDS.first();
    CDS.first();
    reg.setFirstTime(false);
    return true;
}
