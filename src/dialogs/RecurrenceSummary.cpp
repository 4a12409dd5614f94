#include "dialogs/RecurrenceSummary.h"

#include "core/DateTextHelpers.h"
#include "core/ViewDates.h"
#include "dialogs/RecurrenceEditor.h"
#include "store/RecurrenceRule.h"

#include <QStringList>

namespace
{
using Pattern = Recurrence::Pattern;
using Variant = Recurrence::Variant;

constexpr std::array<QStringView, 5> Ordinals{u"first", u"second", u"third", u"fourth", u"last"};
constexpr std::array<QStringView, 3> Kinds{u"day", u"workday", u"holiday"};

QString every(int n, const QString &unit)
{
    return n == 1 ? QStringLiteral("every ") + unit
                  : QStringLiteral("every %1 %2s").arg(n).arg(unit);
}

QString monthName(int month)
{
    return month >= 1 && month <= 12 ? ViewDates::MonthNames[std::size_t(month - 1)].toString()
                                     : QString();
}

QString nthKind(const RecurrenceRule &r)
{
    const int o = int(r.ordinal);
    const int k = int(r.dayKind);
    const QString ordinal = o >= 0 && o < 5 ? Ordinals[std::size_t(o)].toString() : QString();
    const QString kind = k >= 0 && k < 3    ? Kinds[std::size_t(k)].toString()
                         : k >= 3 && k < 10 ? ViewDates::DayNames[std::size_t(k - 3)].toString()
                                            : QString();
    return QStringLiteral("the %1 %2").arg(ordinal, kind);
}

QString patternText(const RecurrenceRule &r)
{
    switch (r.pattern) {
    case Pattern::Daily:
        if (r.variant == Variant::EveryWorkday) return QStringLiteral("Every workday");
        return every(r.interval, QStringLiteral("day"));
    case Pattern::Weekly: {
        QStringList days;
        for (int d = 1; d <= 7; ++d)
            if (r.weekdays.contains(d)) days << ViewDates::DayNames[std::size_t(d - 1)].toString();
        return every(r.interval, QStringLiteral("week")) + QStringLiteral(" on ") +
               days.join(QStringLiteral(", "));
    }
    case Pattern::Monthly:
        if (r.variant == Variant::NthKindOfDay)
            return nthKind(r) + QStringLiteral(" of ") + every(r.interval, QStringLiteral("month"));
        return QStringLiteral("Day %1 of ").arg(r.dayOfMonth) +
               every(r.interval, QStringLiteral("month"));
    case Pattern::Yearly:
        if (r.variant == Variant::NthKindOfDay)
            return nthKind(r) + QStringLiteral(" in ") + monthName(r.month) +
                   QStringLiteral(" every year");
        return QStringLiteral("Every %1 %2").arg(monthName(r.month)).arg(r.dayOfMonth);
    }
    return {};
}
} // namespace

QString recurrenceSummary(const RecurrenceRule &rule, const DateTimeFormat &format)
{
    QString text = patternText(rule);
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    text += QStringLiteral(", ") + timeText(format, rule.startTime) + QStringLiteral(" - ") +
            timeText(format, rule.endTime);
    if (rule.extraDays > 0)
        text += QStringLiteral(" (") + RecurrenceEditor::daysAfterText(rule.extraDays) + u')';
    text += QStringLiteral(", from ") + weekdayDateText(format, rule.startTime);
    if (rule.endRule == Recurrence::EndRule::OnDate)
        text += QStringLiteral(" until ") + weekdayDateText(format, rule.endTime);
    else if (rule.endRule == Recurrence::EndRule::AfterCount)
        text += QStringLiteral(", %1 times").arg(rule.occurrenceCount);
    return text;
}
