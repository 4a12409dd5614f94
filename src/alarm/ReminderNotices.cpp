#include "alarm/ReminderNotices.h"

#include "core/DateTextHelpers.h"
#include "core/FileText.h"

namespace ReminderNotices
{

QList<ReminderNotice> forAlarms(const QList<AlarmEntry> &alarms, const DateTimeFormat &format)
{
    QList<ReminderNotice> notices;
    if (alarms.size() <= MaxSingle) {
        for (const AlarmEntry &a : alarms) {
            const SerialDateTime when = a.startTime.value_or(a.alarmTime);
            notices.append({FileText::shownFileText(a.subject),
                            dateText(format, when) + QLatin1Char(' ') + timeText(format, when)});
        }
        return notices;
    }
    QStringList first;
    for (qsizetype i = 0; i < MaxSingle; ++i)
        first << FileText::shownFileText(alarms[i].subject);
    const qsizetype more = alarms.size() - MaxSingle;
    notices.append(
        {QStringLiteral("%1 alarms").arg(alarms.size()),
         QStringLiteral("%1 and %2 more").arg(first.join(QStringLiteral(", "))).arg(more)});
    return notices;
}

} // namespace ReminderNotices
