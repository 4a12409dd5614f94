#include "store/TableSchema.h"

#include <QSet>

int TableSchema::fieldIndex(QStringView name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (name.compare(fields[i].name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TableSchema::indexIndex(QStringView name) const
{
    for (int i = 0; i < indexes.size(); ++i)
        if (name.compare(indexes[i].name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TableSchema::autoIncField() const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].type == FieldType::AutoInc) return i;
    return -1;
}

bool TableSchema::isValid(QString *why) const
{
    auto fail = [why](const QString &text) {
        if (why) *why = text;
        return false;
    };
    QSet<QString> names;
    int autoIncs = 0;
    for (const FieldDef &f : fields) {
        if (f.name.isEmpty()) return fail(QStringLiteral("a field has no name"));
        if (names.contains(f.name.toLower()))
            return fail(QStringLiteral("field %1 appears twice").arg(f.name));
        names.insert(f.name.toLower());
        if (f.type == FieldType::AutoInc) ++autoIncs;
        if (f.type == FieldType::Text && f.size <= 0)
            return fail(QStringLiteral("text field %1 has no size").arg(f.name));
    }
    if (autoIncs > 1) return fail(QStringLiteral("more than one auto-increment field"));
    QSet<QString> indexNames;
    for (const IndexDef &ix : indexes) {
        if (ix.name.isEmpty() || indexNames.contains(ix.name.toLower()))
            return fail(QStringLiteral("index name empty or repeated: %1").arg(ix.name));
        indexNames.insert(ix.name.toLower());
        if (ix.fields.isEmpty()) return fail(QStringLiteral("index %1 has no field").arg(ix.name));
        for (const IndexField &f : ix.fields)
            if (fieldIndex(f.field) < 0)
                return fail(
                    QStringLiteral("index %1 names unknown field %2").arg(ix.name, f.field));
    }
    return true;
}

bool TableSchema::sameFields(const TableSchema &other) const
{
    if (fields.size() != other.fields.size()) return false;
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].type != other.fields[i].type ||
            fields[i].name.compare(other.fields[i].name, Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

namespace
{
struct TypeName {
    FieldType type;
    const char *name;
};
constexpr TypeName typeNames[] = {
    {FieldType::AutoInc, "autoinc"}, {FieldType::Integer, "integer"},
    {FieldType::Boolean, "boolean"}, {FieldType::DateTime, "datetime"},
    {FieldType::Text, "text"},       {FieldType::Memo, "memo"},
    {FieldType::Blob, "blob"}};
} // namespace

QString fieldTypeName(FieldType t)
{
    for (const TypeName &n : typeNames)
        if (n.type == t) return QString::fromLatin1(n.name);
    return {};
}

bool fieldTypeFromName(const QString &name, FieldType *out)
{
    for (const TypeName &n : typeNames)
        if (name == QLatin1String(n.name)) {
            *out = n.type;
            return true;
        }
    return false;
}
