#include "core/ReminderArguments.h"

#include "core/FileText.h"

namespace
{
const QString MissedOption = QStringLiteral("--missed");

qint64 seconds(SerialDateTime t)
{
    return (DateTimeValue::toMs(t) + 500) / 1000;
}
} // namespace

bool MissedWindow::contains(SerialDateTime alarmTime) const
{
    const qint64 s = seconds(alarmTime);
    return s > seconds(after) && s <= seconds(upTo);
}

QStringList ReminderArguments::toList() const
{
    QStringList out{dataDir};
    if (missed)
        out << MissedOption << FileText::fileDateTimeText(missed->after)
            << FileText::fileDateTimeText(missed->upTo);
    return out;
}

ReminderArguments ReminderArguments::fromList(const QStringList &arguments)
{
    ReminderArguments out;
    if (!arguments.isEmpty() && arguments.first() != MissedOption) out.dataDir = arguments.first();
    const qsizetype at = arguments.indexOf(MissedOption);
    if (at >= 0 && at + 2 < arguments.size()) {
        const auto after = FileText::parseFileDateTimeText(arguments.at(at + 1));
        const auto upTo = FileText::parseFileDateTimeText(arguments.at(at + 2));
        if (after && upTo && *after < *upTo) out.missed = MissedWindow{*after, *upTo};
    }
    return out;
}
