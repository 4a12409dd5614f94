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
#include "store/EventsStore.h"
#include "store/RecurrenceRule.h"

#include <QVariantList>

#include <array>

class Table;

namespace RecurrenceColumns
{

// The rule of the events table's current row: the columns above, StartTime and EndTime.
RecurrenceRule readRule(const Table &events);

// Writes the rule into `row`, a whole events row in field order (at least up to
// ExceptionList): StartTime, EndTime, the ten rule integers, Weekdays, and ExceptionList (null
// when the rule has no exception day). Recurrent is left to the caller.
void writeRule(const RecurrenceRule &rule, QVariantList &row);

// extraDays of the current row when it is recurring, else 0: how many days past its endTime a
// row can reach (the record filter's test).
int extraDaysOfRow(const Table &events);
// In edit mode: sets the extraDays of the current row's rule when the row is recurring; a
// one-time row keeps its empty rule columns. False when the value could not be set.
bool setExtraDaysOfRow(Table &events, int extraDays);

// The rule's integer columns (`RadioButton1` ... `ComboBox4`) and its text column, in field
// order, for code that copies them as they are without reading them (event lines).
inline constexpr std::array<int, 10> IntegerFields = {
    EventsStore::F_RadioButton1, EventsStore::F_RadioButton2, EventsStore::F_RadioButton3,
    EventsStore::F_Edit1,        EventsStore::F_Edit2,        EventsStore::F_Edit3,
    EventsStore::F_ComboBox1,    EventsStore::F_ComboBox2,    EventsStore::F_ComboBox3,
    EventsStore::F_ComboBox4};
inline constexpr int WeekdaysField = EventsStore::F_Weekdays;

// An older version's data file kept its layers as rows of the events table (day -10000 the
// header, day -10000 + b layer b) with their numbers in the first three rule columns.
// The number of layers, from the header row.
int oldLayerCount(const Table &events);
struct OldLayerValues {
    int color = 0;
    int archiving = 0;
    int days = 0;
};
// The values of a layer row.
OldLayerValues oldLayerValues(const Table &events);

} // namespace RecurrenceColumns
