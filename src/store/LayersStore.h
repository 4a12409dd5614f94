#pragma once
// The layers store: named, coloured layers in "Layers.cds", walked in display order (`Row`).
// Positions are 1-based in `Row` order; the editors turn a list index i into position i + 1.
// Every read is by id or position and leaves the table's cursor alone.
#include "store/InsertResult.h"
#include "store/LayerRow.h"
#include "store/Table.h"
#include "store/TableWrites.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Fields of the layers table, in schema order.
enum class LayerField { Id, Row, Name, Shown, Color, Archiving, ArchiveDays, Updates };

class LayersStore
{
public:
    static constexpr const char *FileName = "Layers.cds";
    static TableSchema schema();

    // Loads `dataDir` + "Layers.cds" (dataDir ends with "/"); an empty or missing table gets
    // the default layer "Layer1". The clock (which must outlive the store) dates the names of
    // set-aside files.
    LayersStore(const QString &dataDir, const Clock &clock);
    // Saves the table into the data directory.
    ~LayersStore();
    LayersStore(const LayersStore &) = delete;
    LayersStore &operator=(const LayersStore &) = delete;

    const TableLoadResult &loadResult() const { return m_load; }
    const QString &dataDir() const { return m_dataDir; }

    // ---- reading ------------------------------------------------------------------------
    int count() const { return m_table.recordCount(); }
    // The layer with this id; nullopt when there is none.
    std::optional<LayerRow> layer(int id) const;
    // The layer at 1-based display position `n`; nullopt outside 1..count().
    std::optional<LayerRow> layerAt(int n) const;
    // Every layer in display order.
    std::vector<LayerRow> layers() const;
    // Id of the layer at display position `n`; -1 outside 1..count().
    int idAt(int n) const;
    // 1-based display position of the layer with this id; 0 when there is none.
    int positionOf(int id) const;
    bool exists(int id) const { return m_table.slotOfId(id) >= 0; }
    // Palette number of the layer's colour; 0 when there is no such layer.
    int layerColor(int id) const;
    // `id` when that layer exists, else the layer at position 1 (0 when there is none).
    int layerOrFirst(int id) const;

    // "Layer = 3 or Layer = 7" for the shown layers in display order, "Layer = -1" when no
    // layer is shown.
    QString shownLayersFilter() const;
    // The layer as a layer-file line: 'Name';True;1;1;30. Empty when there is no such layer.
    QString layerFileLine(int id) const;

    // ---- changes ------------------------------------------------------------------------
    // Inserts a layer; the table assigns its id.
    InsertResult insertLayer(int row, const QString &name, bool show, int color, int archiving,
                             int days);
    // Writes every field of `layer` to the layer with its id. applied false when there is no
    // such layer.
    TableResult updateLayer(const LayerRow &layer);
    TableResult setLayerShown(int id, bool shown);
    // applied false when there is no such layer.
    TableResult deleteLayer(int id);
    // Deletes every layer (the default layer comes back only at the next load).
    TableResult deleteAllLayers();
    // Called after every post of a layer (insert or update). Empty function: none.
    void setAfterPostHook(std::function<void()> hook) { m_afterPostHook = std::move(hook); }

    // ---- file ---------------------------------------------------------------------------
    // Saves to `dir` + "Layers.cds" (dir ends with "/").
    TableResult saveTo(const QString &dir);
    TableResult save() { return saveTo(m_dataDir); }
    // A consistent copy of the table file at `path` (see Table::backupTo).
    TableResult backupTo(const QString &path) { return m_table.backupTo(path); }
    // The table file's write state (see TableWrites).
    TableWrites writes() { return TableWrites(m_table); }
    // Bulk changes: see Table::beginBulk. endBulk() returns the one write's outcome.
    void beginBulk() { m_table.beginBulk(); }
    TableResult endBulk() { return m_table.inBulk() ? m_table.endBulk() : TableResult{}; }

private:
    LayerRow layerInSlot(int slot) const;
    // Makes the layer with this id current; false when there is none.
    bool locate(int id) { return m_table.locate(int(LayerField::Id), id); }

    Table m_table;
    QString m_dataDir;
    TableLoadResult m_load;
    std::function<void()> m_afterPostHook;
};
