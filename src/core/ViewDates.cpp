#include "core/ViewDates.h"

#include "core/Clock.h"

ViewDates::ViewDates(const Clock &clock)
{
    computeMonthOffsets(clock.today());
}

bool ViewDates::isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int ViewDates::daysInMonth(int year, int month)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && isLeapYear(year)) return 29;
    return days[month - 1];
}

QStringView ViewDates::dayLetterForColumn(int startOfWeek, int column)
{
    const int i = (((startOfWeek + column) % 7) + 7) % 7;
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
        m_monthOffsets[k] = m_monthOffsets[k - 1] + daysInMonth(year, month);
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
}
