#include "store/RecurrenceColumns.h"

#include "store/ExceptionList.h"
#include "store/Table.h"

using Recurrence::DayKind;
using Recurrence::EndRule;
using Recurrence::Ordinal;
using Recurrence::Pattern;
using Recurrence::Variant;
using E = EventsStore;

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

} // namespace

namespace RecurrenceColumns
{

RecurrenceRule readRule(const Table &t)
{
    RuleIntegers c;
    c.radioButton1 = t.asInteger(E::F_RadioButton1);
    c.radioButton2 = t.asInteger(E::F_RadioButton2);
    c.radioButton3 = t.asInteger(E::F_RadioButton3);
    c.edit1 = t.asInteger(E::F_Edit1);
    c.edit2 = t.asInteger(E::F_Edit2);
    c.edit3 = t.asInteger(E::F_Edit3);
    c.comboBox1 = t.asInteger(E::F_ComboBox1);
    c.comboBox2 = t.asInteger(E::F_ComboBox2);
    c.comboBox3 = t.asInteger(E::F_ComboBox3);
    c.comboBox4 = t.asInteger(E::F_ComboBox4);
    RecurrenceRule r = ruleOf(c, t.asString(E::F_Weekdays));
    r.startTime = t.asDateTime(E::F_StartTime);
    r.endTime = t.asDateTime(E::F_EndTime);
    r.exceptionDays = parseExceptionList(t.asBytes(E::F_ExceptionList));
    return r;
}

void writeRule(const RecurrenceRule &rule, QVariantList &row)
{
    while (row.size() <= E::F_ExceptionList)
        row << QVariant();
    const RuleIntegers c = integersOf(rule);
    row[E::F_StartTime] = rule.startTime;
    row[E::F_EndTime] = rule.endTime;
    row[E::F_RadioButton1] = c.radioButton1;
    row[E::F_RadioButton2] = c.radioButton2;
    row[E::F_RadioButton3] = c.radioButton3;
    row[E::F_Edit1] = c.edit1;
    row[E::F_Edit2] = c.edit2;
    row[E::F_Edit3] = c.edit3;
    row[E::F_ComboBox1] = c.comboBox1;
    row[E::F_ComboBox2] = c.comboBox2;
    row[E::F_ComboBox3] = c.comboBox3;
    row[E::F_ComboBox4] = c.comboBox4;
    row[E::F_Weekdays] = rule.weekdays.text();
    const QByteArray exceptions = exceptionListText(rule.exceptionDays);
    row[E::F_ExceptionList] = exceptions.isEmpty() ? QVariant() : QVariant(exceptions);
}

int extraDaysOfRow(const Table &t)
{
    return t.asBoolean(E::F_Recurrent) ? t.asInteger(E::F_ComboBox1) : 0;
}

bool setExtraDaysOfRow(Table &t, int extraDays)
{
    if (!t.asBoolean(E::F_Recurrent)) return true;
    return t.setValue(E::F_ComboBox1, extraDays);
}

int oldLayerCount(const Table &t)
{
    return t.asInteger(E::F_RadioButton1);
}

OldLayerValues oldLayerValues(const Table &t)
{
    return {t.asInteger(E::F_RadioButton1), t.asInteger(E::F_RadioButton2),
            t.asInteger(E::F_RadioButton3)};
}

} // namespace RecurrenceColumns
