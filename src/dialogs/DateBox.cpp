#include "dialogs/DateBox.h"

#include "core/DateTextHelpers.h"

DateBox::DateBox(const DateTimeFormat &format, QWidget *parent)
    : QLineEdit(parent), m_format(format)
{
}

void DateBox::setDate(SerialDateTime value)
{
    setText(weekdayDateText(m_format, value));
}

std::optional<SerialDateTime> DateBox::typedDate(SerialDateTime reference) const
{
    return parseDateText(m_format, text(), reference);
}

std::optional<SerialDateTime> DateBox::takeDate(SerialDateTime shown)
{
    const auto day = typedDate(shown);
    if (!day) setDate(shown);
    return day;
}

SerialDateTime DateBox::dayPart(SerialDateTime value)
{
    return DateTimeValue::dayOf(value);
}

SerialDateTime DateBox::timePart(SerialDateTime value)
{
    return DateTimeValue::msOfDay(value) / double(DateTimeValue::MsPerDay);
}
