// The fast expansion and nthOccurrenceDay against the plain step-by-step walk, on generated
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
    return QStringLiteral("pattern %1 variant %2 interval %3 day %4 extra %5 ordinal %6 kind %7 "
                          "month %8 weekdays %9 start %10 end %11")
        .arg(int(r.pattern))
        .arg(int(r.variant))
        .arg(r.interval)
        .arg(r.dayOfMonth)
        .arg(r.extraDays)
        .arg(int(r.ordinal))
        .arg(int(r.dayKind))
        .arg(r.month)
        .arg(r.weekdays.text())
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
        static constexpr Pattern Patterns[4] = {Pattern::Daily, Pattern::Weekly, Pattern::Monthly,
                                                Pattern::Yearly};
        static constexpr Variant Forms[4][2] = {{Variant::EveryNDays, Variant::EveryWorkday},
                                                {Variant::EveryNWeeks, Variant::EveryNWeeks},
                                                {Variant::DayOfMonth, Variant::NthKindOfDay},
                                                {Variant::FixedDate, Variant::NthKindOfDay}};
        const int p = pick(0, 3);
        const Pattern pattern = Patterns[p];
        const Variant variant = Forms[p][pick(0, 1)];
        const int start = around + pick(-4000, 400);
        const int end = pick(0, 3) == 0 ? start + 100000 : start + pick(-20, 5000);
        RecurrenceRule r = base(pattern, variant, date(start), date(end));
        r.interval = variant == Variant::DayOfMonth ? pick(1, 14) : pick(1, 5);
        r.dayOfMonth = pick(1, pattern == Pattern::Monthly ? 33 : 31);
        r.extraDays = pick(0, 3) == 0 ? pick(0, 40) : 0;
        r.ordinal = Ordinal(pick(0, 4));
        r.dayKind = DayKind(pick(0, 9));
        r.month = pick(1, 12);
        while (r.weekdays.isEmpty())
            for (int dow = 1; dow <= 7; ++dow)
                if (pick(0, 2) == 0) r.weekdays.insert(dow);
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
            r.interval = pick(-3, 0);
            break;
        case 1:
            r.dayOfMonth = pick(-3, 0);
            break;
        case 2:
            r.weekdays = {};
            break;
        case 3: // a form of another pattern
            r.variant = r.pattern == Pattern::Yearly ? Variant::EveryWorkday : Variant::FixedDate;
            break;
        case 4:
            r.ordinal = Ordinal(pick(5, 12));
            break;
        case 5:
            r.dayKind = DayKind(pick(0, 1) == 0 ? pick(10, 11) : -1);
            break;
        case 6:
            r.month = pick(0, 1) == 0 ? 0 : 13;
            break;
        case 7:
            r.variant = Variant::Unknown;
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
    add("WeeklyNoWeekdaySet", weekly(1, WeekdaySet{}, s));
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
    r.pattern = Pattern(5);
    add("UnknownPattern", r);
    r.pattern = Pattern(0);
    add("PatternZero", r);
    r = everyNDays(1, s);
    r.variant = Variant::Unknown;
    add("UnknownDailyVariant", r);
    r = monthlyOnDay(5, 1, s);
    r.variant = Variant::Unknown;
    add("UnknownMonthlyVariant", r);
    r = monthlyOnDay(5, 1, s);
    r.variant = Variant::FixedDate;
    add("MonthlyWithAYearlyForm", r);
    r = yearlyOnDate(3, 5, s);
    r.variant = Variant::DayOfMonth;
    add("YearlyWithAMonthlyForm", r);
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
            continue; // nthOccurrenceDay does not look at the end
        for (int n : {1, 2, 1000, std::numeric_limits<int>::max()})
            EXPECT_FALSE(nthOccurrenceDay(r, n).has_value());
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
        wide.extraDays = std::numeric_limits<int>::max();
        std::vector<int> days;
        expandOccurrenceDays(wide, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                             500, days);
        EXPECT_GE(days.size(), 1u);
        EXPECT_LE(days.size(), 500u);
        wide.extraDays = std::numeric_limits<int>::min();
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
