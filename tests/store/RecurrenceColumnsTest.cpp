// The translation between a recurring row's columns and its rule (RecurrenceColumns): every form
// of every pattern survives a write, a save and a load; the columns each member is stored in
// are the ones the file format names; hand-made rows load and give rules without occurrences.
// The rows here are written column by column on purpose.
#include "EventsTestSupport.h"
#include "RuleBuilders.h"

#include "core/CalendarMath.h"
#include "store/RecurrenceColumns.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace EventsTest;
using namespace Rules;

namespace
{

const QDate Start(2024, 3, 6); // a Wednesday

// Every form, with every member it uses set away from its default.
std::vector<std::pair<const char *, RecurrenceRule>> everyForm()
{
    std::vector<std::pair<const char *, RecurrenceRule>> v;
    v.push_back({"EveryNDays", everyNDays(3, Start, QDate(2024, 9, 1))});
    v.push_back({"EveryWorkday", everyWorkday(Start)});
    v.push_back({"EveryNWeeks", weekly(2, "1010101", Start)});
    v.push_back({"DayOfMonth", monthlyOnDay(31, 4, Start)});
    v.push_back({"NthKindOfDayMonthly", monthlyOnKind(4, 1, 5, Start)});
    v.push_back({"FixedDate", yearlyOnDate(12, 29, Start)});
    v.push_back({"NthKindOfDayYearly", yearlyOnKind(3, 9, 11, Start)});
    for (auto &[name, r] : v) {
        r.extraDays = 2;
        r.exceptionDays = {day(Start) + 7, day(Start) + 14};
    }
    v[1].second.endRule = EndRule::AfterCount;
    v[1].second.occurrenceCount = 12;
    return v;
}

EventRow emptyRow()
{
    return oneTime(1, at(2024, 3, 6, 9), at(2024, 3, 6, 10), "raw");
}

} // namespace

TEST(RecurrenceColumns, EveryFormSurvivesWriteSaveAndLoad)
{
    Stores s;
    std::vector<std::pair<int, RecurrenceRule>> written;
    for (const auto &[name, rule] : everyForm())
        written.push_back({insert(*s.events, recurring(1, rule, name)), rule});
    s.reopen();
    for (const auto &[id, rule] : written) {
        const std::optional<EventRow> row = s.events->event(id);
        ASSERT_TRUE(row);
        SCOPED_TRACE(row->subject().toStdString());
        EXPECT_EQ(s.events->rule(id), rule);
        EXPECT_TRUE(nthOccurrenceDay(*s.events->rule(id), 1).has_value());
    }
}

