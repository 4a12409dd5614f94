#include "store/RecurrenceColumns.h"

#include "store/ExceptionList.h"
#include "store/Table.h"

using Recurrence::DayKind;
using Recurrence::EndRule;
using Recurrence::Ordinal;
using Recurrence::Pattern;
using Recurrence::Variant;

namespace
{

// The ten rule integers of a row, by column.
struct RuleIntegers {
    int radioButton1 = 0, radioButton2 = 0, radioButton3 = 0;
    int edit1 = 0, edit2 = 0, edit3 = 0;
    int comboBox1 = 0, comboBox2 = 0, comboBox3 = 0, comboBox4 = 0;
};

// A stored month (0 January ... 11 December) as a month 1..12; 0 when out of range.
int monthOfColumn(int value)
{
    return value >= 0 && value <= 11 ? value + 1 : 0;
}
int columnOfMonth(int month)
{
    return month >= 1 && month <= 12 ? month - 1 : -1;
}

RecurrenceRule ruleOf(const RuleIntegers &c, const QString &weekdays)
{
    RecurrenceRule r;
    r.pattern = Pattern(c.radioButton1);
    r.endRule = EndRule(c.radioButton3);
    r.occurrenceCount = c.edit3;
    r.extraDays = c.comboBox1;
    r.weekdays = WeekdaySet::fromText(weekdays).value_or(WeekdaySet{});
    const int form = c.radioButton2;
    switch (r.pattern) {
    case Pattern::Daily:
        r.variant = form == 1   ? Variant::EveryNDays
                    : form == 2 ? Variant::EveryWorkday
                                : Variant::Unknown;
        r.interval = c.edit1;
        return r;
    case Pattern::Weekly:
        r.variant = Variant::EveryNWeeks;
        r.interval = c.edit1;
        return r;
    case Pattern::Monthly:
        if (form == 1) {
            r.variant = Variant::DayOfMonth;
            r.dayOfMonth = c.edit1;
            r.interval = c.edit2;
        } else if (form == 2) {
            r.variant = Variant::NthKindOfDay;
            r.interval = c.edit1;
            r.ordinal = Ordinal(c.comboBox2);
            r.dayKind = DayKind(c.comboBox3);
        } else {
            r.variant = Variant::Unknown;
        }
        return r;
    case Pattern::Yearly:
        if (form == 1) {
            r.variant = Variant::FixedDate;
            r.dayOfMonth = c.edit1;
            r.month = monthOfColumn(c.comboBox2);
        } else if (form == 2) {
            r.variant = Variant::NthKindOfDay;
            r.ordinal = Ordinal(c.comboBox2);
            r.dayKind = DayKind(c.comboBox3);
            r.month = monthOfColumn(c.comboBox4);
        } else {
            r.variant = Variant::Unknown;
        }
        return r;
    }
    r.variant = Variant::Unknown;
    return r;
}

RuleIntegers integersOf(const RecurrenceRule &r)
{
    RuleIntegers c;
    c.radioButton1 = int(r.pattern);
    c.radioButton3 = int(r.endRule);
    c.edit3 = r.occurrenceCount;
    c.comboBox1 = r.extraDays;
    switch (r.pattern) {
    case Pattern::Daily:
        c.radioButton2 = r.variant == Variant::EveryNDays     ? 1
                         : r.variant == Variant::EveryWorkday ? 2
                                                              : 0;
        c.edit1 = r.interval;
        break;
    case Pattern::Weekly:
        c.radioButton2 = 1;
        c.edit1 = r.interval;
        break;
    case Pattern::Monthly:
        if (r.variant == Variant::DayOfMonth) {
            c.radioButton2 = 1;
            c.edit1 = r.dayOfMonth;
            c.edit2 = r.interval;
        } else if (r.variant == Variant::NthKindOfDay) {
            c.radioButton2 = 2;
            c.edit1 = r.interval;
            c.comboBox2 = int(r.ordinal);
            c.comboBox3 = int(r.dayKind);
        }
        break;
    case Pattern::Yearly:
        if (r.variant == Variant::FixedDate) {
            c.radioButton2 = 1;
            c.edit1 = r.dayOfMonth;
            c.comboBox2 = columnOfMonth(r.month);
        } else if (r.variant == Variant::NthKindOfDay) {
            c.radioButton2 = 2;
            c.comboBox2 = int(r.ordinal);
            c.comboBox3 = int(r.dayKind);
            c.comboBox4 = columnOfMonth(r.month);
        }
        break;
    }
    return c;
}

// Reads a rule through `get(EventField)`, which gives a column's value (null reads as 0 or
// empty).
template <class Get> RecurrenceRule readWith(Get get)
{
    RuleIntegers c;
    c.radioButton1 = get(EventField::RadioButton1).toInt();
    c.radioButton2 = get(EventField::RadioButton2).toInt();
    c.radioButton3 = get(EventField::RadioButton3).toInt();
    c.edit1 = get(EventField::Edit1).toInt();
    c.edit2 = get(EventField::Edit2).toInt();
    c.edit3 = get(EventField::Edit3).toInt();
    c.comboBox1 = get(EventField::ComboBox1).toInt();
    c.comboBox2 = get(EventField::ComboBox2).toInt();
    c.comboBox3 = get(EventField::ComboBox3).toInt();
    c.comboBox4 = get(EventField::ComboBox4).toInt();
    RecurrenceRule r = ruleOf(c, get(EventField::Weekdays).toString());
    r.startTime = get(EventField::StartTime).toDouble();
    r.endTime = get(EventField::EndTime).toDouble();
    r.exceptionDays = parseExceptionList(get(EventField::ExceptionList).toByteArray());
    return r;
}

} // namespace

