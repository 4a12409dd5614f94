#include "store/LayersStore.h"

#include "core/FileText.h"

namespace
{
constexpr int field(LayerField f)
{
    return int(f);
}
} // namespace

TableSchema LayersStore::schema()
{
    TableSchema s;
    s.fields = {{"ID", FieldType::AutoInc},     {"Row", FieldType::Integer},
                {"Name", FieldType::Text, 256}, {"Show", FieldType::Boolean},
                {"Color", FieldType::Integer},  {"Archiving", FieldType::Integer},
                {"Days", FieldType::Integer},   {"Updates", FieldType::Blob}};
    s.indexes = {{"ROW", {{"Row"}}}};
    return s;
}

LayersStore::LayersStore(const QString &dataDir, const Clock &clock)
    : m_table(schema()), m_dataDir(dataDir)
{
    m_table.setClock(&clock);
    m_table.setAfterPost([this](Table &) {
        if (m_afterPostHook) m_afterPostHook();
    });
    // "ROW" is in the schema, so neither call can fail.
    (void)m_table.setActiveIndex("ROW");
    m_load = m_table.load(m_dataDir + FileName);
    (void)m_table.setActiveIndex("ROW");
    if (m_table.isEmpty()) {
        // A failed write stays in memory and is retried by the next write or save; the load
        // result already tells the window about a table file that cannot be written.
        (void)insertLayer(0, QStringLiteral("Layer1"), true, 1, 1, 30);
    }
    m_table.first();
}

LayersStore::~LayersStore()
{
    m_afterPostHook = nullptr;
    // Nothing is left to tell at destruction; the window saves (and reports) before it.
    (void)save();
}

LayerRow LayersStore::layerInSlot(int slot) const
{
    LayerRow l;
    l.id = m_table.column(field(LayerField::Id)).ints[slot];
    l.row = m_table.column(field(LayerField::Row)).ints[slot];
    l.name = m_table.column(field(LayerField::Name)).texts[slot];
    l.shown = m_table.column(field(LayerField::Shown)).ints[slot] != 0;
    l.color = m_table.column(field(LayerField::Color)).ints[slot];
    l.archiving = m_table.column(field(LayerField::Archiving)).ints[slot];
    l.archiveDays = m_table.column(field(LayerField::ArchiveDays)).ints[slot];
    return l;
}

std::optional<LayerRow> LayersStore::layer(int id) const
{
    const int slot = m_table.slotOfId(id);
    if (slot < 0) return std::nullopt;
    return layerInSlot(slot);
}

std::optional<LayerRow> LayersStore::layerAt(int n) const
{
    const int slot = m_table.slotAt(n);
    if (slot < 0) return std::nullopt;
    return layerInSlot(slot);
}

std::vector<LayerRow> LayersStore::layers() const
{
    std::vector<LayerRow> out;
    out.reserve(std::size_t(count()));
    for (int n = 1; n <= count(); ++n)
        out.push_back(layerInSlot(m_table.slotAt(n)));
    return out;
}

int LayersStore::idAt(int n) const
{
    const int slot = m_table.slotAt(n);
    return slot < 0 ? -1 : m_table.column(field(LayerField::Id)).ints[slot];
}

int LayersStore::positionOf(int id) const
{
    const int slot = m_table.slotOfId(id);
    if (slot < 0) return 0;
    for (int n = 1; n <= count(); ++n)
        if (m_table.slotAt(n) == slot) return n;
    return 0;
}

int LayersStore::layerColor(int id) const
{
    const int slot = m_table.slotOfId(id);
    return slot < 0 ? 0 : m_table.column(field(LayerField::Color)).ints[slot];
}

int LayersStore::layerOrFirst(int id) const
{
    if (exists(id)) return id;
    const int first = idAt(1);
    return first < 0 ? 0 : first;
}

QString LayersStore::shownLayersFilter() const
{
    QStringList terms;
    for (const LayerRow &l : layers())
        if (l.shown) terms << QStringLiteral("Layer = %1").arg(l.id);
    if (terms.isEmpty()) return QStringLiteral("Layer = -1");
    return terms.join(QStringLiteral(" or "));
}

QString LayersStore::layerFileLine(int id) const
{
    const auto l = layer(id);
    if (!l) return {};
    return QStringLiteral("%1;%2;%3;%4;%5")
        .arg(FileText::quoteFileText(l->name),
             l->shown ? QStringLiteral("True") : QStringLiteral("False"))
        .arg(l->color)
        .arg(l->archiving)
        .arg(l->archiveDays);
}

InsertResult LayersStore::insertLayer(int row, const QString &name, bool show, int color,
                                      int archiving, int days)
{
    InsertResult r;
    r.table = m_table.insertRow({QVariant(), row, name, show, color, archiving, days, QVariant()});
    if (r.table.applied) r.id = m_table.asInteger(field(LayerField::Id));
    return r;
}

TableResult LayersStore::updateLayer(const LayerRow &layer)
{
    if (!locate(layer.id) || !m_table.edit())
        return {false, false, QStringLiteral("The layer does not exist.")};
    const std::pair<LayerField, QVariant> values[] = {{LayerField::Row, layer.row},
                                                      {LayerField::Name, layer.name},
                                                      {LayerField::Shown, layer.shown},
                                                      {LayerField::Color, layer.color},
                                                      {LayerField::Archiving, layer.archiving},
                                                      {LayerField::ArchiveDays, layer.archiveDays}};
    for (const auto &[f, v] : values)
        (void)m_table.setValue(field(f), v); // fields of the schema, never the id: cannot fail
    return m_table.post();
}

TableResult LayersStore::setLayerShown(int id, bool shown)
{
    auto l = layer(id);
    if (!l) return {false, false, QStringLiteral("The layer does not exist.")};
    l->shown = shown;
    return updateLayer(*l);
}

TableResult LayersStore::deleteLayer(int id)
{
    if (!locate(id)) return {false, false, QStringLiteral("The layer does not exist.")};
    return m_table.deleteRow();
}

TableResult LayersStore::deleteAllLayers()
{
    return m_table.emptyTable();
}

TableResult LayersStore::saveTo(const QString &dir)
{
    return m_table.save(dir + FileName);
}
