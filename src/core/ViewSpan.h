#pragma once
// The date span, date label and navigation step of each view number (0 to 19), computed from
// the selected date alone so the window, printing and tests agree on them.
#include "core/DateTimeValue.h"

#include <QString>

// Days first (inclusive) to end (exclusive), both whole day numbers. Both 0 for the tasks
// view, which shows no dates.
struct ViewSpan {
    SerialDateTime first = 0;
    SerialDateTime end = 0;
    int days() const { return int(end - first); }
    friend bool operator==(const ViewSpan &, const ViewSpan &) = default;
};

namespace ViewSpans
{
// The week start setting reduced to 0 (Sunday) .. 6 (Saturday).
int normalizedWeekStart(int startOfWeek);
// Column 0 to 6 of `day` in a week row that begins on the week start.
int calendarColumn(SerialDateTime day, int startOfWeek);
// Top-left cell of the 7 x 6 month calendar showing the month of `selected`: the week start
// on or before the 1st.
SerialDateTime calendarFirstCell(SerialDateTime selected, int startOfWeek);

// Day columns of a time-grid view (1 to 7); 7 for the month family, the month count for the
// year family ("Year" 12), 0 for tasks and for numbers outside 0 to 19.
int dayColumns(int kind);
// Menu and tab name of a view ("Day", "3 Days", "Work Week", ...); empty outside 0 to 19.
QString viewName(int kind);

// The span a view shows for the selected date. A number outside 0 to 18 gives the empty span.
ViewSpan viewSpan(int kind, SerialDateTime selected, int startOfWeek);
// The date label text of a view showing `span`; empty for the tasks view and an empty span.
QString dateLabel(int kind, const ViewSpan &span);
// The selected date after one previous (direction < 0) or next (direction > 0) step: one day
// in views 0-6, seven in 7, 8 and 10-14, one month in 9 and 16-18 (the day of the month kept
// or cut to the new month's length), one year in 15 (29 February becomes 28). The tasks view
// and direction 0 return `selected` unchanged.
SerialDateTime navigationStep(int kind, SerialDateTime selected, int direction);
} // namespace ViewSpans
