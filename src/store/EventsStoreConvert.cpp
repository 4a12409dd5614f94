// The one-time conversion of an older version's single data file: events and layers in one
// table, the layers as rows at day -10000 (the header, whose RadioButton1 is the number of
// layers L) and day -10000 + b (layer b: subject the name, AllDay shown, RadioButton1 the
// colour, RadioButton2 archiving, RadioButton3 days); events name their layer by that row's id.
#include "store/EventsStore.h"

#include "core/Settings.h"
#include "store/LayersStore.h"

#include <QFile>
#include <QHash>

bool EventsStore::convertOldDataFile(Settings &reg)
{
    const QString oldPath = m_dataDir + OldDataFileName;
    const QString eventsPath = m_dataDir + FileName;
    if (!QFile::exists(oldPath)) return false;

    const auto backToEventsFile = [&] {
        m_load = m_table.load(eventsPath);
        (void)m_table.setActiveIndex("INDEX"); // in the schema: cannot fail
        m_table.first();
    };
    const TableLoadResult loaded = m_table.load(oldPath);
    if (loaded.status != TableLoadResult::Loaded) {
        // Unreadable: the engine set it aside (or could not open it). Drop the empty file it
        // may have created in its place and go back to the events file.
        if (loaded.status != TableLoadResult::Failed) {
            // Nothing was written to that empty file; only its removal matters.
            (void)m_table.close();
            QFile::remove(oldPath);
        }
        backToEventsFile();
        return false;
    }
    (void)m_table.setActiveIndex("INDEX"); // in the schema: cannot fail
    // From here on the rows are written to the events file; the old file is only renamed.
    if (!m_table.save(eventsPath).ok()) {
        backToEventsFile();
        return false;
    }
    QFile::remove(m_dataDir + OldDataBackupName);
    QFile::rename(oldPath, m_dataDir + OldDataBackupName);

    // The changes below are written to the events and layers files as they are made; a write
    // that fails stays in memory and is retried by each table's next write or save, which
    // report it.
    (void)m_layers.deleteAllLayers();
    QHash<int, int> newLayerOf; // old layer row id -> new layer id
    const auto field = [this](EventField f) { return m_table.asInteger(int(f)); };
    if (m_table.locate(int(EventField::StartTime), double(OldLayerDay))) {
        const int layerCount = field(EventField::RadioButton1);
        (void)m_table.deleteRow();
        for (int b = 1; b <= layerCount && b <= 10000; ++b) {
            if (!m_table.locate(int(EventField::StartTime), double(OldLayerDay + b))) continue;
            const InsertResult layer = m_layers.insertLayer(
                b - 1, m_table.asString(int(EventField::Subject)),
                m_table.asBoolean(int(EventField::AllDay)), field(EventField::RadioButton1),
                field(EventField::RadioButton2), field(EventField::RadioButton3));
            if (layer.applied()) newLayerOf.insert(field(EventField::Id), layer.id);
            (void)m_table.deleteRow();
        }
    }
    // One pass with the whole map: a new layer id that equals an old layer row's id must not
    // move the same events twice.
    std::vector<std::pair<int, int>> moves; // event id, new layer id
    forEachEvent([&](const EventRow &row) {
        if (newLayerOf.contains(row.layer()))
            moves.push_back({row.id(), newLayerOf.value(row.layer())});
    });
    for (const auto &[id, layer] : moves)
        (void)writeFields(id, {{EventField::Layer, layer}});
    if (m_layers.count() == 0)
        (void)m_layers.insertLayer(0, QStringLiteral("Layer1"), true, 1, 1, 30);
    m_table.first();
    reg.setFirstTime(false);
    return true;
}
