#include "core/ViewDates.h"

#include "core/CalendarMath.h"
#include "core/Clock.h"

ViewDates::ViewDates(const Clock &clock)
{
    computeMonthOffsets(clock.today());
}

QStringView ViewDates::dayLetterForColumn(int startOfWeek, int column)
{
    const auto i = CalendarMath::floorMod(int64_t(startOfWeek) + column, 7);
    return DayLetters[std::size_t(i)];
}

void ViewDates::clearSelection()
{
    m_selStart = 0;
    m_selEnd = 0;
}

void ViewDates::computeMonthOffsets(SerialDateTime date)
{
    const QDate d = DateTimeValue::toQDate(date);
    int year = d.year();
    int month = d.month();
    m_monthOffsets[0] = 0;
    for (std::size_t k = 1; k <= 12; ++k) {
        m_monthOffsets[k] = m_monthOffsets[k - 1] + CalendarMath::daysInMonth(year, month);
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
}
