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
    // The same, read against the value the box shows; when the text is no date the box shows
    // that value again and the result is nullopt.
    std::optional<SerialDateTime> takeDate(SerialDateTime shown);

    // The whole day and the time of day of a value (to the millisecond): day + time = value.
    static SerialDateTime dayPart(SerialDateTime value);
    static SerialDateTime timePart(SerialDateTime value);

private:
    const DateTimeFormat &m_format;
};
