// Converting a value for a field before it is stored must give exactly what storing it and
// reading it back gives, for every field type and the awkward inputs (nulls, text for numbers
// and flags, out-of-range and non-finite numbers, dates, over-long text).
#include "store/TableColumn.h"
#include "core/DateTimeValue.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

#include <limits>

namespace
{

QVariant storedAndRead(const FieldDef &def, const QVariant &v)
{
    TableColumn c(def);
    c.resize(1);
    c.set(0, v);
    return c.get(0);
}

} // namespace

TEST(TableColumn, NormalizedIsWhatStoringAndReadingBackGivesForEveryType)
{
    const QList<QVariant> inputs = {
        QVariant(),
        QVariant(QString()),
        QVariant(42),
        QVariant(-7.9),
        QVariant(1e12),
        QVariant(-1e12),
        QVariant(std::numeric_limits<double>::quiet_NaN()),
        QVariant(std::numeric_limits<double>::infinity()),
        QVariant(true),
        QVariant(false),
        QVariant(QStringLiteral("True")),
        QVariant(QStringLiteral("1")),
        QVariant(QStringLiteral("12.5")),
        QVariant(QStringLiteral("not a number")),
        QVariant(QStringLiteral("Grüße aus 東京, a rather long subject line")),
        QVariant(QByteArray("\x01\x02 bytes")),
        QVariant(QDate(2024, 2, 29)),
        QVariant(QDateTime(QDate(2024, 3, 5), QTime(9, 15))),
    };
    const QList<FieldDef> defs = {
        {"a", FieldType::AutoInc, 0},  {"i", FieldType::Integer, 0}, {"b", FieldType::Boolean, 0},
        {"d", FieldType::DateTime, 0}, {"t", FieldType::Text, 10},   {"m", FieldType::Memo, 0},
        {"x", FieldType::Blob, 0},
    };
    for (const FieldDef &def : defs) {
        const TableColumn column(def);
        for (const QVariant &v : inputs) {
            const QVariant expected = storedAndRead(def, v);
            const QVariant got = column.normalized(v);
            EXPECT_EQ(got.isNull(), expected.isNull())
                << def.name.toStdString() << " " << v.toString().toStdString();
            EXPECT_EQ(got.typeId(), expected.typeId()) << def.name.toStdString();
            if (def.type == FieldType::DateTime && !expected.isNull())
                EXPECT_DOUBLE_EQ(got.toDouble(), expected.toDouble());
            else
                EXPECT_EQ(got, expected)
                    << def.name.toStdString() << " " << v.toString().toStdString();
        }
    }

    EXPECT_EQ(TableColumn({"i", FieldType::Integer, 0}).normalized(1e12), QVariant(2147483647));
    EXPECT_EQ(TableColumn({"b", FieldType::Boolean, 0}).normalized(QStringLiteral("True")),
              QVariant(true));
    EXPECT_EQ(TableColumn({"t", FieldType::Text, 4}).normalized(QStringLiteral("abcdef")),
              QVariant(QStringLiteral("abcd")));
    EXPECT_EQ(TableColumn({"d", FieldType::DateTime, 0}).normalized(QDate(2024, 2, 29)),
              QVariant(DateTimeValue::encodeDate(2024, 2, 29)));
    EXPECT_TRUE(TableColumn({"m", FieldType::Memo, 0}).normalized(QVariant()).isNull());
}
