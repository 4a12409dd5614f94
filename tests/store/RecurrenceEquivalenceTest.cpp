// The fast expansion and NthOccurrenceDate against the plain step-by-step walk, on generated
// rules and spans, and rules that cannot advance.
#include "RecurrenceReference.h"
#include "RuleBuilders.h"
#include "store/RecurrenceRule.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <cmath>
#include <limits>
#include <random>

using namespace Rules;

namespace
{

QString describe(const RecurrenceRule &r)
{
    return QStringLiteral(
               "pattern %1/%2 E1=%3 E2=%4 C1=%5 C2=%6 C3=%7 C4=%8 W=%9 start %10 end %11")
        .arg(r.RadioButton1)
        .arg(r.RadioButton2)
        .arg(r.Edit1)
        .arg(r.Edit2)
        .arg(r.ComboBox1)
        .arg(r.ComboBox2)
        .arg(r.ComboBox3)
        .arg(r.ComboBox4)
        .arg(r.Weekdays)
        .arg(date(int(std::floor(r.startTime))).toString(Qt::ISODate))
        .arg(date(int(std::floor(r.endTime))).toString(Qt::ISODate));
}

class RuleGenerator
{
public:
    explicit RuleGenerator(unsigned seed) : m_rng(seed) {}

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

    // A rule near `around`, mostly valid; about one in twenty breaks a field.
    RecurrenceRule rule(int around)
    {
        const int pattern = pick(1, 4);
        const int variant = pattern == 2 ? 1 : pick(1, 2);
        const int start = around + pick(-4000, 400);
        const int end = pick(0, 3) == 0 ? start + 100000 : start + pick(-20, 5000);
        RecurrenceRule r = base(pattern, variant, date(start), date(end));
        r.Edit1 = pick(1, pattern == 3 && variant == 1 ? 33 : pattern == 4 ? 31 : 5);
        r.Edit2 = pick(1, 14);
        r.ComboBox1 = pick(0, 3) == 0 ? pick(0, 40) : 0;
        r.ComboBox2 = pick(0, pattern == 4 && variant == 1 ? 11 : 4);
        r.ComboBox3 = pick(0, 9);
        r.ComboBox4 = pick(0, 11);
        r.Weekdays.clear();
        while (!r.Weekdays.contains(u'1')) {
            r.Weekdays.clear();
            for (int i = 0; i < 7; ++i)
                r.Weekdays += pick(0, 2) == 0 ? u'1' : u'0';
        }
        for (int i = pick(0, 3); i > 0; --i)
            r.exceptionDays.push_back(around + pick(-60, 60));
        std::sort(r.exceptionDays.begin(), r.exceptionDays.end());
        if (pick(0, 19) == 0) breakOneField(r);
        return r;
    }

private:
    void breakOneField(RecurrenceRule &r)
    {
        switch (pick(0, 7)) {
        case 0:
            r.Edit1 = pick(-3, 0);
            break;
        case 1:
            r.Edit2 = pick(-3, 0);
            break;
        case 2:
            r.Weekdays = "0000000";
            break;
        case 3:
            r.Weekdays = "01x0000";
            break;
        case 4:
            r.ComboBox2 = pick(5, 12);
            break;
        case 5:
            r.ComboBox3 = pick(10, 11);
            break;
        case 6:
            r.ComboBox4 = -1;
            break;
        case 7:
            r.RadioButton2 = pick(3, 4);
            break;
        }
    }

