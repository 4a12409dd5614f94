#include "core/ViewDates.h"
#include "core/Clock.h"

#include <gtest/gtest.h>

using namespace DateTimeValue;

namespace
{
struct OffsetsCase {
    const char *name;
    QDate from;
    std::array<int, 13> expected;
};
const OffsetsCase OffsetsCases[] = {
    {"JanuaryCommonYear",
     QDate(2001, 1, 20),
     {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365}},
    {"JanuaryLeapYear",
     QDate(2000, 1, 1),
     {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}},
    // Starts in November: crosses the year end into a leap February.
    {"NovemberIntoLeapFebruary",
     QDate(2023, 11, 30),
     {0, 30, 61, 92, 121, 152, 182, 213, 243, 274, 305, 335, 366}},
    {"DecemberIntoCommonFebruary",
     QDate(2024, 12, 31),
     {0, 31, 62, 90, 121, 151, 182, 212, 243, 274, 304, 335, 365}},
    // 1900 is not a leap year (century rule); before day zero.
    {"Century1900NotLeap",
     QDate(1899, 12, 1),
     {0, 31, 62, 90, 121, 151, 182, 212, 243, 274, 304, 335, 365}},
    {"LeapFebruaryFirst",
     QDate(2400, 2, 29),
     {0, 29, 60, 90, 121, 151, 182, 213, 243, 274, 304, 335, 366}},
};
class monthOffsets : public ::testing::TestWithParam<OffsetsCase>
{
};
} // namespace

TEST_P(monthOffsets, RunningTotals)
{
    Clock clock;
    clock.setFixed(QDateTime(QDate(2000, 1, 1), QTime(12, 0)));
    ViewDates t(clock);
    t.computeMonthOffsets(fromQDate(GetParam().from) + encodeTime(23, 0));
    EXPECT_EQ(t.monthOffsets(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, monthOffsets, ::testing::ValuesIn(OffsetsCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ViewDates, CreationUsesTheClocksToday)
{
    Clock clock;
    clock.setFixed(QDateTime(QDate(2024, 2, 10), QTime(8, 0)));
    ViewDates t(clock);
    EXPECT_EQ(t.monthOffsets()[1], 29);
    EXPECT_EQ(t.monthOffsets()[12], 366);
}

TEST(ViewDates, WeekdayLettersFollowStartOfWeek)
{
    QString sunday, monday;
    for (int i = 0; i < 7; ++i) {
        sunday += ViewDates::dayLetterForColumn(0, i);
        monday += ViewDates::dayLetterForColumn(1, i);
    }
    EXPECT_EQ(sunday, "SMTWTFS");
    EXPECT_EQ(monday, "MTWTFSS");
    EXPECT_EQ(ViewDates::dayLetterForColumn(-1, 0), u"S");
}

TEST(ViewDates, clearSelection)
{
    Clock clock;
    ViewDates t(clock);
    t.setSelectionStart(36715.25);
    t.setSelectionEnd(36715.5);
    EXPECT_TRUE(t.hasSelection());
    t.clearSelection();
    EXPECT_EQ(t.selectionStart(), 0.0);
    EXPECT_EQ(t.selectionEnd(), 0.0);
    EXPECT_FALSE(t.hasSelection());
}
