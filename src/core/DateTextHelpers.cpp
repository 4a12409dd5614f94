#include "core/DateTextHelpers.h"

#include "core/DatePattern.h"
#include "core/DateTimeFormat.h"
#include "core/ViewDates.h"

#include <algorithm>
#include <vector>

namespace
{

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Groups of digits of text, at most maxKept kept; count receives how many groups there were.
// A '0' outside a group starts one only when zeroStarts.
std::vector<QString> digitGroups(QStringView text, std::size_t maxKept, bool zeroStarts,
                                 std::size_t &count)
{
    std::vector<QString> groups;
    bool inGroup = false;
    count = 0;
    for (QChar c : text) {
        if (!isAsciiDigit(c)) {
            inGroup = false;
            continue;
        }
        if (!inGroup) {
            if (c == u'0' && !zeroStarts) continue;
            inGroup = true;
            ++count;
        }
        if (count <= maxKept) {
            if (groups.size() < count) groups.emplace_back();
            // Leading zeros are always kept, so a group's value never depends on how many of
            // them it has; past eleven significant digits the value exceeds 32 bits anyway.
            QString &g = groups.back();
            const auto leadingZeros =
                std::find_if(g.cbegin(), g.cend(), [](QChar d) { return d != u'0'; }) - g.cbegin();
            if (g.size() - leadingZeros <= 10) g += c;
        }
    }
    return groups;
}

std::optional<int> toInt32(const QString &digits)
{
    bool ok = false;
    const int v = digits.toInt(&ok);
    if (!ok) return std::nullopt;
    return v;
}

} // namespace

QString dateText(const DateTimeFormat &format, SerialDateTime value)
{
    return DatePattern::format(format.dateFormatString(), double(DateTimeValue::dayOf(value)),
                               format.dateSeparatorChar(), format.timeSeparatorChar());
}

QString weekdayDateText(const DateTimeFormat &format, SerialDateTime value)
{
    const int dow = DateTimeValue::dayOfWeek(value);
    return ViewDates::TwoLetterDayNames[std::size_t(dow - 1)].toString() + u' ' +
           dateText(format, value);
}

QString timeText(const DateTimeFormat &format, SerialDateTime value)
{
    return DatePattern::format(format.timeFormatString(), value, format.dateSeparatorChar(),
                               format.timeSeparatorChar());
}

std::optional<SerialDateTime> parseDateText(const DateTimeFormat &format, QStringView text,
                                            SerialDateTime reference)
{
    std::size_t count = 0;
    const std::vector<QString> groups = digitGroups(text, 3, false, count);
    if (count < 1 || count > 3) return std::nullopt;
    std::vector<int> values;
    for (const QString &g : groups) {
        const auto v = toInt32(g);
        if (!v) return std::nullopt;
        values.push_back(*v);
    }

    const QDate ref = DateTimeValue::toQDate(reference);
    int year = ref.year();
    int month = ref.month();
    int day = 0;
    if (count == 1) {
        day = values[0];
    } else if (count == 2) {
        if (format.monthBeforeDay()) {
            month = values[0];
            day = values[1];
        } else {
            day = values[0];
            month = values[1];
        }
    } else {
        for (std::size_t i = 0; i < 3; ++i) {
            switch (format.dateOrder()[i]) {
            case DateTimeFormat::Year:
                year = values[i];
                break;
            case DateTimeFormat::Month:
                month = values[i];
                break;
            case DateTimeFormat::Day:
                day = values[i];
                break;
            default:
                return std::nullopt;
            }
        }
    }
    if (year < 1000) year += 2000;
    if (year < 1500 || year > 9999 || !DateTimeValue::isValidDate(year, month, day))
        return std::nullopt;
    return DateTimeValue::encodeDate(year, month, day);
}

std::optional<SerialDateTime> parseTimeText(const DateTimeFormat &format, QStringView text)
{
    const bool twelve = format.twelveHour();
    std::size_t count = 0;
    const std::vector<QString> groups = digitGroups(text, 2, !twelve, count);
    if (count == 0) return std::nullopt;

    bool pm = false;
    for (QChar c : text) {
        const QChar l = c.toLower();
        if (l == u'a' || l == u'p') {
            pm = l == u'p';
            break;
        }
    }

    QString hourText;
    QString minuteText;
    if (groups.size() >= 2) {
        hourText = groups[0];
        minuteText = groups[1];
    } else {
        const QString &g = groups[0];
        if (g.size() <= 2) {
            hourText = g;
            minuteText = QStringLiteral("0");
        } else if (g.size() == 3) {
            hourText = g.left(1);
            minuteText = g.mid(1, 2);
        } else {
            hourText = g.left(2);
            minuteText = g.mid(2, 2);
        }
    }
    const auto hourValue = toInt32(hourText);
    const auto minuteValue = toInt32(minuteText);
    if (!hourValue || !minuteValue) return std::nullopt;
    int hour = *hourValue;
    const int minute = *minuteValue;
    if (twelve) {
        if (!pm && hour == 12)
            hour = 0;
        else if (pm && hour >= 1 && hour <= 11)
            hour += 12;
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return std::nullopt;
    return DateTimeValue::encodeTime(hour, minute);
}
