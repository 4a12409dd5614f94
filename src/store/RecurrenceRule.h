#pragma once
// The rule of a recurring event and its calendar arithmetic: which days a rule occurs on, the
// n-th occurrence, and the occurrences that fall into a span of days.
//
// The fields carry the names of the events table's columns. A rule that cannot advance (a step
// of 0 or less, no weekday set, an ordinal, kind, month or day the pattern never reaches, a
// start outside the years 1 to 9999) has no occurrence at all; nothing here loops on such a
// rule. Occurrences after 31 Dec 9999 do not exist.
#include "core/DateTimeValue.h"

#include <QString>

#include <optional>
#include <vector>

struct RecurrenceRule {
    // Pattern: 1 daily, 2 weekly, 3 monthly, 4 yearly.
    int RadioButton1 = 0;
    // Variant. Daily: 1 every N days, 2 every workday. Monthly: 1 day D, 2 the K-th day of a
    // kind. Yearly: 1 a fixed date, 2 the K-th day of a kind in a month.
    int RadioButton2 = 0;
    // How the rule ends (1 on a date, 2 after Edit3 occurrences, 3 never). Kept for the editor;
    // the occurrences follow from endTime alone.
    int RadioButton3 = 0;
    // Daily 1: N days. Weekly: N weeks. Monthly 1: day D. Monthly 2: M months. Yearly 1: day D.
    int Edit1 = 0;
    // Monthly 1: M months.
    int Edit2 = 0;
    // Number of occurrences when RadioButton3 is 2.
    int Edit3 = 0;
    // Whole days from the day an occurrence starts to the day it ends (0 = the same day).
    int ComboBox1 = 0;
    // Variant 2: ordinal K (0 first ... 3 fourth, 4 last). Yearly 1: month (0 January).
    int ComboBox2 = 0;
    // Variant 2: kind of day (0 day, 1 workday, 2 holiday, 3 Sunday ... 9 Saturday).
    int ComboBox3 = 0;
    // Yearly 2: month (0 January).
    int ComboBox4 = 0;
    // Weekly: exactly 7 characters '0' or '1', Sunday first.
    QString Weekdays;
    // Day on which the rule begins; its time of day is when every occurrence starts.
    SerialDateTime startTime = 0;
    // Its day is the last day on which an occurrence may start; its time of day is when every
    // occurrence ends.
    SerialDateTime endTime = 0;
    // Days without an occurrence, ascending (as parseExceptionList gives them). An unsorted
    // list is still honoured, only more slowly.
    std::vector<int> exceptionDays;
};

namespace Recurrence
{
// Range of days a rule can start and occur on: 1 Jan 0001 to 31 Dec 9999.
constexpr int MinDay = -693593;
constexpr int MaxDay = 2958465;
} // namespace Recurrence

// Day of month (1 to 31) of the K-th day of a kind in month 1..12 of the year; ordinal 4 is the
// last one. 0 when the ordinal (0..4), kind (0..9), month or year (1..9999) is out of range.
int NthDayOfMonth(int ordinal, int kind, int year, int month);

// Day number of the n-th occurrence (n from 1) of a rule that begins on the day of ruleStart.
// It ignores exception days and the end of the rule. 0 when the pattern or variant is unknown,
// the rule cannot advance, n is below 1 or the occurrence would fall after 31 Dec 9999; callers
// that must tell day 0 from "none" use nthOccurrenceDay.
int NthOccurrenceDate(int pattern, int variant, const QString &weekdays, int comboBox4,
                      int comboBox3, int comboBox2, int n, int edit2, int edit1,
                      SerialDateTime ruleStart);

// The same on a rule (its startTime is the rule start); nullopt for none.
std::optional<int> nthOccurrenceDay(const RecurrenceRule &rule, int n);

// Appends to `days`, ascending, the start days d of the rule's occurrences that belong to the
// span of days [firstDay, endDay): firstDay - ComboBox1 <= d < endDay, d not after the day of
// endTime and d not an exception day; at most maxCount of them (the earliest). Returns how many
// were appended. The cost depends on the number appended, not on how long ago the rule began.
int expandOccurrenceDays(const RecurrenceRule &rule, int firstDay, int endDay, int maxCount,
                         std::vector<int> &days);
