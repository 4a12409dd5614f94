#pragma once
// What the desktop notifications beside the reminder window say: one per alarm, or, when more
// alarms come at once than a desktop should pile up (after days off), one that counts them.
#include "core/DateTimeFormat.h"
#include "store/AlarmEntry.h"

#include <QList>
#include <QString>

struct ReminderNotice {
    QString summary;
    QString body;
    bool operator==(const ReminderNotice &) const = default;
};

namespace ReminderNotices
{

// Alarms up to this many get a notice each.
inline constexpr int MaxSingle = 3;

// For up to MaxSingle alarms, one notice each: the subject, and the date and time of the start
// (of the alarm for a task). For more, one notice "N alarms" whose body lists the first
// MaxSingle subjects and how many more there are. Empty for no alarms.
QList<ReminderNotice> forAlarms(const QList<AlarmEntry> &alarms, const DateTimeFormat &format);

} // namespace ReminderNotices
