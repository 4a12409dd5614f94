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

QVariantList emptyRow()
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
        ASSERT_TRUE(s.events->CDS.locate(EventsStore::F_ID, id));
        SCOPED_TRACE(s.events->currentSubject().toStdString());
        EXPECT_EQ(s.events->rule(), rule);
        EXPECT_TRUE(nthOccurrenceDay(s.events->rule(), 1).has_value());
    }
}

// The column each member is stored in, form by form (the table in RecurrenceColumns.h).
TEST(RecurrenceColumns, MembersGoToTheColumnsTheFileFormatNames)
{
    using E = EventsStore;
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
        QVariantList row = emptyRow();
        RecurrenceColumns::writeRule(c.rule, row);
        const int fields[] = {E::F_RadioButton1, E::F_RadioButton2, E::F_RadioButton3,
                              E::F_Edit1,        E::F_Edit2,        E::F_Edit3,
                              E::F_ComboBox1,    E::F_ComboBox2,    E::F_ComboBox3,
                              E::F_ComboBox4};
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(row[fields[i]].toInt(), c.columns[i]) << "column " << i;
        EXPECT_EQ(row[E::F_StartTime].toDouble(), c.rule.startTime);
        EXPECT_EQ(row[E::F_EndTime].toDouble(), c.rule.endTime);
    }
    QVariantList row = emptyRow();
    RecurrenceRule r = weekly(1, WeekdaySet{CalendarMath::Monday, CalendarMath::Friday}, Start);
    r.exceptionDays = {45400, 45407};
    RecurrenceColumns::writeRule(r, row);
    EXPECT_EQ(row[E::F_Weekdays].toString(), "0100010");
    EXPECT_EQ(row[E::F_ExceptionList].toByteArray(), "45400,45407");
    r.exceptionDays.clear();
    RecurrenceColumns::writeRule(r, row);
    EXPECT_TRUE(row[E::F_ExceptionList].isNull());
}

