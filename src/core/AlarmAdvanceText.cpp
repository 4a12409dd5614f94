#include "core/AlarmAdvanceText.h"

#include <array>

namespace
{
struct UnitWord {
    QStringView word;
    int unit;
};

constexpr std::array<UnitWord, 18> UnitWords{{
    {u"minutes", AlarmAdvance::Minutes},
    {u"min", AlarmAdvance::Minutes},
    {u"m", AlarmAdvance::Minutes},
    {u"Minutes", AlarmAdvance::Minutes},
    {u"Min", AlarmAdvance::Minutes},
    {u"M", AlarmAdvance::Minutes},
    {u"hours", AlarmAdvance::Hours},
    {u"hour", AlarmAdvance::Hours},
    {u"h", AlarmAdvance::Hours},
    {u"Hours", AlarmAdvance::Hours},
    {u"Hour", AlarmAdvance::Hours},
    {u"H", AlarmAdvance::Hours},
    {u"days", AlarmAdvance::Days},
    {u"day", AlarmAdvance::Days},
    {u"d", AlarmAdvance::Days},
    {u"Days", AlarmAdvance::Days},
    {u"Day", AlarmAdvance::Days},
    {u"D", AlarmAdvance::Days},
}};

constexpr std::array<QStringView, 3> Singular{u"minute", u"hour", u"day"};
constexpr std::array<QStringView, 3> Plural{u"minutes", u"hours", u"days"};
} // namespace

std::optional<int> firstNumberBelow(QStringView text, int limit)
{
    qsizetype i = 0;
    while (i < text.size() && !(text[i] >= u'0' && text[i] <= u'9'))
        ++i;
    if (i == text.size()) return std::nullopt;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value >= limit) return std::nullopt;
    }
    return int(value);
}

QString advanceText(const AlarmAdvance &advance)
{
    const int unit = advance.unit >= 1 && advance.unit <= 3 ? advance.unit : 1;
    if (advance.amount == 0) return QStringLiteral("0 minutes");
    if (advance.amount == 1)
        return QStringLiteral("1 ") + Singular[std::size_t(unit - 1)].toString();
    return QString::number(advance.amount) + u' ' + Plural[std::size_t(unit - 1)].toString();
}

std::optional<AlarmAdvance> parseAdvanceText(QStringView text)
{
    AlarmAdvance result;
    result.unit = AlarmAdvance::Minutes;
    for (const UnitWord &w : UnitWords) {
        if (text.contains(w.word, Qt::CaseSensitive)) {
            result.unit = w.unit;
            break;
        }
    }
    const auto amount = firstNumberBelow(text, AlarmAdvance::Limit);
    if (!amount) return std::nullopt;
    result.amount = *amount;
    return result;
}
