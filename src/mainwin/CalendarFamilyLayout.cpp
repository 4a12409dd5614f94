#include "mainwin/CalendarFamilyLayout.h"

#include "core/ViewDates.h"
#include "core/ViewSpan.h"
#include "core/ViewState.h"

namespace CalendarFamily
{

int weekCount(int kind)
{
    if (kind == ViewMonth) return 6;
    if (ViewState::usesMonthGrid(quint8(kind))) return kind - View2Weeks + 2;
    return 0;
}

std::vector<int> headerWidths(std::vector<int> columnWidths)
{
    if (!columnWidths.empty() && columnWidths.back() > 0) --columnWidths.back();
    return columnWidths;
}

QStringList weekdayTexts(int startOfWeek)
{
    const int first = ViewSpans::normalizedWeekStart(startOfWeek);
    QStringList texts;
    for (int j = 0; j < 7; ++j)
        texts << ViewDates::ShortDayNames[std::size_t((j + first) % 7)].toString();
    return texts;
}

QStringList monthTexts(SerialDateTime firstDay, int months)
{
    const int first = DateTimeValue::toQDate(firstDay).month() - 1;
    QStringList texts;
    for (int j = 0; j < months; ++j)
        texts << ViewDates::ShortMonthNames[std::size_t((first + j) % 12)].toString();
    return texts;
}

int currentMonthColumn(SerialDateTime firstDay, int months, SerialDateTime today)
{
    const QDate a = DateTimeValue::toQDate(firstDay);
    const QDate t = DateTimeValue::toQDate(today);
    const int column = (t.year() - a.year()) * 12 + t.month() - a.month();
    return column >= 0 && column < months ? column : -1;
}

} // namespace CalendarFamily