// Hand-made rows: each loads, reads as the documented rule, and has no occurrence; a collection
// over the row's days stays empty.
TEST(RecurrenceColumns, DamagedRowsLoadAndGiveNoOccurrences)
{
    using E = EventsStore;
    struct Case {
        const char *name;
        std::vector<std::pair<int, QVariant>> columns; // over a weekly rule on Wednesdays
        std::function<bool(const RecurrenceRule &)> reads;
    };
    const Case cases[] = {
        {"PatternZero",
         {{E::F_RadioButton1, 0}},
         [](const RecurrenceRule &r) { return int(r.pattern) == 0; }},
        {"PatternFive",
         {{E::F_RadioButton1, 5}},
         [](const RecurrenceRule &r) { return int(r.pattern) == 5; }},
        {"PatternNull",
         {{E::F_RadioButton1, QVariant()}},
         [](const RecurrenceRule &r) { return int(r.pattern) == 0; }},
        {"DailyFormThree",
         {{E::F_RadioButton1, 1}, {E::F_RadioButton2, 3}},
         [](const RecurrenceRule &r) { return r.variant == Variant::Unknown; }},
        {"DailyStepZero",
         {{E::F_RadioButton1, 1}, {E::F_Edit1, 0}},
         [](const RecurrenceRule &r) { return r.interval == 0; }},
        {"WeeklyStepMinimum",
         {{E::F_Edit1, INT_MIN}},
         [](const RecurrenceRule &r) { return r.interval == INT_MIN; }},
        {"WeekdaysNone",
         {{E::F_Weekdays, "0000000"}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysTooShort",
         {{E::F_Weekdays, "011"}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysEmpty",
         {{E::F_Weekdays, ""}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysNull",
         {{E::F_Weekdays, QVariant()}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"WeekdaysOtherCharacter",
         {{E::F_Weekdays, "01y1111"}},
         [](const RecurrenceRule &r) { return r.weekdays.isEmpty(); }},
        {"MonthlyFormZero",
         {{E::F_RadioButton1, 3}, {E::F_RadioButton2, 0}},
         [](const RecurrenceRule &r) { return r.variant == Variant::Unknown; }},
        {"MonthlyDayZero",
         {{E::F_RadioButton1, 3}, {E::F_Edit1, 0}, {E::F_Edit2, 1}},
         [](const RecurrenceRule &r) { return r.dayOfMonth == 0 && r.interval == 1; }},
        {"MonthlyOrdinalFive",
         {{E::F_RadioButton1, 3}, {E::F_RadioButton2, 2}, {E::F_ComboBox2, 5}},
         [](const RecurrenceRule &r) { return int(r.ordinal) == 5; }},
        {"MonthlyKindTen",
         {{E::F_RadioButton1, 3}, {E::F_RadioButton2, 2}, {E::F_ComboBox3, 10}},
         [](const RecurrenceRule &r) { return int(r.dayKind) == 10; }},
        {"MonthlyKindNegative",
         {{E::F_RadioButton1, 3}, {E::F_RadioButton2, 2}, {E::F_ComboBox3, -1}},
         [](const RecurrenceRule &r) { return int(r.dayKind) == -1; }},
        {"YearlyMonthTwelve",
         {{E::F_RadioButton1, 4}, {E::F_ComboBox2, 12}, {E::F_Edit1, 5}},
         [](const RecurrenceRule &r) { return r.month == 0; }},
        {"YearlyMonthNegative",
         {{E::F_RadioButton1, 4}, {E::F_RadioButton2, 2}, {E::F_ComboBox4, INT_MIN}},
         [](const RecurrenceRule &r) { return r.month == 0; }},
        {"YearlyMonthMaximum",
         {{E::F_RadioButton1, 4}, {E::F_ComboBox2, INT_MAX}},
         [](const RecurrenceRule &r) { return r.month == 0; }},
    };
    Stores s;
    std::vector<std::pair<int, const Case *>> ids;
    for (const Case &c : cases) {
        // A valid weekly rule on Wednesdays, then the damage.
        QVariantList v = recurring(1, weekly(1, "0001000", Start), c.name);
        for (const auto &[field, value] : c.columns)
            v[field] = value;
        ids.push_back({insert(*s.events, v), &c});
    }
    s.reopen();
    for (const auto &[id, c] : ids) {
        SCOPED_TRACE(c->name);
        ASSERT_TRUE(s.events->CDS.locate(E::F_ID, id));
        const RecurrenceRule r = s.events->rule();
        EXPECT_TRUE(c->reads(r));
        EXPECT_FALSE(nthOccurrenceDay(r, 1).has_value());
        EXPECT_EQ(s.events->expandOccurrences(day(Start) - 400, day(Start) + 400), 0);
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
    Table &t = s.events->CDS;
    const int rec = insert(*s.events, daily(1, at(2024, 3, 4, 22), at(2024, 4, 1, 6), 1, "r", 1));
    const int one = insert(*s.events, oneTime(1, at(2024, 3, 4, 22), at(2024, 3, 6, 6), "o"));
    for (const auto &[id, recurring] : {std::pair{rec, true}, std::pair{one, false}}) {
        SCOPED_TRACE(recurring ? "recurring" : "one-time");
        ASSERT_TRUE(t.locate(EventsStore::F_ID, id));
        EXPECT_EQ(RecurrenceColumns::extraDaysOfRow(t), recurring ? 1 : 0);
        ASSERT_TRUE(t.edit());
        EXPECT_TRUE(RecurrenceColumns::setExtraDaysOfRow(t, 3));
        ASSERT_TRUE(t.post().applied);
        EXPECT_EQ(RecurrenceColumns::extraDaysOfRow(t), recurring ? 3 : 0);
        EXPECT_EQ(s.events->rule().extraDays, recurring ? 3 : 0);
        EXPECT_EQ(t.isNull(EventsStore::F_ComboBox1), !recurring) << "a one-time row stays empty";
    }
}
