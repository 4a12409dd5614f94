#pragma once
// The shape of a table: its typed fields in order and its named indexes. Field and index
// names match without regard to case, as the stores spell them in different ways.
#include <QList>
#include <QString>
#include <QStringView>

enum class FieldType {
    AutoInc, // 32-bit, read-only, assigned on insert, never reused
    Integer, // 32-bit signed
    Boolean,
    DateTime, // SerialDateTime (double)
    Text,     // at most FieldDef::size characters; longer values are cut
    Memo,     // unbounded text
    Blob      // unbounded bytes
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Integer;
    int size = 0; // characters, Text only
};

struct IndexField {
    QString field;
    bool descending = false;
};

struct IndexDef {
    QString name;
    QList<IndexField> fields;
};

struct TableSchema {
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    // Position of the field, or -1.
    int fieldIndex(QStringView name) const;
    // Position in `indexes`, or -1.
    int indexIndex(QStringView name) const;
    // Position of the auto-increment field, or -1.
    int autoIncField() const;
    // Field names unique and non-empty, at most one auto-increment field, every Text size
    // positive, every index non-empty, named uniquely and over existing fields. `why` gets the
    // first fault.
    bool isValid(QString *why = nullptr) const;
    // Same field names and types in the same order (sizes and indexes may differ).
    bool sameFields(const TableSchema &other) const;
};

// Stable names of the types as the table file stores them ("autoinc", "integer", "boolean",
// "datetime", "text", "memo", "blob"). fieldTypeFromName returns false for any other text.
QString fieldTypeName(FieldType t);
bool fieldTypeFromName(const QString &name, FieldType *out);