    std::mt19937 m_rng;
};

TEST(RecurrenceEquivalence, ExpansionEqualsTheStepwiseWalkOnGeneratedRulesAndSpans)
{
    RuleGenerator gen(20240229u);
    const int today = day(QDate(2026, 3, 15));
    int nonEmpty = 0;
    for (int i = 0; i < 4000; ++i) {
        const RecurrenceRule r = gen.rule(today);
        const int first = today + gen.pick(-400, 400);
        const int length = gen.pick(0, 4) == 0 ? gen.pick(0, 800) : gen.pick(1, 42);
        const int maxCount = gen.pick(0, 5) == 0 ? gen.pick(0, 10) : 500;
        std::vector<int> fast;
        expandOccurrenceDays(r, first, first + length, maxCount, fast);
        const std::vector<int> slow = Reference::expand(r, first, first + length, maxCount);
        nonEmpty += slow.empty() ? 0 : 1;
        ASSERT_EQ(fast, slow) << "case " << i << ": " << qPrintable(describe(r)) << " span "
                              << qPrintable(date(first).toString(Qt::ISODate)) << " + " << length
                              << " max " << maxCount;
    }
    EXPECT_GT(nonEmpty, 1500) << "the generator should mostly produce spans with occurrences";
}

TEST(RecurrenceEquivalence, NthOccurrenceEqualsTheStepwiseWalk)
{
    RuleGenerator gen(7u);
    const int today = day(QDate(2026, 3, 15));
    for (int i = 0; i < 3000; ++i) {
        const RecurrenceRule r = gen.rule(today);
        const std::vector<int> walk = Reference::firstOccurrences(r, 40);
        for (int n = 1; n <= 40; ++n) {
            const std::optional<int> fast = nthOccurrenceDay(r, n);
            if (walk.empty()) {
                ASSERT_FALSE(fast.has_value()) << qPrintable(describe(r));
                break;
            }
            ASSERT_EQ(fast, std::optional<int>(walk[n - 1]))
                << "n " << n << ": " << qPrintable(describe(r));
        }
    }
}

// Rules that cannot advance, each with a reason.
struct BrokenRule {
    const char *name;
    RecurrenceRule rule;
};

std::vector<BrokenRule> brokenRules()
{
    const QDate s(2026, 3, 2);
    std::vector<BrokenRule> v;
    auto add = [&](const char *name, RecurrenceRule r) { v.push_back({name, r}); };
    add("DailyStepZero", everyNDays(0, s));
    add("DailyStepNegative", everyNDays(-5, s));
    add("WeeklyStepZero", weekly(0, "0100000", s));
    add("WeeklyNoWeekdaySet", weekly(1, "0000000", s));
    add("WeekdaysTooShort", weekly(1, "011", s));
    add("WeekdaysEmpty", weekly(1, "", s));
    add("WeekdaysOtherCharacter", weekly(1, "01y0000", s));
    add("WeekdaysTooLong", weekly(1, "01000001", s));
    add("MonthlyDayZero", monthlyOnDay(0, 1, s));
    add("MonthlyDayNegative", monthlyOnDay(-3, 1, s));
    add("MonthlyStepZero", monthlyOnDay(15, 0, s));
    add("MonthlyKindStepNegative", monthlyOnKind(0, 1, -1, s));
    add("MonthlyOrdinalTooLarge", monthlyOnKind(5, 1, 1, s));
    add("MonthlyKindTooLarge", monthlyOnKind(0, 10, 1, s));
    add("MonthlyKindNegative", monthlyOnKind(0, -1, 1, s));
    add("YearlyMonthTwelve", yearlyOnDate(13, 5, s));
    add("YearlyMonthNegative", yearlyOnDate(0, 5, s));
    add("YearlyDayZero", yearlyOnDate(3, 0, s));
    add("YearlyKindMonthTooLarge", yearlyOnKind(0, 3, 13, s));
    add("YearlyKindOrdinalNegative", yearlyOnKind(-1, 3, 5, s));
    RecurrenceRule r = everyNDays(1, s);
    r.RadioButton1 = 5;
    add("UnknownPattern", r);
    r = everyNDays(1, s);
    r.RadioButton2 = 3;
    add("UnknownDailyVariant", r);
    r = monthlyOnDay(5, 1, s);
    r.RadioButton2 = 0;
    add("UnknownMonthlyVariant", r);
    r = everyNDays(1, s);
    r.startTime = std::numeric_limits<double>::quiet_NaN();
    add("StartNotANumber", r);
    r.startTime = std::numeric_limits<double>::infinity();
    add("StartInfinite", r);
    r.startTime = 1e300;
    add("StartFarFuture", r);
    r.startTime = -1e300;
    add("StartFarPast", r);
    r = everyNDays(1, s);
    r.endTime = std::numeric_limits<double>::quiet_NaN();
    add("EndNotANumber", r);
    return v;
}

TEST(RecurrenceDegenerate, RulesThatCannotAdvanceYieldNothingAndReturn)
{
    for (const BrokenRule &b : brokenRules()) {
        SCOPED_TRACE(b.name);
        const RecurrenceRule &r = b.rule;
        std::vector<int> days;
        EXPECT_EQ(expandOccurrenceDays(r, -1000000, 3000000, 500, days), 0);
        EXPECT_TRUE(days.empty());
        if (std::string(b.name) == "EndNotANumber")
            continue; // NthOccurrenceDate does not look at the end
        for (int n : {1, 2, 1000, std::numeric_limits<int>::max()}) {
            EXPECT_EQ(NthOccurrenceDate(r.RadioButton1, r.RadioButton2, r.Weekdays, r.ComboBox4,
                                        r.ComboBox3, r.ComboBox2, n, r.Edit2, r.Edit1, r.startTime),
                      0);
            EXPECT_FALSE(nthOccurrenceDay(r, n).has_value());
        }
    }
}

TEST(RecurrenceDegenerate, HugeArgumentsStayBounded)
{
    const QDate s(2026, 3, 2);
    const std::vector<RecurrenceRule> rules{
        everyNDays(std::numeric_limits<int>::max(), s),
        everyWorkday(s),
        weekly(std::numeric_limits<int>::max(), "1111111", s),
        weekly(1, "0000001", s),
        monthlyOnDay(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), s),
        monthlyOnKind(4, 2, std::numeric_limits<int>::max(), s),
        yearlyOnDate(2, 29, s),
        yearlyOnKind(4, 9, 12, s)};
    for (const RecurrenceRule &r : rules) {
        SCOPED_TRACE(qPrintable(describe(r)));
        // Past 31 Dec 9999 there is no occurrence.
        EXPECT_FALSE(nthOccurrenceDay(r, std::numeric_limits<int>::max()).has_value());
        EXPECT_TRUE(nthOccurrenceDay(r, 1).has_value());
        EXPECT_EQ(nthOccurrenceDay(r, 0), std::nullopt);
        EXPECT_EQ(nthOccurrenceDay(r, -7), std::nullopt);
        // The widest span and a reach-back of every day still stop at maxCount.
        RecurrenceRule wide = r;
        wide.endTime = 1e300;
        wide.ComboBox1 = std::numeric_limits<int>::max();
        std::vector<int> days;
        expandOccurrenceDays(wide, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                             500, days);
        EXPECT_GE(days.size(), 1u);
        EXPECT_LE(days.size(), 500u);
        wide.ComboBox1 = std::numeric_limits<int>::min();
        days.clear();
        expandOccurrenceDays(wide, std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                             500, days);
        EXPECT_TRUE(days.empty());
    }
}

