#pragma once
// The one place that knows what the events table's rule columns mean. The columns carry the
// names of the original editor's controls and mean different things in different patterns:
//
//   RadioButton1   pattern: 1 daily, 2 weekly, 3 monthly, 4 yearly
//   RadioButton2   variant, the form of the pattern: daily 1 EveryNDays, 2 EveryWorkday;
//                  weekly EveryNWeeks (not read, written as 1); monthly 1 DayOfMonth,
//                  2 NthKindOfDay; yearly 1 FixedDate, 2 NthKindOfDay
//   RadioButton3   endRule: 1 OnDate, 2 AfterCount, 3 Never
//   Edit1          interval (daily, weekly, monthly NthKindOfDay) or dayOfMonth (monthly
//                  DayOfMonth, yearly FixedDate)
//   Edit2          interval (monthly DayOfMonth)
//   Edit3          occurrenceCount
//   ComboBox1      extraDays
//   ComboBox2      ordinal, 0 First ... 4 Last (NthKindOfDay), or month, 0 January ...
//                  11 December (yearly FixedDate)
//   ComboBox3      dayKind, 0 AnyDay ... 9 Saturday (NthKindOfDay)
//   ComboBox4      month, 0 January ... 11 December (yearly NthKindOfDay)
//   Weekdays       weekdays: 7 characters "0" or "1", Sunday first
//   ExceptionList  exceptionDays: "45123,45130"
//   StartTime, EndTime   startTime, endTime
//
// Columns a pattern does not use are not read, and are written as 0. Hand-made rows load and
// give rules without occurrences: an unknown pattern, end rule, ordinal or kind keeps its
// number; an unknown form reads as Variant::Unknown, a month outside 0..11 as month 0, a
// Weekdays text that is not 7 characters "0" or "1" as no weekday.
#include "store/EventRow.h"
#include "store/RecurrenceRule.h"

#include <array>

class Table;

namespace RecurrenceColumns
{

// The rule of a whole events row: the columns above, StartTime and EndTime.
RecurrenceRule readRule(const EventRow &row);
// The rule of the row stored in `slot` of the events table (the cursor does not move).
RecurrenceRule readRule(const Table &events, int slot);

// Writes the rule into `row`: StartTime, EndTime, the ten rule integers, Weekdays, and
// ExceptionList (null when the rule has no exception day). Recurring is left to the caller.
void writeRule(const RecurrenceRule &rule, EventRow &row);

// extraDays of a row when it is recurring, else 0: how many days past its endTime a row can
// reach (the collection window's test).
int extraDaysOfSlot(const Table &events, int slot);
int extraDaysOf(const EventRow &row);
// Sets the extraDays of the row's rule when the row is recurring; a one-time row keeps its
// empty rule columns.
void setExtraDays(EventRow &row, int extraDays);

// The rule's integer columns (`RadioButton1` ... `ComboBox4`) and its text column, in field
// order, for code that copies them as they are without reading them (event lines).
inline constexpr std::array<EventField, 10> IntegerFields = {
    EventField::RadioButton1, EventField::RadioButton2, EventField::RadioButton3,
    EventField::Edit1,        EventField::Edit2,        EventField::Edit3,
    EventField::ComboBox1,    EventField::ComboBox2,    EventField::ComboBox3,
    EventField::ComboBox4};
inline constexpr EventField WeekdaysField = EventField::Weekdays;

// An older version's data file kept its layers as rows of the events table (day -10000 the
// header, day -10000 + b layer b) with their numbers in the first three rule columns.
// The number of layers, from the header row.
int oldLayerCount(const EventRow &header);
struct OldLayerValues {
    int color = 0;
    int archiving = 0;
    int days = 0;
};
// The values of a layer row.
OldLayerValues oldLayerValues(const EventRow &row);

} // namespace RecurrenceColumns
