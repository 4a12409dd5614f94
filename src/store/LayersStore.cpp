#include "store/LayersStore.h"

#include "core/FileText.h"

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

LayersStore::LayersStore(const QString &dataDir, const Clock *clock) : CDS(schema()), m_dataDir(dataDir)
{
    CDS.setClock(clock);
    CDS.setActiveIndex("ROW");
    m_load = CDS.load(m_dataDir + FileName);
    CDS.setActiveIndex("ROW");
    if (CDS.isEmpty())
        insertDefaultLayer();
    CDS.first();
}

LayersStore::~LayersStore()
{
    CDS.mergeChangeLog();
    save();
}

void LayersStore::insertDefaultLayer() { insertLayer(0, QStringLiteral("Layer1"), true, 1, 1, 30); }

TableResult LayersStore::insertLayer(int row, const QString &name, bool show, int color,
                                  int archiving, int days)
{
    return CDS.insertRow({QVariant(), row, name, show, color, archiving, days, QVariant()});
}

bool LayersStore::exists(int id)
{
    const Table::Bookmark here = CDS.bookmark();
    const bool found = CDS.locate(F_ID, id);
    CDS.gotoBookmark(here);
    return found;
}

QString LayersStore::shownLayersFilter()
{
    const Table::Bookmark here = CDS.bookmark();
    QStringList terms;
    for (CDS.first(); !CDS.eof() && !CDS.isEmpty(); CDS.next()) {
        if (currentIsShown())
            terms << QStringLiteral("Layer = %1").arg(currentId());
    }
    CDS.gotoBookmark(here);
    if (terms.isEmpty())
        return QStringLiteral("Layer = -1");
    return terms.join(QStringLiteral(" or "));
}

QString LayersStore::layerFileLine() const
{
    return QStringLiteral("%1;%2;%3;%4;%5")
        .arg(FileText::quoteFileText(currentName()), currentIsShown() ? QStringLiteral("True") : QStringLiteral("False"))
        .arg(currentColor())
        .arg(currentArchiving())
        .arg(currentArchiveDays());
}

TableResult LayersStore::saveTo(const QString &dir)
{
    CDS.mergeChangeLog();
    return CDS.save(dir + FileName);
}
