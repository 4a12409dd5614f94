#pragma once
// One row of the events table: every field's value, addressed by EventField (a null QVariant
// for null). The typed readers give 0, false or empty for null.
#include "core/DateTimeValue.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>

// Fields of the events table, in schema order (the rule columns keep their column names).
enum class EventField {
    Id,
    Layer,
    StartTime,
    EndTime,
    AllDay,
    AlarmSet,
    AlarmAdvance,
    AlarmAdvanceUnit,
    Subject,
    Description,
    Recurring,
    RadioButton1,
    RadioButton2,
    RadioButton3,
    Edit1,
    Edit2,
    Edit3,
    ComboBox1,
    ComboBox2,
    ComboBox3,
    ComboBox4,
    Weekdays,
    ExceptionList,
    Updates
};

class EventRow
{
public:
    static constexpr int FieldCount = int(EventField::Updates) + 1;

    // Every field null.
    EventRow() : m_values(FieldCount) {}
    // Values in field order; missing values are null, extra ones are dropped.
    explicit EventRow(QVariantList values) : m_values(std::move(values))
    {
        m_values.resize(FieldCount);
    }

    QVariant &operator[](EventField f) { return m_values[int(f)]; }
    const QVariant &operator[](EventField f) const { return m_values[int(f)]; }
    // Values in field order (the table's and the record lines' form).
    const QVariantList &values() const { return m_values; }

    int id() const { return (*this)[EventField::Id].toInt(); }
    int layer() const { return (*this)[EventField::Layer].toInt(); }
    SerialDateTime startTime() const { return (*this)[EventField::StartTime].toDouble(); }
    SerialDateTime endTime() const { return (*this)[EventField::EndTime].toDouble(); }
    bool isAllDay() const { return (*this)[EventField::AllDay].toBool(); }
    bool alarmSet() const { return (*this)[EventField::AlarmSet].toBool(); }
    QString subject() const { return (*this)[EventField::Subject].toString(); }
    QString description() const { return (*this)[EventField::Description].toString(); }
    bool isRecurring() const { return (*this)[EventField::Recurring].toBool(); }
    QByteArray bytes(EventField f) const { return (*this)[f].toByteArray(); }

    bool operator==(const EventRow &) const = default;

private:
    QVariantList m_values;
};
