#include "store/ExceptionList.h"

#include <gtest/gtest.h>

namespace
{

using Days = std::vector<int>;

struct ParseCase {
    const char *name;
    QByteArray text;
    Days days;
};

class ExceptionListParse : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ExceptionListParse, GivesTheDaysAscending)
{
    EXPECT_EQ(parseExceptionList(GetParam().text), GetParam().days);
}

INSTANTIATE_TEST_SUITE_P(
    ExceptionList, ExceptionListParse,
    testing::Values(
        ParseCase{"NullText", QByteArray(), Days{}}, ParseCase{"EmptyText", QByteArray(""), Days{}},
        ParseCase{"OneDay", "45123", Days{45123}},
        ParseCase{"SeveralDaysInAnyOrder", "45130,45123,45127", Days{45123, 45127, 45130}},
        ParseCase{"RepeatedDayOnce", "45123,45123", Days{45123}},
        ParseCase{"DaysBeforeDayZero", "-5,3", Days{-5, 3}},
        ParseCase{"EmptyTokensSkipped", ",45123,,45124,", Days{45123, 45124}},
        ParseCase{"LettersSkipped", "45123,abc,4x5,45124", Days{45123, 45124}},
        ParseCase{"SignAloneSkipped", "-,+,45124", Days{45124}},
        ParseCase{"FractionSkipped", "45123.5,45124", Days{45124}},
        ParseCase{"OutOfIntRangeSkipped", "99999999999,-99999999999,7", Days{7}},
        ParseCase{"BlanksAroundTokensTolerated", " 45123 ,45124\r\n", Days{45123, 45124}},
        ParseCase{"OnlyCommas", ",,,", Days{}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ExceptionList, AppendAddsAtTheEndWithAComma)
{
    EXPECT_EQ(appendExceptionDay(QByteArray(), 45123), QByteArray("45123"));
    EXPECT_EQ(appendExceptionDay("", 45123), QByteArray("45123"));
    EXPECT_EQ(appendExceptionDay("45130", 45123), QByteArray("45130,45123"));
    EXPECT_EQ(appendExceptionDay("45130,45123", -2), QByteArray("45130,45123,-2"));
}

TEST(ExceptionList, AppendingADayAlreadyListedChangesNothing)
{
    EXPECT_EQ(appendExceptionDay("45130,45123", 45123), QByteArray("45130,45123"));
}

TEST(ExceptionList, AppendToDamagedTextKeepsItAndStaysReadable)
{
    const QByteArray text = appendExceptionDay("45130,junk", 45123);
    EXPECT_EQ(text, QByteArray("45130,junk,45123"));
    EXPECT_EQ(parseExceptionList(text), (Days{45123, 45130}));
}

} // namespace