// The column each member is stored in, form by form (the table in RecurrenceColumns.h).
TEST(RecurrenceColumns, MembersGoToTheColumnsTheFileFormatNames)
{
    using E = EventField;
    struct Case {
        const char *name;
        RecurrenceRule rule;
        // RadioButton1..3, Edit1..3, ComboBox1..4
        std::array<int, 10> columns;
    };
    RecurrenceRule counted = everyNDays(3, Start);
    counted.endRule = EndRule::AfterCount;
    counted.occurrenceCount = 8;
    counted.extraDays = 1;
    const Case cases[] = {
        {"EveryNDays", counted, {1, 1, 2, 3, 0, 8, 1, 0, 0, 0}},
        {"EveryWorkday", everyWorkday(Start), {1, 2, 3, 1, 0, 0, 0, 0, 0, 0}},
        {"EveryNWeeks", weekly(2, "0100010", Start), {2, 1, 3, 2, 0, 0, 0, 0, 0, 0}},
        {"DayOfMonth", monthlyOnDay(31, 4, Start), {3, 1, 3, 31, 4, 0, 0, 0, 0, 0}},
        {"NthKindOfDayMonthly", monthlyOnKind(4, 1, 5, Start), {3, 2, 3, 5, 0, 0, 0, 4, 1, 0}},
        {"FixedDate", yearlyOnDate(12, 29, Start), {4, 1, 3, 29, 0, 0, 0, 11, 0, 0}},
        {"NthKindOfDayYearly", yearlyOnKind(3, 9, 11, Start), {4, 2, 3, 0, 0, 0, 0, 3, 9, 10}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EventRow row = emptyRow();
        RecurrenceColumns::writeRule(c.rule, row);
        const EventField fields[] = {EventField::RadioButton1, EventField::RadioButton2,
                                     EventField::RadioButton3, EventField::Edit1,
                                     EventField::Edit2,        EventField::Edit3,
                                     EventField::ComboBox1,    EventField::ComboBox2,
                                     EventField::ComboBox3,    EventField::ComboBox4};
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(row[fields[i]].toInt(), c.columns[i]) << "column " << i;
        EXPECT_EQ(row[E::StartTime].toDouble(), c.rule.startTime);
        EXPECT_EQ(row[E::EndTime].toDouble(), c.rule.endTime);
    }
    EventRow row = emptyRow();
    RecurrenceRule r = weekly(1, WeekdaySet{CalendarMath::Monday, CalendarMath::Friday}, Start);
    r.exceptionDays = {45400, 45407};
    RecurrenceColumns::writeRule(r, row);
    EXPECT_EQ(row[E::Weekdays].toString(), "0100010");
    EXPECT_EQ(row[E::ExceptionList].toByteArray(), "45400,45407");
    r.exceptionDays.clear();
    RecurrenceColumns::writeRule(r, row);
    EXPECT_TRUE(row[E::ExceptionList].isNull());
}

// Hand-made rows: each loads, reads as the documented rule, and has no occurrence; a collection
// over the row's days stays empty.
TEST(RecurrenceColumns, DamagedRowsLoadAndGiveNoOccurrences)
{
    using E = EventField;
    struct Case {
        const char *name;
        std::vector<std::pair<EventField, QVariant>> columns; // over a weekly rule on Wednesdays
        std::function<bool(const RecurrenceRule &)> reads;
    };
    const Case cases[] = {
        {"PatternZero",
         {{E::RadioButton1, 0}},
         [](const RecurrenceRule &r) { return int(r.pattern) == 0; }},
        {"PatternFive",
         {{E::RadioButton1, 5}},
         [](const RecurrenceRule &r) { return int(r.pattern) == 5; }},
        {"PatternNull",
         {{E::RadioButton1, QVariant()}},
         [](const RecurrenceRule &r) { return int(r.pattern) == 0; }},
        {"DailyFormThree",
         {{E::RadioButton1, 1}, {E::RadioButton2, 3}},
         [](const RecurrenceRule &r) { return r.variant == Variant::Unknown; }},
        {"DailyStepZero",
         {{E::RadioButton1, 1}, {E::Edit1, 0}},
         [](const RecurrenceRule &r) { return r.interval == 0; }},
        {"WeeklyStepMinimum",
         {{E::Edit1, INT_MIN}},
         [](const RecurrenceRule &r) { return r.interval == INT_MIN; }},
        {"WeekdaysNone",
         {{E::Weekdays, "0000000"}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysTooShort",
         {{E::Weekdays, "011"}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysEmpty",
         {{E::Weekdays, ""}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysNull",
         {{E::Weekdays, QVariant()}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysOtherCharacter",
         {{E::Weekdays, "01y1111"}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"MonthlyFormZero",
         {{E::RadioButton1, 3}, {E::RadioButton2, 0}},
         [](const RecurrenceRule &r) { return r.variant == Variant::Unknown; }},
        {"MonthlyDayZero",
         {{E::RadioButton1, 3}, {E::Edit1, 0}, {E::Edit2, 1}},
         [](const RecurrenceRule &r) { return r.dayOfMonth == 0 && r.interval == 1; }},
        {"MonthlyOrdinalFive",
         {{E::RadioButton1, 3}, {E::RadioButton2, 2}, {E::ComboBox2, 5}},
         [](const RecurrenceRule &r) { return int(r.ordinal) == 5; }},
        {"MonthlyKindTen",
         {{E::RadioButton1, 3}, {E::RadioButton2, 2}, {E::ComboBox3, 10}},
         [](const RecurrenceRule &r) { return int(r.dayKind) == 10; }},
        {"MonthlyKindNegative",
         {{E::RadioButton1, 3}, {E::RadioButton2, 2}, {E::ComboBox3, -1}},
         [](const RecurrenceRule &r) { return int(r.dayKind) == -1; }},
        {"YearlyMonthTwelve",
         {{E::RadioButton1, 4}, {E::ComboBox2, 12}, {E::Edit1, 5}},
         [](const RecurrenceRule &r) { return r.month == 0; }},
        {"YearlyMonthNegative",
         {{E::RadioButton1, 4}, {E::RadioButton2, 2}, {E::ComboBox4, INT_MIN}},
         [](const RecurrenceRule &r) { return r.month == 0; }},
        {"YearlyMonthMaximum",
         {{E::RadioButton1, 4}, {E::ComboBox2, INT_MAX}},
         [](const RecurrenceRule &r) { return r.month == 0; }},
    };
    Stores s;
    std::vector<std::pair<int, const Case *>> ids;
    for (const Case &c : cases) {
        // A valid weekly rule on Wednesdays, then the damage.
        EventRow v = recurring(1, weekly(1, "0001000", Start), c.name);
        for (const auto &[field, value] : c.columns)
            v[field] = value;
        ids.push_back({insert(*s.events, v), &c});
    }
    s.reopen();
    for (const auto &[id, c] : ids) {
        SCOPED_TRACE(c->name);
        const std::optional<RecurrenceRule> r = s.events->rule(id);
        ASSERT_TRUE(r);
        EXPECT_TRUE(c->reads(*r));
        EXPECT_FALSE(nthOccurrenceDay(*r, 1).has_value());
        EXPECT_EQ(s.events->expandOccurrences(id, day(Start) - 400, day(Start) + 400), 0);
    }
    int items = 0;
    s.events->collectItems({at(2024, 1, 1), at(2025, 1, 1)}, day(QDate(2024, 1, 1)),
                           day(QDate(2025, 1, 1)), [&](const SpanSourceItem &) { ++items; });
    EXPECT_EQ(items, 0);
}

// The extra days of a row, as the record filter and a dragged event's new times use them.
TEST(RecurrenceColumns, ExtraDaysOfARecurringRowOnlyAreReadAndSet)
{
    Stores s;
    const int rec = insert(*s.events, daily(1, at(2024, 3, 4, 22), at(2024, 4, 1, 6), 1, "r", 1));
    const int one = insert(*s.events, oneTime(1, at(2024, 3, 4, 22), at(2024, 3, 6, 6), "o"));
    for (const auto &[id, recurring] : {std::pair{rec, true}, std::pair{one, false}}) {
        SCOPED_TRACE(recurring ? "recurring" : "one-time");
        EventRow row = s.events->event(id).value();
        EXPECT_EQ(RecurrenceColumns::extraDaysOf(row), recurring ? 1 : 0);
        RecurrenceColumns::setExtraDays(row, 3);
        ASSERT_TRUE(s.events->updateEvent(row).ok());
        const EventRow back = s.events->event(id).value();
        EXPECT_EQ(RecurrenceColumns::extraDaysOf(back), recurring ? 3 : 0);
        EXPECT_EQ(s.events->rule(id)->extraDays, recurring ? 3 : 0);
        EXPECT_EQ(back[EventField::ComboBox1].isNull(), !recurring) << "a one-time row stays empty";
    }
}
