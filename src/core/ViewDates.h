#pragma once
// The date module: fixed English name tables and the current view's date span, selected time
// range and collection window. Days-in-month and the other day arithmetic are CalendarMath's.
#include "core/DateTimeValue.h"

#include <QStringView>
#include <array>

class Clock;

class ViewDates
{
public:
    static constexpr std::array<QStringView, 12> MonthNames{
        u"January", u"February", u"March",     u"April",   u"May",      u"June",
        u"July",    u"August",   u"September", u"October", u"November", u"December"};
    static constexpr std::array<QStringView, 12> ShortMonthNames{u"Jan", u"Feb", u"Mar", u"Apr",
                                                                 u"May", u"Jun", u"Jul", u"Aug",
                                                                 u"Sep", u"Oct", u"Nov", u"Dec"};
    // Index 0 is Sunday; a DateTimeValue::dayOfWeek d (1 = Sunday) is entry d - 1.
    static constexpr std::array<QStringView, 7> DayNames{
        u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    static constexpr std::array<QStringView, 7> ShortDayNames{u"Sun", u"Mon", u"Tue", u"Wed",
                                                              u"Thu", u"Fri", u"Sat"};
    static constexpr std::array<QStringView, 7> TwoLetterDayNames{u"Su", u"Mo", u"Tu", u"We",
                                                                  u"Th", u"Fr", u"Sa"};
    static constexpr std::array<QStringView, 7> DayLetters{u"S", u"M", u"T", u"W",
                                                           u"T", u"F", u"S"};

    // Computes monthOffsets for the month of the clock's today.
    explicit ViewDates(const Clock &clock);

    // Letter above header column 0 to 6 of a month calendar; startOfWeek 0 = Sunday,
    // 1 = Monday (other values are taken modulo 7).
    static QStringView dayLetterForColumn(int startOfWeek, int column);

    // First day and end of the span the current view shows.
    SerialDateTime spanStart() const { return m_spanStart; }
    SerialDateTime spanEnd() const { return m_spanEnd; }
    void setSpanStart(SerialDateTime v) { m_spanStart = v; }
    void setSpanEnd(SerialDateTime v) { m_spanEnd = v; }

    // Selected time range; both 0 when nothing is selected.
    SerialDateTime selectionStart() const { return m_selStart; }
    SerialDateTime selectionEnd() const { return m_selEnd; }
    void setSelectionStart(SerialDateTime v) { m_selStart = v; }
    void setSelectionEnd(SerialDateTime v) { m_selEnd = v; }
    bool hasSelection() const { return m_selStart != 0.0 || m_selEnd != 0.0; }
    void clearSelection();

    // Collection window of the events filter: windowStart is its start, GridCell its end.
    SerialDateTime windowStart() const { return m_windowStart; }
    SerialDateTime windowEnd() const { return m_windowEnd; }
    void setWindowStart(SerialDateTime v) { m_windowStart = v; }
    void setWindowEnd(SerialDateTime v) { m_windowEnd = v; }

    // Running day totals of the 12 months starting with the month of the date given to
    // computeMonthOffsets: entry 0 is 0, entry k the days of the first k months, so entry 12
    // is 365 or 366. The day of month m (0-based from that month) at day d (1-based) is
    // offset monthOffsets()[m] + d - 1 from the first day of the first month.
    const std::array<int, 13> &monthOffsets() const { return m_monthOffsets; }
    void computeMonthOffsets(SerialDateTime date);

private:
    SerialDateTime m_spanStart = 0;
    SerialDateTime m_spanEnd = 0;
    SerialDateTime m_selStart = 0;
    SerialDateTime m_selEnd = 0;
    SerialDateTime m_windowStart = 0;
    SerialDateTime m_windowEnd = 0;
    std::array<int, 13> m_monthOffsets{};
};
