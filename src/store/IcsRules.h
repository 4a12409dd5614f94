#pragma once
// Recurrence rules to and from the recurrence text of calendar files (RRULE values).
//
// Both directions keep the days exactly: a rule is written so that a calendar program finds
// the same occurrence days, and a recurrence is read only when a rule occurs on exactly the
// days it names; everything else is left to the caller (which lists the occurrences one by
// one). Days are weeks Sunday to Saturday, as our weekly rules count them.
#include "store/RecurrenceRule.h"

#include <optional>
#include <string>

struct icalrecurrencetype;

namespace IcsRules
{

// The FREQ, INTERVAL and BY... parts of the rule ("FREQ=WEEKLY;WKST=SU;INTERVAL=2;BYDAY=MO,FR"),
// without UNTIL or COUNT. The first occurrence (nthOccurrenceDay(rule, 1)) must be the
// DTSTART that goes with it. Empty when the rule's pattern and form name no occurrence.
std::string patternText(const RecurrenceRule &rule);

// The rule that occurs on exactly the days of `recur` with DTSTART at `start` (local wall
// clock) and occurrences lasting until `firstEnd` (the first one's end): its pattern, interval,
// startTime = start, extraDays and the time of day of its endTime from `firstEnd`, and its end
// from COUNT, UNTIL (`untilLastDay`: the last day on which an occurrence may start, the caller
// having converted UNTIL to local time; nullopt for none) or neither (never ends: the last day
// 100000 days after the start). A `start` on a day the rule does not name is no occurrence
// (as libical counts them): with an INTERVAL of 1 the rule starts on the first day it names
// after `start`, at the same time of day. nullopt when no rule of ours gives exactly those
// days, or `start` is not one of them and the interval is longer.
std::optional<RecurrenceRule> ruleOf(const icalrecurrencetype &recur, SerialDateTime start,
                                     SerialDateTime firstEnd, std::optional<int> untilLastDay);

} // namespace IcsRules
