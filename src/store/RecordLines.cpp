#include "store/RecordLines.h"

#include "core/FileText.h"
#include "store/EventRow.h"
#include "store/RecurrenceColumns.h"

#include <QStringList>

#include <climits>

namespace RecordLines
{
namespace
{

// Position of a field in a row's values.
constexpr int fieldAt(EventField f)
{
    return int(f);
}

QString boolText(const QVariant &v)
{
    return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
}

QString intText(const QVariant &v)
{
    return v.isNull() ? QString() : QString::number(v.toInt());
}

QString dateTimeText(const QVariant &v)
{
    return v.isNull() ? QString() : FileText::fileDateTimeText(v.toDouble());
}

QString rawText(const QVariant &v)
{
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QByteArray)
        return rawValueText(QString::fromUtf8(v.toByteArray()));
    return rawValueText(v.toString());
}

// Reads the values of a line one by one; any failure makes the whole line fail.
class Values
{
public:
    explicit Values(QStringView line) : m_r(line) {}

    // An integer, or null for empty text.
    QVariant nullableInt()
    {
        const auto t = m_r.plain();
        if (!t) return fail();
        if (t->isEmpty()) return QVariant();
        bool ok = false;
        const int n = t->toInt(&ok);
        if (!ok) return fail();
        return n;
    }
    std::optional<int> integer()
    {
        const auto n = m_r.integer();
        if (!n) m_ok = false;
        return n;
    }
    QVariant nullableDateTime()
    {
        const auto t = m_r.plain();
        if (!t) return fail();
        if (t->isEmpty()) return QVariant();
        const auto v = FileText::parseFileDateTimeText(*t);
        if (!v) return fail();
        return *v;
    }
    bool boolean()
    {
        const auto b = m_r.boolean();
        if (!b) m_ok = false;
        return b.value_or(false);
    }
    QString quoted()
    {
        const auto t = m_r.quoted();
        if (!t) m_ok = false;
        return t.value_or(QString());
    }
    QString plain()
    {
        const auto t = m_r.plain();
        if (!t) m_ok = false;
        return t.value_or(QString());
    }
    // True when every value was read and the line ended with the last one.
    bool complete() const { return m_ok && m_r.ok() && m_r.atEnd(); }

private:
    QVariant fail()
    {
        m_ok = false;
        return QVariant();
    }
    FileText::FileLineReader m_r;
    bool m_ok = true;
};

} // namespace

QString rawValueText(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    for (const QChar c : raw)
        if (c != u';' && c != u'\r' && c != u'\n') out += c;
    return out;
}

QString eventLine(const QVariantList &row, int layerValue)
{
    const auto at = [&row](int f) { return f < row.size() ? row[f] : QVariant(); };
    QStringList v;
    v.reserve(EventValueCount);
    v << QString::number(layerValue) << dateTimeText(at(fieldAt(EventField::StartTime)))
      << dateTimeText(at(fieldAt(EventField::EndTime))) << boolText(at(fieldAt(EventField::AllDay)))
      << boolText(at(fieldAt(EventField::AlarmSet)))
      << intText(at(fieldAt(EventField::AlarmAdvance)))
      << intText(at(fieldAt(EventField::AlarmAdvanceUnit)))
      << FileText::quoteFileText(at(fieldAt(EventField::Subject)).toString())
      << FileText::quoteFileText(at(fieldAt(EventField::Description)).toString())
      << boolText(at(fieldAt(EventField::Recurring)));
    for (EventField f : RecurrenceColumns::IntegerFields)
        v << intText(at(fieldAt(f)));
    v << rawText(at(fieldAt(RecurrenceColumns::WeekdaysField)))
      << rawText(at(fieldAt(EventField::ExceptionList)))
      << rawText(at(fieldAt(EventField::Updates)));
    return v.join(u';');
}

std::optional<QVariantList> parseEventLine(QStringView line)
{
    QVariantList row;
    for (int f = 0; f <= fieldAt(EventField::Updates); ++f)
        row << QVariant();
    Values r(line);
    const auto layer = r.integer();
    row[fieldAt(EventField::StartTime)] = r.nullableDateTime();
    row[fieldAt(EventField::EndTime)] = r.nullableDateTime();
    row[fieldAt(EventField::AllDay)] = r.boolean();
    row[fieldAt(EventField::AlarmSet)] = r.boolean();
    row[fieldAt(EventField::AlarmAdvance)] = r.nullableInt();
    row[fieldAt(EventField::AlarmAdvanceUnit)] = r.nullableInt();
    row[fieldAt(EventField::Subject)] = r.quoted();
    row[fieldAt(EventField::Description)] = r.quoted();
    const bool recurrent = r.boolean();
    row[fieldAt(EventField::Recurring)] = recurrent;
    for (EventField f : RecurrenceColumns::IntegerFields)
        row[fieldAt(f)] = r.nullableInt();
    const QString weekdays = r.plain();
    const QString exceptions = r.plain();
    r.plain(); // Updates: never read back
    if (!layer || !r.complete()) return std::nullopt;
    row[fieldAt(EventField::Layer)] = *layer;
    if (recurrent) {
        row[fieldAt(RecurrenceColumns::WeekdaysField)] =
            weekdays.isEmpty() ? QVariant() : QVariant(weekdays);
        row[fieldAt(EventField::ExceptionList)] =
            exceptions.isEmpty() ? QVariant() : QVariant(exceptions.toUtf8());
    } else {
        for (EventField f : RecurrenceColumns::IntegerFields)
            row[fieldAt(f)] = QVariant();
    }
    return row;
}

std::optional<TaskLine> parseTaskLine(QStringView line)
{
    TaskLine t;
    Values r(line);
    const auto id = r.integer();
    const auto parent = r.integer();
    const auto level = r.integer();
    t.children = r.boolean();
    t.open = r.boolean();
    const auto layer = r.integer();
    t.alarmSet = r.boolean();
    const QVariant alarm = r.nullableDateTime();
    t.subject = r.quoted();
    t.description = r.quoted();
    const QVariant priority = r.nullableInt();
    t.finished = r.boolean();
    r.plain(); // Updates
    if (!id || !parent || !level || !layer || !r.complete()) return std::nullopt;
    if (*id >= 0 || *parent >= 0 || *id == INT_MIN || *parent == INT_MIN) return std::nullopt;
    t.fileId = *id;
    t.fileParentId = *parent;
    t.level = *level;
    t.layer = *layer;
    if (!alarm.isNull()) t.alarmTime = alarm.toDouble();
    if (!priority.isNull()) t.priority = priority.toInt();
    return t;
}

} // namespace RecordLines
