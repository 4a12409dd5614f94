#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"

#include <gtest/gtest.h>

using namespace DateTimeValue;

namespace
{

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale Germany(QLocale::German, QLocale::Germany);

struct DateCase {
    const char *name;
    int dateFormat;
    int dateSeparator;
    const char *text;
    QDate expected; // invalid QDate: the text must be refused
};

// Reference date 15 March 2001 (month and year of one- and two-group entries).
const DateCase DateCases[] = {
    {"MonthFirst_TwoGroupsAreMonthDay", 4, 0, "7 8", QDate(2001, 7, 8)},
    {"MonthFirst_OneGroupIsDayOfReferenceMonth", 4, 0, "8", QDate(2001, 3, 8)},
    {"DayFirst_TwoGroupsAreDayMonth", 5, 0, "7 8", QDate(2001, 8, 7)},
    {"YearFirst_TwoGroupsAreMonthDay", 6, 0, "7 8", QDate(2001, 7, 8)},
    {"DayFirstDots_TwoDigitYear", 5, 3, "07.08.05", QDate(2005, 8, 7)},
    {"WeekdayPrefixIgnored", 5, 1, "Mo 07-08-2000", QDate(2000, 8, 7)},
    {"WithoutWeekdayPrefix", 5, 1, "07-08-2000", QDate(2000, 8, 7)},
    {"AnySeparatorsAround", 1, 0, "  (7)//8,,2000!", QDate(2000, 7, 8)},
    {"LeadingZerosDropped", 6, 0, "002000-007-008", QDate(2000, 7, 8)},
    {"Year1499Refused", 2, 0, "1/1/1499", QDate()},
    {"Year1500Accepted", 2, 0, "1/1/1500", QDate(1500, 1, 1)},
    {"Year1000Refused", 2, 0, "1/1/1000", QDate()},
    {"Year999Gets2000Added", 2, 0, "1/1/999", QDate(2999, 1, 1)},
    {"Year99Is2099", 2, 0, "1/1/99", QDate(2099, 1, 1)},
    {"Year5Is2005", 2, 0, "1/1/5", QDate(2005, 1, 1)},
    {"Year9999Accepted", 2, 0, "31/12/9999", QDate(9999, 12, 31)},
    {"Year10000Refused", 2, 0, "1/1/10000", QDate()},
    {"LeapDayInLeapYear", 2, 0, "29/2/2000", QDate(2000, 2, 29)},
    {"LeapDayInCommonYear", 2, 0, "29/2/2001", QDate()},
    {"LeapDayInCentury", 2, 0, "29/2/1900", QDate()},
    {"Day32", 2, 0, "32/1/2000", QDate()},
    {"Day31InThirtyDayMonth", 2, 0, "31/4/2000", QDate()},
    {"Month13", 2, 0, "1/13/2000", QDate()},
    {"TwoGroupsDayBeyondMonth", 4, 0, "2 30", QDate()},
    {"EmptyText", 2, 0, "", QDate()},
    {"OnlySeparators", 2, 0, " -/.: ", QDate()},
    {"OnlyZeros", 2, 0, "0/00/000", QDate()},
    {"OnlyLetters", 2, 0, "Mo", QDate()},
    {"FourthGroup", 2, 0, "1/2/2000/3", QDate()},
    {"NumberBeyond32Bits", 2, 0, "99999999999/1/2000", QDate()},
    {"NumberJustBeyond32Bits", 2, 0, "2147483648", QDate()},
    {"LargestInt32Day", 2, 0, "2147483647", QDate()},
    {"VeryLongDigitRun", 2, 0, "1234567890123456789012345678901234567890", QDate()},
    {"NonAsciiDigitsIgnored", 2, 0, "\xD9\xA7/\xD9\xA8/\xD9\xA2", QDate()},
};

class ParseDate : public ::testing::TestWithParam<DateCase>
{
};

} // namespace

