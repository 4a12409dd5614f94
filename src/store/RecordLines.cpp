#include "store/RecordLines.h"

#include "core/FileText.h"
#include "store/EventsStore.h"
#include "store/RecurrenceColumns.h"

#include <QStringList>

#include <climits>

namespace RecordLines
{
namespace
{

using E = EventsStore;

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
    v << QString::number(layerValue) << dateTimeText(at(E::F_StartTime))
      << dateTimeText(at(E::F_EndTime)) << boolText(at(E::F_AllDay)) << boolText(at(E::F_AlarmSet))
      << intText(at(E::F_AlarmAdvTime)) << intText(at(E::F_AlarmAdvUnit))
      << FileText::quoteFileText(at(E::F_Subject).toString())
      << FileText::quoteFileText(at(E::F_Description).toString()) << boolText(at(E::F_Recurrent));
    for (int f : RecurrenceColumns::IntegerFields)
        v << intText(at(f));
    v << rawText(at(RecurrenceColumns::WeekdaysField)) << rawText(at(E::F_ExceptionList))
      << rawText(at(E::F_Updates));
    return v.join(u';');
}

std::optional<QVariantList> parseEventLine(QStringView line)
{
    QVariantList row;
    for (int f = 0; f <= E::F_Updates; ++f)
        row << QVariant();
    Values r(line);
    const auto layer = r.integer();
    row[E::F_StartTime] = r.nullableDateTime();
    row[E::F_EndTime] = r.nullableDateTime();
    row[E::F_AllDay] = r.boolean();
    row[E::F_AlarmSet] = r.boolean();
    row[E::F_AlarmAdvTime] = r.nullableInt();
    row[E::F_AlarmAdvUnit] = r.nullableInt();
    row[E::F_Subject] = r.quoted();
    row[E::F_Description] = r.quoted();
    const bool recurrent = r.boolean();
    row[E::F_Recurrent] = recurrent;
    for (int f : RecurrenceColumns::IntegerFields)
        row[f] = r.nullableInt();
    const QString weekdays = r.plain();
    const QString exceptions = r.plain();
    r.plain(); // Updates: never read back
    if (!layer || !r.complete()) return std::nullopt;
    row[E::F_Layer] = *layer;
    if (recurrent) {
        row[RecurrenceColumns::WeekdaysField] =
            weekdays.isEmpty() ? QVariant() : QVariant(weekdays);
        row[E::F_ExceptionList] = exceptions.isEmpty() ? QVariant() : QVariant(exceptions.toUtf8());
    } else {
        for (int f : RecurrenceColumns::IntegerFields)
            row[f] = QVariant();
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
