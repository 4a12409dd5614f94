#pragma once
// A plain, slow model of recurrence used as the oracle of the recurrence tests: the occurrence
// walk steps one occurrence at a time from the rule's start, exactly as the rules are stated,
// with Qt's QDate for the calendar and a brute-force scan of the month for "the K-th day of a
// kind". It shares no code with the implementation.
#include "store/RecurrenceRule.h"

#include <QDate>

#include <vector>

namespace Reference
{

// Day of month of the K-th (0..3, 4 = last) day of a kind, found by scanning the month.
int nthDayOfMonth(int ordinal, int kind, int year, int month);

// The first `count` occurrence days of the rule (fewer when it ends after 31 Dec 9999); empty
// for a rule that cannot advance.
std::vector<int> firstOccurrences(const RecurrenceRule &rule, int count);

// The occurrence days of the rule that belong to [firstDay, endDay), by walking every
// occurrence from the first one; at most maxCount.
std::vector<int> expand(const RecurrenceRule &rule, int firstDay, int endDay, int maxCount);

} // namespace Reference
