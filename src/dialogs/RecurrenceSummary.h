#pragma once
// One line that tells the user what a rule does, shown in the event editor in place of the
// one-time dates: "Every week on Monday, Friday, 10:00 - 11:00, from Mo 07-08-2000 until
// Fr 29-09-2000".
#include <QString>

class DateTimeFormat;
struct RecurrenceRule;

QString recurrenceSummary(const RecurrenceRule &rule, const DateTimeFormat &format);