TEST_P(ParseDate, Case)
{
    const DateCase &c = GetParam();
    DateTimeFormat f(UnitedStates);
    f.buildDateFormat(c.dateFormat, c.dateSeparator);
    const auto v = parseDateText(f, QString::fromUtf8(c.text), encodeDate(2001, 3, 15));
    if (!c.expected.isValid()) {
        EXPECT_FALSE(v) << toQDate(*v).toString(Qt::ISODate).toStdString();
        return;
    }
    ASSERT_TRUE(v);
    EXPECT_EQ(toQDate(*v), c.expected);
    EXPECT_EQ(msOfDay(*v), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseDate, ::testing::ValuesIn(DateCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ParseDate, ThreeGroupsFollowTheLocaleOrder)
{
    DateTimeFormat f(Germany);
    f.buildDateFormat(0, 0);
    const auto v = parseDateText(f, u"8.7.2000", encodeDate(2001, 3, 15));
    ASSERT_TRUE(v);
    EXPECT_EQ(toQDate(*v), QDate(2000, 7, 8));
    // Day first: two groups are day, month.
    const auto two = parseDateText(f, u"8.7", encodeDate(2001, 3, 15));
    ASSERT_TRUE(two);
    EXPECT_EQ(toQDate(*two), QDate(2001, 7, 8));
}

namespace
{

struct TimeCase {
    const char *name;
    bool twelveHour;
    const char *text;
    int expectedMinute; // -1: the text must be refused
};

const TimeCase TimeCases[] = {
    {"12h_TwelveAmIsMidnight", true, "12:00 AM", 0},
    {"12h_TwelvePmIsNoon", true, "12:00 PM", 12 * 60},
    {"12h_HalfPastNoon", true, "12:30 PM", 12 * 60 + 30},
    {"12h_OnePLetter", true, "1:00 p", 13 * 60},
    {"12h_ThreeDigitsHourMinute", true, "930", 9 * 60 + 30},
    {"12h_LeadingZeroHourDropped", true, "00:30", -1},
    {"12h_ZeroThirtyIsHourThirty", true, "0:30", -1},
    {"12h_OneGroupIsHour", true, "7", 7 * 60},
    {"12h_NoLetterCountsAsAm", true, "12:30", 30},
    {"12h_LowerCasePm", true, "11:59 pm", 23 * 60 + 59},
    {"12h_FirstLetterWins", true, "5 pa", 17 * 60},
    {"12h_FirstLetterWinsAm", true, "5 ap", 5 * 60},
    {"12h_HourAbove12Kept", true, "13:15", 13 * 60 + 15},
    {"12h_Hour13PmNotShifted", true, "13:15 pm", 13 * 60 + 15},
    {"12h_OnlyZero", true, "0", -1},
    {"24h_FourDigits", false, "0930", 9 * 60 + 30},
    {"24h_LettersIgnored", false, "9 pm", 9 * 60},
    {"24h_TwelveAmIsNoon", false, "12:00 AM", 12 * 60},
    {"24h_ZeroThirty", false, "0:30", 30},
    {"24h_ZeroZeroThirty", false, "00:30", 30},
    {"24h_OnlyZero", false, "0", 0},
    {"24h_ThreeZeros", false, "000", 0},
    {"24h_LastMinute", false, "23:59", 23 * 60 + 59},
    {"24h_Hour24", false, "24:00", -1},
    {"24h_Minute60", false, "12:60", -1},
    {"24h_ThirdGroupIgnored", false, "10:30:45", 10 * 60 + 30},
    {"24h_LongRunTakesFirstFourDigits", false, "123456789012345", 12 * 60 + 34},
    {"24h_HourBeyond32Bits", false, "99999999999:00", -1},
    {"24h_MinuteBeyond32Bits", false, "1:99999999999", -1},
    {"24h_ManyLeadingZerosKeepTheHour", false, "000000000009:30", 9 * 60 + 30},
    {"24h_ManyLeadingZerosHour37Refused", false, "00000000000037:22", -1},
    {"24h_ManyLeadingZerosMinute", false, "7:000000000000045", 7 * 60 + 45},
    {"24h_LongZeroRunIsZeroHour", false, "00000000000000000000:15", 15},
    {"24h_Empty", false, "", -1},
    {"24h_OnlySeparators", false, " :.-/ ", -1},
    {"24h_OnlyLetters", false, "am", -1},
};

class ParseTime : public ::testing::TestWithParam<TimeCase>
{
};

} // namespace

TEST_P(ParseTime, Case)
{
    const TimeCase &c = GetParam();
    DateTimeFormat f(UnitedStates);
    f.buildTimeFormat(c.twelveHour ? 1 : 2, 0);
    const auto v = parseTimeText(f, QString::fromUtf8(c.text));
    if (c.expectedMinute < 0) {
        EXPECT_FALSE(v) << minuteOfDay(*v);
        return;
    }
    ASSERT_TRUE(v);
    EXPECT_EQ(toMs(*v), qint64(c.expectedMinute) * 60000);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseTime, ::testing::ValuesIn(TimeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(weekdayDateText, TwoLetterDayThenDate)
{
    DateTimeFormat f(UnitedStates);
    f.buildDateFormat(5, 1);
    EXPECT_EQ(weekdayDateText(f, encodeDate(2000, 8, 7)), "Mo 07-08-2000");
    EXPECT_EQ(weekdayDateText(f, encodeDate(2000, 7, 8) + encodeTime(23, 59)), "Sa 08-07-2000");
    EXPECT_EQ(weekdayDateText(f, encodeDate(2000, 7, 9)), "Su 09-07-2000");
    // Before day zero the weekday still follows the calendar (1 Jan 1500 was a Monday in the
    // proleptic Gregorian calendar).
    EXPECT_EQ(weekdayDateText(f, encodeDate(1500, 1, 1) + encodeTime(6, 0)), "Mo 01-01-1500");
    f.buildDateFormat(2, 2);
    EXPECT_EQ(weekdayDateText(f, encodeDate(2000, 7, 8)), "Sa 8/7/2000");
}
