#include "store/TableColumn.h"

#include "core/DateTimeValue.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

namespace
{

qint32 toInt32(const QVariant &v)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return v.typeId() == QMetaType::Bool && v.toBool() ? 1 : 0;
    if (d >= 2147483647.0) return 2147483647;
    if (d <= -2147483648.0) return -2147483647 - 1;
    return static_cast<qint32>(d);
}

double toReal(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime) return DateTimeValue::fromQDateTime(v.toDateTime());
    if (v.typeId() == QMetaType::QDate) return DateTimeValue::fromQDate(v.toDate());
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

bool toBool(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString)
        return v.toString() == QLatin1String("True") || v.toString() == QLatin1String("1");
    return v.toBool();
}

} // namespace

void TableColumn::resize(std::size_t n)
{
    nulls.resize(n, 1);
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::Boolean:
        ints.resize(n, 0);
        break;
    case FieldType::DateTime:
        reals.resize(n, 0.0);
        break;
    case FieldType::Text:
    case FieldType::Memo:
        texts.resize(n);
        break;
    case FieldType::Blob:
        bytes.resize(n);
        break;
    }
}

void TableColumn::reserve(std::size_t n)
{
    nulls.reserve(n);
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::Boolean:
        ints.reserve(n);
        break;
    case FieldType::DateTime:
        reals.reserve(n);
        break;
    case FieldType::Text:
    case FieldType::Memo:
        texts.reserve(n);
        break;
    case FieldType::Blob:
        bytes.reserve(n);
        break;
    }
}

void TableColumn::setNull(int slot)
{
    nulls[slot] = 1;
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::Boolean:
        ints[slot] = 0;
        break;
    case FieldType::DateTime:
        reals[slot] = 0.0;
        break;
    case FieldType::Text:
    case FieldType::Memo:
        texts[slot].clear();
        break;
    case FieldType::Blob:
        bytes[slot].clear();
        break;
    }
}

void TableColumn::set(int slot, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        setNull(slot);
        return;
    }
    nulls[slot] = 0;
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        ints[slot] = toInt32(v);
        break;
    case FieldType::Boolean:
        ints[slot] = toBool(v) ? 1 : 0;
        break;
    case FieldType::DateTime:
        reals[slot] = toReal(v);
        break;
    case FieldType::Text:
        texts[slot] = v.toString().left(size);
        break;
    case FieldType::Memo:
        texts[slot] = v.toString();
        break;
    case FieldType::Blob:
        bytes[slot] = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
        break;
    }
}

QVariant TableColumn::get(int slot) const
{
    if (nulls[slot]) return {};
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QVariant(int(ints[slot]));
    case FieldType::Boolean:
        return QVariant(ints[slot] != 0);
    case FieldType::DateTime:
        return QVariant(reals[slot]);
    case FieldType::Text:
    case FieldType::Memo:
        return QVariant(texts[slot]);
    case FieldType::Blob:
        return QVariant(bytes[slot]);
    }
    return {};
}

QVariant TableColumn::normalized(const QVariant &v) const
{
    if (!v.isValid() || v.isNull()) return {};
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QVariant(int(toInt32(v)));
    case FieldType::Boolean:
        return QVariant(toBool(v));
    case FieldType::DateTime:
        return QVariant(toReal(v));
    case FieldType::Text:
        return QVariant(v.toString().left(size));
    case FieldType::Memo:
        return QVariant(v.toString());
    case FieldType::Blob:
        return QVariant(v.typeId() == QMetaType::QByteArray ? v.toByteArray()
                                                            : v.toString().toUtf8());
    }
    return {};
}
