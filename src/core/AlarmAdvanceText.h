#pragma once
// The text of an alarm's advance ("15 minutes", "1 hour", "2 days") and how typed text reads.
#include <QString>
#include <QStringView>
#include <optional>

struct AlarmAdvance {
    enum Unit { Minutes = 1, Hours = 2, Days = 3 };
    static constexpr int Limit = 1000; // advances are 0 to Limit - 1 units

    int amount = 15;
    int unit = Minutes;
    bool operator==(const AlarmAdvance &) const = default;
};

// The first run of digits in the text as a number; nullopt when there are no digits or the
// number is `limit` or more.
std::optional<int> firstNumberBelow(QStringView text, int limit);

// The normal form: "0 minutes" for 0 in any unit, "1 " and the singular unit name for 1, else
// the number, a blank and the plural unit name. A unit outside 1..3 counts as minutes.
QString advanceText(const AlarmAdvance &advance);

// The unit is decided by the first of "minutes", "min", "m", "Minutes", "Min", "M" (minutes),
// "hours", "hour", "h", "Hours", "Hour", "H" (hours), "days", "day", "d", "Days", "Day", "D"
// (days) that occurs anywhere in the text, in that order; none means minutes. The amount is
// the first run of digits. nullopt when there are no digits or the amount is Limit or more.
std::optional<AlarmAdvance> parseAdvanceText(QStringView text);
