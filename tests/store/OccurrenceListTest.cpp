#include "store/OccurrenceList.h"
#include "RuleBuilders.h"

#include <gtest/gtest.h>

using namespace Rules;
using DateTimeValue::encodeTime;

namespace
{

OccurrenceSource source(int id, const QString &subject)
{
    return OccurrenceSource{id, 3, true, subject, subject + " notes"};
}

// A daily rule from `start` whose occurrences run from `from` to `to` (times of day).
RecurrenceRule dailyAt(const QDate &start, SerialDateTime from, SerialDateTime to)
{
    RecurrenceRule r = everyNDays(1, start);
    r.startTime = day(start) + from;
    r.endTime = day(start) + 1000 + to;
    return r;
}

std::vector<int> idsInOrder(const OccurrenceList &list)
{
    std::vector<int> ids;
    for (int pos = 1; pos <= list.count(); ++pos)
        ids.push_back(list.inOrder(pos).id);
    return ids;
}

const QDate May1(2023, 5, 1);

TEST(OccurrenceList, OccurrenceCopiesTheEventAndSpansExtraDays)
{
    OccurrenceList list;
    RecurrenceRule r = dailyAt(May1, encodeTime(22, 0), encodeTime(6, 30));
    r.extraDays = 2;
    EXPECT_EQ(list.addRule(r, source(7, "Night shift"), day(May1) + 5, day(May1) + 6), 3);
    ASSERT_EQ(list.count(), 3);
    const SpanSourceItem &o = list.inOrder(1);
    EXPECT_TRUE(o.isOccurrence);
    EXPECT_EQ(o.id, 7);
    EXPECT_EQ(o.layer, 3);
    EXPECT_TRUE(o.alarmSet);
    EXPECT_EQ(o.subject, "Night shift");
    EXPECT_EQ(o.description, "Night shift notes");
    EXPECT_EQ(o.startTime, day(May1) + 3 + encodeTime(22, 0)) << "two days before the span";
    EXPECT_EQ(o.endTime, day(May1) + 5 + encodeTime(6, 30));
    EXPECT_EQ(list.slot(1).startTime, o.startTime) << "slots are numbered from 1";
}

TEST(OccurrenceList, RunsMergeByStartThenLongerFirstThenSubject)
{
    OccurrenceList list;
    const int first = day(May1), end = first + 2;
    list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(1, "b"), first, end);
    list.addRule(dailyAt(May1, encodeTime(8, 0), encodeTime(9, 0)), source(2, "z"), first, end);
    list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(11, 0)), source(3, "z"), first, end);
    list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(4, "A"), first, end);
    list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(5, "c"), first, end);
    // Per day: 8:00 first; at 9:00 the longer one; then subjects A < b < c.
    EXPECT_EQ(idsInOrder(list), (std::vector<int>{2, 3, 4, 1, 5, 2, 3, 4, 1, 5}));
    EXPECT_EQ(list.orderAt(1), 3) << "the 8:00 occurrence of 1 May is slot 3";
}

TEST(OccurrenceList, FullTieTakesTheNewRunFirst)
{
    OccurrenceList list;
    const int first = day(May1);
    list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(1, "Same"), first,
                 first + 1);
    list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(2, "Same"), first,
                 first + 1);
    EXPECT_EQ(idsInOrder(list), (std::vector<int>{2, 1}));
}

TEST(OccurrenceList, SubjectsCompareWithTheProgramsTextOrder)
{
    OccurrenceList list;
    const int first = day(May1);
    for (auto [id, subject] : {std::pair{1, "banana"}, {2, "Banana"}, {3, "apple"}})
        list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(id, subject), first,
                     first + 1);
    EXPECT_EQ(idsInOrder(list), (std::vector<int>{3, 2, 1}));
}

TEST(OccurrenceList, HoldsAtMostFiveHundredAndDropsTheRestSilently)
{
    OccurrenceList list;
    const int first = day(May1);
    EXPECT_EQ(list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(1, "a"),
                           first, first + 300),
              300);
    EXPECT_EQ(list.addRule(dailyAt(May1, encodeTime(8, 0), encodeTime(10, 0)), source(2, "b"),
                           first, first + 300),
              200);
    EXPECT_TRUE(list.isFull());
    EXPECT_EQ(list.addRule(dailyAt(May1, encodeTime(7, 0), encodeTime(10, 0)), source(3, "c"),
                           first, first + 300),
              0);
    ASSERT_EQ(list.count(), OccurrenceList::Capacity);
    // The first 500 met: all 300 of rule 1 and the first 200 days of rule 2, merged in order.
    EXPECT_EQ(list.inOrder(1).id, 2);
    EXPECT_EQ(list.inOrder(2).id, 1);
    EXPECT_EQ(list.inOrder(401).id, 1);
    EXPECT_EQ(list.inOrder(401).startTime, first + 200 + encodeTime(9, 0));
    std::vector<bool> seen(OccurrenceList::Capacity + 1, false);
    for (int pos = 1; pos <= list.count(); ++pos) {
        ASSERT_FALSE(seen[list.orderAt(pos)]);
        seen[list.orderAt(pos)] = true;
    }
}

TEST(OccurrenceList, ClearEmptiesForTheNextCollection)
{
    OccurrenceList list;
    const int first = day(May1);
    list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(1, "a"), first,
                 first + 600);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.addRule(dailyAt(May1, encodeTime(9, 0), encodeTime(10, 0)), source(2, "b"),
                           first, first + 3),
              3);
    EXPECT_EQ(idsInOrder(list), (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(list.orderAt(1), 1);
}

TEST(OccurrenceList, AddRunMergesAndStopsAtCapacity)
{
    OccurrenceList list;
    std::vector<SpanSourceItem> run(3);
    for (int i = 0; i < 3; ++i) {
        run[i].id = 10 + i;
        run[i].startTime = 100 + 2 * i;
        run[i].endTime = run[i].startTime + 0.5;
    }
    EXPECT_EQ(list.addRun(run), 3);
    for (auto &o : run) {
        o.id += 10;
        o.startTime += 1;
        o.endTime += 1;
    }
    EXPECT_EQ(list.addRun(run), 3);
    EXPECT_EQ(idsInOrder(list), (std::vector<int>{10, 20, 11, 21, 12, 22}));
    EXPECT_TRUE(list.inOrder(1).isOccurrence) << "a run is stored as occurrences";
    std::vector<SpanSourceItem> big(600, run[0]);
    EXPECT_EQ(list.addRun(big), OccurrenceList::Capacity - 6);
    EXPECT_EQ(list.addRun(run), 0);
}

} // namespace