// A rule begun in the year 1 costs no more to expand over one week than one begun yesterday.
// A walk from its start would take about 740,000 steps per expansion.
TEST(RecurrenceSpeed, RuleBegunInYearOneExpandsOverAWeekWithoutWalkingFromItsStart)
{
    const QDate origin(1, 1, 1);
    const std::vector<RecurrenceRule> rules{
        everyNDays(1, origin),         everyWorkday(origin),           weekly(3, "0101010", origin),
        monthlyOnDay(31, 1, origin),   monthlyOnKind(4, 1, 1, origin), yearlyOnDate(2, 29, origin),
        yearlyOnKind(3, 7, 11, origin)};
    const int first = day(QDate(2026, 3, 2));
    QElapsedTimer timer;
    timer.start();
    std::vector<int> days;
    for (int i = 0; i < 2000; ++i)
        for (RecurrenceRule r : rules) {
            r.endTime = 1e7;
            days.clear();
            expandOccurrenceDays(r, first, first + 7 + i % 300, 500, days);
        }
    EXPECT_LT(timer.elapsed(), 1000);
    RecurrenceRule daily = rules[0];
    daily.endTime = 1e7;
    days.clear();
    expandOccurrenceDays(daily, first, first + 7, 500, days);
    EXPECT_EQ(days.size(), 7u);
}

} // namespace
