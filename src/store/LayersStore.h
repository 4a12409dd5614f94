#pragma once
// The layers store: named, coloured layers in "Layers.cds", walked in display order (`Row`).
// Positions are 1-based in `Row` order; the editors turn a list index i into position i + 1.
#include "store/Table.h"

#include <QString>

class LayersStore {
public:
    enum FieldNo { F_ID, F_Row, F_Name, F_Show, F_Color, F_Archiving, F_Days, F_Updates };
    static constexpr const char *FileName = "Layers.cds";
    static TableSchema schema();

    // Loads `dataDir` + "Layers.cds" (dataDir ends with "/"); an empty or missing table gets
    // the default layer "Layer1".
    explicit LayersStore(const QString &dataDir, const Clock *clock = nullptr);
    // Saves the table into the data directory.
    ~LayersStore();

    Table CDS;

    const TableLoadResult &loadResult() const { return m_load; }
    const QString &dataDir() const { return m_dataDir; }

    // Values of the current layer.
    int currentId() const { return CDS.asInteger(F_ID); }
    int currentRow() const { return CDS.asInteger(F_Row); }
    QString currentName() const { return CDS.asString(F_Name); }
    bool currentIsShown() const { return CDS.asBoolean(F_Show); }
    int currentColor() const { return CDS.asInteger(F_Color); }
    int currentArchiving() const { return CDS.asInteger(F_Archiving); }
    int currentArchiveDays() const { return CDS.asInteger(F_Days); }

    // Makes the n-th layer (from 1) current; false, cursor unchanged, outside 1..count().
    bool gotoPosition(int n) { return CDS.setRecNo(n); }
    int position() const { return CDS.recNo(); }
    int count() const { return CDS.recordCount(); }
    bool locateID(int id) { return CDS.locate(F_ID, id); }
    // Whether a layer with this id exists; the current row does not move.
    bool exists(int id);

    // Inserts a layer (id assigned by the table); it becomes current.
    TableResult insertLayer(int row, const QString &name, bool show, int color, int archiving,
                            int days);

    // "Layer = 3 or Layer = 7" for the shown layers in display order, "Layer = -1" when no
    // layer is shown. The current row does not move.
    QString shownLayersFilter();
    // The current layer as a layer-file line: 'Name';True;1;1;30
    QString layerFileLine() const;

    // Saves to `dir` + "Layers.cds" (dir ends with "/").
    TableResult saveTo(const QString &dir);
    TableResult save() { return saveTo(m_dataDir); }

private:
    void insertDefaultLayer();

    QString m_dataDir;
    TableLoadResult m_load;
};
