#include "core/ViewSpan.h"

#include "core/CalendarMath.h"
#include "core/ViewDates.h"
#include "core/ViewState.h"

namespace ViewSpans
{

int normalizedWeekStart(int startOfWeek)
{
    return int(CalendarMath::floorMod(startOfWeek, 7));
}

int calendarColumn(SerialDateTime day, int startOfWeek)
{
    return int(CalendarMath::floorMod(
        DateTimeValue::dayOfWeek(day) - 1 - normalizedWeekStart(startOfWeek), 7));
}

SerialDateTime calendarFirstCell(SerialDateTime selected, int startOfWeek)
{
    const QDate d = DateTimeValue::toQDate(selected);
    const SerialDateTime first = DateTimeValue::encodeDate(d.year(), d.month(), 1);
    return first - calendarColumn(first, startOfWeek);
}

int dayColumns(int kind)
{
    if (kind >= ViewDay && kind <= View7Days) return kind + 1;
    if (kind == ViewWorkWeek) return 5;
    if (kind == ViewWeek || ViewState::usesMonthGrid(quint8(kind))) return 7;
    switch (kind) {
    case ViewYear:
    case View12Months:
        return 12;
    case View3Months:
        return 3;
    case View6Months:
        return 6;
    default:
        return 0;
    }
}

QString viewName(int kind)
{
    if (kind == ViewDay) return QStringLiteral("Day");
    if (kind > ViewDay && kind <= View7Days) return QStringLiteral("%1 Days").arg(kind + 1);
    if (kind == ViewWorkWeek) return QStringLiteral("Work Week");
    if (kind == ViewWeek) return QStringLiteral("Week");
    if (kind == ViewMonth) return QStringLiteral("Month");
    if (kind >= View2Weeks && kind <= View6Weeks)
        return QStringLiteral("%1 Weeks").arg(kind - View2Weeks + 2);
    if (kind == ViewYear) return QStringLiteral("Year");
    if (kind >= View3Months && kind <= View12Months)
        return QStringLiteral("%1 Months").arg(dayColumns(kind));
    if (kind == ViewTasks) return QStringLiteral("Tasks");
    return {};
}

namespace
{
SerialDateTime addMonths(SerialDateTime firstOfMonth, int months)
{
    const QDate d = DateTimeValue::toQDate(firstOfMonth).addMonths(months);
    return DateTimeValue::fromQDate(d);
}

// Same day of month in the month `months` away, cut to that month's length.
SerialDateTime shiftMonthsKeepingDay(SerialDateTime day, int months)
{
    const QDate d = DateTimeValue::toQDate(day);
    const QDate first = QDate(d.year(), d.month(), 1).addMonths(months);
    const int dom = std::min(d.day(), CalendarMath::daysInMonth(first.year(), first.month()));
    return DateTimeValue::encodeDate(first.year(), first.month(), dom);
}

QString monthName(const QDate &d)
{
    return ViewDates::MonthNames[std::size_t(d.month() - 1)].toString();
}

QString shortMonth(const QDate &d)
{
    return ViewDates::ShortMonthNames[std::size_t(d.month() - 1)].toString();
}

QString dayMonth(SerialDateTime v)
{
    const QDate d = DateTimeValue::toQDate(v);
    return QStringLiteral("%1 %2").arg(d.day()).arg(shortMonth(d));
}
} // namespace

ViewSpan viewSpan(int kind, SerialDateTime selected, int startOfWeek)
{
    const SerialDateTime day = DateTimeValue::dayOf(selected);
    const int column = calendarColumn(day, startOfWeek);
    if (kind >= ViewDay && kind <= View7Days) return {day, day + kind + 1};
    if (kind == ViewWorkWeek) {
        const SerialDateTime a = day - column + 1 - normalizedWeekStart(startOfWeek);
        return {a, a + 5};
    }
    if (kind == ViewWeek) return {day - column, day - column + 7};
    if (kind == ViewMonth) {
        const SerialDateTime a = calendarFirstCell(day, startOfWeek);
        return {a, a + 42};
    }
    if (kind >= View2Weeks && kind <= View6Weeks) {
        const int weeks = kind - View2Weeks + 2;
        return {day - column, day - column + 7 * weeks};
    }
    const QDate d = DateTimeValue::toQDate(day);
    if (kind == ViewYear) {
        const SerialDateTime a = DateTimeValue::encodeDate(d.year(), 1, 1);
        return {a, addMonths(a, 12)};
    }
    if (kind >= View3Months && kind <= View12Months) {
        const SerialDateTime a = DateTimeValue::encodeDate(d.year(), d.month(), 1);
        return {a, addMonths(a, dayColumns(kind))};
    }
    return {};
}

QString dateLabel(int kind, const ViewSpan &span)
{
    if (span.end <= span.first || kind < 0 || kind >= ViewTasks) return {};
    const QDate a = DateTimeValue::toQDate(span.first);
    const QDate b = DateTimeValue::toQDate(span.end - 1);
    if (kind == ViewDay) return QStringLiteral("%1  %2").arg(dayMonth(span.first)).arg(a.year());
    if (kind == ViewMonth) {
        // The calendar's month is the one of its middle cells, not of the top-left cell.
        const QDate m = DateTimeValue::toQDate(span.first + 7);
        return QStringLiteral("%1  %2").arg(monthName(m)).arg(m.year());
    }
    if (kind == ViewYear) return QString::number(a.year());
    if (kind >= View3Months && kind <= View12Months) {
        if (a.year() == b.year())
            return QStringLiteral("%1 - %2  %3").arg(monthName(a), monthName(b)).arg(a.year());
        return QStringLiteral("%1  %2 - %3  %4")
            .arg(shortMonth(a))
            .arg(a.year())
            .arg(shortMonth(b))
            .arg(b.year());
    }
    return QStringLiteral("%1  -  %2  %3")
        .arg(dayMonth(span.first), dayMonth(span.end - 1))
        .arg(b.year());
}

SerialDateTime navigationStep(int kind, SerialDateTime selected, int direction)
{
    if (direction == 0) return selected;
    const int sign = direction < 0 ? -1 : 1;
    if (kind >= ViewDay && kind <= View7Days) return selected + sign;
    if (kind == ViewWorkWeek || kind == ViewWeek || (kind >= View2Weeks && kind <= View6Weeks))
        return selected + 7 * sign;
    if (kind == ViewMonth || (kind >= View3Months && kind <= View12Months))
        return shiftMonthsKeepingDay(selected, sign);
    if (kind == ViewYear) return shiftMonthsKeepingDay(selected, 12 * sign);
    return selected;
}

} // namespace ViewSpans