namespace RecurrenceColumns
{

RecurrenceRule readRule(const EventRow &row)
{
    return readWith([&row](EventField f) -> const QVariant & { return row[f]; });
}

RecurrenceRule readRule(const Table &events, int slot)
{
    return readWith([&](EventField f) { return events.valueAt(slot, int(f)); });
}

void writeRule(const RecurrenceRule &rule, EventRow &row)
{
    const RuleIntegers c = integersOf(rule);
    row[EventField::StartTime] = rule.startTime;
    row[EventField::EndTime] = rule.endTime;
    row[EventField::RadioButton1] = c.radioButton1;
    row[EventField::RadioButton2] = c.radioButton2;
    row[EventField::RadioButton3] = c.radioButton3;
    row[EventField::Edit1] = c.edit1;
    row[EventField::Edit2] = c.edit2;
    row[EventField::Edit3] = c.edit3;
    row[EventField::ComboBox1] = c.comboBox1;
    row[EventField::ComboBox2] = c.comboBox2;
    row[EventField::ComboBox3] = c.comboBox3;
    row[EventField::ComboBox4] = c.comboBox4;
    row[EventField::Weekdays] = rule.weekdays.text();
    const QByteArray exceptions = exceptionListText(rule.exceptionDays);
    row[EventField::ExceptionList] = exceptions.isEmpty() ? QVariant() : QVariant(exceptions);
}

int extraDaysOfSlot(const Table &t, int slot)
{
    return t.valueAt(slot, int(EventField::Recurring)).toBool()
               ? t.valueAt(slot, int(EventField::ComboBox1)).toInt()
               : 0;
}

int extraDaysOf(const EventRow &row)
{
    return row.isRecurring() ? row[EventField::ComboBox1].toInt() : 0;
}

void setExtraDays(EventRow &row, int extraDays)
{
    if (row.isRecurring()) row[EventField::ComboBox1] = extraDays;
}

int oldLayerCount(const EventRow &header)
{
    return header[EventField::RadioButton1].toInt();
}

OldLayerValues oldLayerValues(const EventRow &row)
{
    return {row[EventField::RadioButton1].toInt(), row[EventField::RadioButton2].toInt(),
            row[EventField::RadioButton3].toInt()};
}

} // namespace RecurrenceColumns
