#include "core/ViewSpan.h"
#include "core/ViewState.h"

#include <gtest/gtest.h>

namespace
{
SerialDateTime day(int y, int m, int d)
{
    return DateTimeValue::encodeDate(y, m, d);
}

struct SpanCase {
    const char *name;
    int kind;
    SerialDateTime selected;
    int startOfWeek;
    SerialDateTime first;
    int days;
};

class ViewSpanTest : public testing::TestWithParam<SpanCase>
{
};

TEST_P(ViewSpanTest, FirstDayAndLength)
{
    const SpanCase &c = GetParam();
    const ViewSpan s = ViewSpans::viewSpan(c.kind, c.selected, c.startOfWeek);
    EXPECT_EQ(s.first, c.first) << DateTimeValue::toQDate(s.first).toString().toStdString();
    EXPECT_EQ(s.days(), c.days);
}

// 9 Aug 2000 is a Wednesday, 13 Aug 2000 a Sunday, 1 Feb 2015 a Sunday.
INSTANTIATE_TEST_SUITE_P(
    Views, ViewSpanTest,
    testing::Values(
        SpanCase{"DayIsTheSelectedDay", ViewDay, day(2000, 8, 9) + 0.75, 0, day(2000, 8, 9), 1},
        SpanCase{"ThreeDaysStartOnTheSelectedDay", 2, day(2000, 8, 9), 0, day(2000, 8, 9), 3},
        SpanCase{"SevenDays", View7Days, day(2000, 12, 30), 1, day(2000, 12, 30), 7},
        SpanCase{"WorkWeekSundayStart", ViewWorkWeek, day(2000, 8, 9), 0, day(2000, 8, 7), 5},
        SpanCase{"WorkWeekMondayStart", ViewWorkWeek, day(2000, 8, 9), 1, day(2000, 8, 7), 5},
        SpanCase{"WorkWeekOfASundayInASundayWeek", ViewWorkWeek, day(2000, 8, 13), 0,
                 day(2000, 8, 14), 5},
        SpanCase{"WorkWeekOfASundayInAMondayWeek", ViewWorkWeek, day(2000, 8, 13), 1,
                 day(2000, 8, 7), 5},
        SpanCase{"WeekSundayStart", ViewWeek, day(2000, 8, 9), 0, day(2000, 8, 6), 7},
        SpanCase{"WeekMondayStart", ViewWeek, day(2000, 8, 9), 1, day(2000, 8, 7), 7},
        SpanCase{"WeekOfItsFirstDay", ViewWeek, day(2000, 8, 13), 0, day(2000, 8, 13), 7},
        SpanCase{"WeekOfItsLastDay", ViewWeek, day(2000, 8, 13), 1, day(2000, 8, 7), 7},
        SpanCase{"MonthOfFebruaryStartingOnTheWeekStart", ViewMonth, day(2015, 2, 14), 0,
                 day(2015, 2, 1), 42},
        SpanCase{"MonthWhoseFirstIsTheWeeksLastDay", ViewMonth, day(2015, 2, 14), 1,
                 day(2015, 1, 26), 42},
        SpanCase{"FourWeeksFromTheSelectedWeek", 12, day(2000, 8, 9), 1, day(2000, 8, 7), 28},
        SpanCase{"LeapYear", ViewYear, day(2000, 8, 9), 0, day(2000, 1, 1), 366},
        SpanCase{"TwelveMonthsOverNewYear", View12Months, day(2000, 11, 15), 0, day(2000, 11, 1),
                 365},
        SpanCase{"TasksShowNoDates", ViewTasks, day(2000, 8, 9), 0, 0, 0}),
    [](const auto &info) { return std::string(info.param.name); });

struct StepCase {
    const char *name;
    int kind;
    SerialDateTime from;
    int direction;
    SerialDateTime to;
};

class NavigationStepTest : public testing::TestWithParam<StepCase>
{
};

TEST_P(NavigationStepTest, SelectedDateAfterOneStep)
{
    const StepCase &c = GetParam();
    EXPECT_EQ(ViewSpans::navigationStep(c.kind, c.from, c.direction), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Views, NavigationStepTest,
    testing::Values(StepCase{"ThreeDaysMoveOneDay", 2, day(2000, 8, 9), 1, day(2000, 8, 10)},
                    StepCase{"DayBackOverNewYear", ViewDay, day(2001, 1, 1), -1, day(2000, 12, 31)},
                    StepCase{"WorkWeekMovesSeven", ViewWorkWeek, day(2000, 8, 9), 1,
                             day(2000, 8, 16)},
                    StepCase{"WeekBackSeven", ViewWeek, day(2000, 8, 9), -1, day(2000, 8, 2)},
                    StepCase{"TwoWeeksMoveSeven", View2Weeks, day(2000, 8, 9), 1, day(2000, 8, 16)},
                    StepCase{"MonthFrom31JanIntoLeapFebruary", ViewMonth, day(2000, 1, 31), 1,
                             day(2000, 2, 29)},
                    StepCase{"MonthBackFrom31MarIntoCommonFebruary", ViewMonth, day(2001, 3, 31),
                             -1, day(2001, 2, 28)},
                    StepCase{"MonthKeepsTheDay", ViewMonth, day(2000, 1, 15), 1, day(2000, 2, 15)},
                    StepCase{"SixMonthsStepOneMonthOverNewYear", View6Months, day(2000, 12, 31), 1,
                             day(2001, 1, 31)},
                    StepCase{"YearFromLeapDay", ViewYear, day(2000, 2, 29), 1, day(2001, 2, 28)},
                    StepCase{"TasksDoNotMove", ViewTasks, day(2000, 8, 9), 1, day(2000, 8, 9)}),
    [](const auto &info) { return std::string(info.param.name); });

struct LabelCase {
    const char *name;
    int kind;
    SerialDateTime selected;
    int startOfWeek;
    const char *label;
};

class DateLabelTest : public testing::TestWithParam<LabelCase>
{
};

TEST_P(DateLabelTest, Text)
{
    const LabelCase &c = GetParam();
    const ViewSpan s = ViewSpans::viewSpan(c.kind, c.selected, c.startOfWeek);
    EXPECT_EQ(ViewSpans::dateLabel(c.kind, s).toStdString(), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Views, DateLabelTest,
    testing::Values(LabelCase{"Day", ViewDay, day(2000, 8, 9), 0, "9 Aug  2000"},
                    LabelCase{"ThreeDaysOverNewYearTakeTheLastYear", 2, day(2000, 12, 30), 0,
                              "30 Dec  -  1 Jan  2001"},
                    LabelCase{"Week", ViewWeek, day(2000, 8, 9), 0, "6 Aug  -  12 Aug  2000"},
                    LabelCase{"WorkWeekOverAMonthEnd", ViewWorkWeek, day(2000, 8, 30), 1,
                              "28 Aug  -  1 Sep  2000"},
                    LabelCase{"MonthNamesTheCalendarMonthNotTheFirstCell", ViewMonth,
                              day(2015, 2, 14), 1, "February  2015"},
                    LabelCase{"Year", ViewYear, day(2000, 8, 9), 0, "2000"},
                    LabelCase{"ThreeMonthsInOneYear", View3Months, day(2000, 3, 20), 0,
                              "March - May  2000"},
                    LabelCase{"TwelveMonthsOverTwoYears", View12Months, day(2000, 11, 5), 0,
                              "Nov  2000 - Oct  2001"},
                    LabelCase{"TasksHaveNoLabel", ViewTasks, day(2000, 8, 9), 0, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ViewNames, MenuAndTabTexts)
{
    EXPECT_EQ(ViewSpans::viewName(0), "Day");
    EXPECT_EQ(ViewSpans::viewName(1), "2 Days");
    EXPECT_EQ(ViewSpans::viewName(6), "7 Days");
    EXPECT_EQ(ViewSpans::viewName(7), "Work Week");
    EXPECT_EQ(ViewSpans::viewName(10), "2 Weeks");
    EXPECT_EQ(ViewSpans::viewName(14), "6 Weeks");
    EXPECT_EQ(ViewSpans::viewName(16), "3 Months");
    EXPECT_EQ(ViewSpans::viewName(18), "12 Months");
    EXPECT_EQ(ViewSpans::viewName(20), "");
    EXPECT_EQ(ViewSpans::viewName(-1), "");
}
} // namespace
