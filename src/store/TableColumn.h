#pragma once
// Storage of one field for every row slot of a table. Only the vector that fits the type is
// used; `nulls` has one entry per slot (1 = null). A null slot keeps a zero/empty value, so
// readers that ignore `nulls` see 0, false, 0.0 or empty.
#include "store/TableSchema.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

struct TableColumn {
    FieldType type = FieldType::Integer;
    int size = 0;                  // Text only
    std::vector<qint32> ints;      // AutoInc, Integer, Boolean (0/1)
    std::vector<double> reals;     // DateTime
    std::vector<QString> texts;    // Text, Memo
    std::vector<QByteArray> bytes; // Blob
    std::vector<std::uint8_t> nulls;

    explicit TableColumn(const FieldDef &f = {}) : type(f.type), size(f.size) {}

    void resize(std::size_t n);
    void reserve(std::size_t n);
    bool isNull(int slot) const { return nulls[slot] != 0; }
    void setNull(int slot);
    // A null QVariant stores null; other values are converted to the field's type (text cut to
    // `size` characters, a QDate/QDateTime becomes a SerialDateTime, bytes for Blob come from a
    // QByteArray as is or from text as UTF-8).
    void set(int slot, const QVariant &v);
    // The stored value as QVariant of the field's natural type (int, bool, double, QString,
    // QByteArray); a null QVariant for null.
    QVariant get(int slot) const;
    // Converts `v` as set() would and returns it as get() would return it.
    QVariant normalized(const QVariant &v) const;
};
