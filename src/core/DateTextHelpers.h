#pragma once
// Date and time text as the user sees and types it, in the formats of a DateTimeFormat.
#include "core/DateTimeValue.h"

#include <QString>
#include <QStringView>
#include <optional>

class DateTimeFormat;

// dateFormatString applied to the date part.
QString dateText(const DateTimeFormat &format, SerialDateTime value);
// Two-letter weekday, a blank, then dateText: "Mo 07-08-2000".
QString weekdayDateText(const DateTimeFormat &format, SerialDateTime value);
// timeFormatString applied to the time of day.
QString timeText(const DateTimeFormat &format, SerialDateTime value);

// Reads up to three groups of digits from text, ignoring everything around them, and returns
// the date (time part 0). One group is the day in the reference date's month and year; two
// are month and day (or day and month) by the format's date order in the reference year;
// three follow dateOrder. A year below 1000 has 2000 added. Fails (nullopt) with no digits,
// more than three groups, a number beyond 32 bits, a year outside 1500 to 9999 or a day that
// does not exist.
std::optional<SerialDateTime> parseDateText(const DateTimeFormat &format, QStringView text,
                                            SerialDateTime reference);

// Reads a time of day (seconds 0) from up to two groups of digits; see the format's clock
// for how "0" and AM/PM letters count. A single group of 1-2 digits is the hour, of 3 digits
// hmm, of 4 or more hhmm (the rest ignored); a third group is ignored. Fails with no digits,
// an hour above 23 or a minute above 59. The result lies in [0, 1).
std::optional<SerialDateTime> parseTimeText(const DateTimeFormat &format, QStringView text);
