#pragma once
// A line edit for a date, shown with its two-letter weekday ("Mo 07-08-2000"). The owner reads
// the typed text when the box is left or Enter is pressed (editingFinished) and decides what
// the date changes.
#include "core/DateTimeValue.h"

#include <QLineEdit>
#include <optional>

class DateTimeFormat;

class DateBox : public QLineEdit
{
public:
    DateBox(const DateTimeFormat &format, QWidget *parent);

    // Shows the day of `value`.
    void setDate(SerialDateTime value);
    // The typed date (whole day) read against `reference` (its month and year fill what the
    // text leaves out); nullopt when the text is no date.
    std::optional<SerialDateTime> typedDate(SerialDateTime reference) const;

private:
    const DateTimeFormat &m_format;
};
