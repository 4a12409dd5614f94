#pragma once
// Numbers of the month and year views that the main window works out and hands to the month
// grid and the date header. Plain functions, no widgets; sizes in pixels.
#include "core/DateTimeValue.h"

#include <QStringList>
#include <vector>

namespace CalendarFamily
{
// Week rows of a month-grid view: 6 for "Month", 2 to 6 for "2 Weeks" .. "6 Weeks"; 0 for
// any other view.
int weekCount(int kind);
// Header widths over grid columns of these widths: the same, the last one pixel narrower.
std::vector<int> headerWidths(std::vector<int> columnWidths);
// The month grid's header: the short weekday names from the week start (0 Sunday .. 6
// Saturday; other values are reduced like the setting).
QStringList weekdayTexts(int startOfWeek);
// The year grid's header for `months` months from the month of `firstDay`: their short names,
// wrapping after December.
QStringList monthTexts(SerialDateTime firstDay, int months);
// Column (0-based) of today's month in that range; -1 when today lies outside it.
int currentMonthColumn(SerialDateTime firstDay, int months, SerialDateTime today);
} // namespace CalendarFamily
