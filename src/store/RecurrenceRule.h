#pragma once
// The rule of a recurring event and its calendar arithmetic: which days a rule occurs on, the
// n-th occurrence, and the occurrences that fall into a span of days.
//
// A rule has one member per meaning; RecurrenceColumns reads it from and writes it to the
// events table's columns. A rule that cannot advance (an interval of 0 or less, no weekday set,
// an ordinal, kind, month, day or variant the pattern does not have, a start outside the years
// 1 to 9999) has no occurrence at all; nothing here loops on such a rule. Occurrences after
// 31 Dec 9999 do not exist.
#include "core/DateTimeValue.h"
#include "store/WeekdaySet.h"

#include <optional>
#include <vector>

namespace Recurrence
{

// Range of days a rule can start and occur on: 1 Jan 0001 to 31 Dec 9999.
constexpr int MinDay = -693593;
constexpr int MaxDay = 2958465;

// The numbers are the stored ones.
enum class Pattern { Daily = 1, Weekly, Monthly, Yearly };

// The form of the pattern. Each pattern has its own forms (a weekly rule only one); any other
// combination, and Unknown (a form the stored row does not name), has no occurrences.
enum class Variant {
    EveryNDays,   // daily: every `interval` days
    EveryWorkday, // daily: Monday to Friday
    EveryNWeeks,  // weekly: on `weekdays` of every `interval`-th week
    DayOfMonth,   // monthly: day `dayOfMonth` of every `interval` months
    NthKindOfDay, // monthly: the `ordinal` `dayKind` of every `interval` months;
                  // yearly: the `ordinal` `dayKind` of `month`
    FixedDate,    // yearly: day `dayOfMonth` of `month`
    Unknown
};

// How the rule ends; the numbers are the stored ones. Kept for the editor and for moving an
// event: the occurrences follow from the rule's endTime alone.
enum class EndRule { OnDate = 1, AfterCount = 2, Never = 3 };

// Which one of the days of a kind in a month.
enum class Ordinal { First = 0, Second, Third, Fourth, Last };

// Kinds of day; the numbers are the stored ones.
enum class DayKind {
    AnyDay = 0,
    Workday,    // Monday to Friday
    WeekendDay, // Saturday or Sunday
    Sunday,
    Monday,
    Tuesday,
    Wednesday,
    Thursday,
    Friday,
    Saturday
};

} // namespace Recurrence

// A default rule occurs every day from the day of startTime up to the day of endTime.
struct RecurrenceRule {
    using Pattern = Recurrence::Pattern;
    using Variant = Recurrence::Variant;
    using EndRule = Recurrence::EndRule;
    using Ordinal = Recurrence::Ordinal;
    using DayKind = Recurrence::DayKind;

    Pattern pattern = Pattern::Daily;
    Variant variant = Variant::EveryNDays;
    EndRule endRule = EndRule::Never;
    // Days (EveryNDays), weeks (EveryNWeeks) or months (monthly rules) from one occurrence to
    // the next.
    int interval = 1;
    // DayOfMonth and FixedDate: day D (1 to 31); a month shorter than D has it on its last day.
    int dayOfMonth = 1;
    // AfterCount: the number of occurrences.
    int occurrenceCount = 0;
    // Whole days from the day an occurrence starts to the day it ends (0 = the same day).
    int extraDays = 0;
    // NthKindOfDay: which day of the kind, and the kind.
    Ordinal ordinal = Ordinal::First;
    DayKind dayKind = DayKind::AnyDay;
    // Yearly rules: the month, 1 January ... 12 December.
    int month = 1;
    // EveryNWeeks: the days of the week it occurs on.
    WeekdaySet weekdays;
    // Days without an occurrence, ascending (as parseExceptionList gives them). An unsorted
    // list is still honoured, only more slowly.
    std::vector<int> exceptionDays;
    // Day on which the rule begins; its time of day is when every occurrence starts.
    SerialDateTime startTime = 0;
    // Its day is the last day on which an occurrence may start; its time of day is when every
    // occurrence ends.
    SerialDateTime endTime = 0;

    bool operator==(const RecurrenceRule &) const = default;
};

// Day of month (1 to 31) of the `ordinal` day of `kind` in month 1..12 of the year. 0 when the
// ordinal, kind, month or year (1..9999) is out of range.
int nthDayOfMonth(Recurrence::Ordinal ordinal, Recurrence::DayKind kind, int year, int month);

// Day number of the n-th occurrence (n from 1) of the rule, counted from the day of its
// startTime. It ignores exception days and the end of the rule. nullopt when the rule cannot
// advance, n is below 1 or the occurrence would fall after 31 Dec 9999.
std::optional<int> nthOccurrenceDay(const RecurrenceRule &rule, int n);

// Appends to `days`, ascending, the start days d of the rule's occurrences that belong to the
// span of days [firstDay, endDay): firstDay - extraDays <= d < endDay, d not after the day of
// endTime and d not an exception day; at most maxCount of them (the earliest). Returns how many
// were appended. The cost depends on the number appended, not on how long ago the rule began.
int expandOccurrenceDays(const RecurrenceRule &rule, int firstDay, int endDay, int maxCount,
                         std::vector<int> &days);
