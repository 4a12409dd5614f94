// Leaving one occurrence out of a recurring event, and breaking it out as a one-time event:
// what is refused, what the rows hold afterwards, in memory and in the file, and that a
// break-out reaches the file in one write. (Leaving a day out through the window's popup is
// driven in tests/ui.)
#include "EventsTestSupport.h"

#include "store/ExceptionList.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFile>

using namespace EventsTest;

namespace
{

int dayNumber(int y, int m, int d)
{
    return int(DateTimeValue::encodeDate(y, m, d));
}

bool sameTime(SerialDateTime a, SerialDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

// Start days of the event's occurrences in [first, end).
std::vector<int> occurrenceDays(EventsStore &ev, int id, int first, int end)
{
    std::vector<int> days;
    expandOccurrenceDays(ev.rule(id).value(), first, end, 100, days);
    return days;
}

// Every one-time event, as rows.
std::vector<EventRow> oneTimeRows(EventsStore &ev)
{
    std::vector<EventRow> rows;
    ev.forEachEvent([&](const EventRow &r) {
        if (!r.isRecurring()) rows.push_back(r);
    });
    return rows;
}

} // namespace

TEST(SingleOccurrence, DaysWithoutAnOccurrenceAndOneTimeEventsAreRefusedUnchanged)
{
    Stores s;
    // Every second day from Sunday 10 March to 20 March.
    const int rule =
        insert(*s.events, daily(1, at(2024, 3, 10, 9), at(2024, 3, 20, 10), 2, "Every other"));
    const int single =
        insert(*s.events, oneTime(1, at(2024, 3, 12, 9), at(2024, 3, 12, 10), "Once"));
    const EventRow before = s.events->event(rule).value();
    const EventRow singleBefore = s.events->event(single).value();

    struct Case {
        const char *what;
        int id;
        int day;
    };
    const Case cases[] = {
        {"a day the rule skips", rule, dayNumber(2024, 3, 11)},
        {"before the rule starts", rule, dayNumber(2024, 3, 8)},
        {"after the rule ends", rule, dayNumber(2024, 3, 22)},
        {"a one-time event", single, dayNumber(2024, 3, 12)},
        {"no such event", 9999, dayNumber(2024, 3, 12)},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(s.events->excludeOccurrence(c.id, c.day).applied) << c.what;
        EXPECT_FALSE(s.events->breakOutOccurrence(c.id, c.day).applied()) << c.what;
    }
    // An occurrence already left out has nothing to break out any more.
    ASSERT_TRUE(s.events->excludeOccurrence(rule, dayNumber(2024, 3, 14)).ok());
    EXPECT_FALSE(s.events->breakOutOccurrence(rule, dayNumber(2024, 3, 14)).applied());
    EXPECT_FALSE(s.events->excludeOccurrence(rule, dayNumber(2024, 3, 14)).applied);

    EXPECT_EQ(s.events->eventCount(), 2);
    EXPECT_EQ(s.events->event(single).value(), singleBefore);
    EventRow expected = before;
    expected[EventField::ExceptionList] = QByteArray::number(dayNumber(2024, 3, 14));
    EXPECT_EQ(s.events->event(rule).value(), expected);
}

TEST(SingleOccurrence, BreakOutLeavesTheSeriesWithoutTheDayAndAddsItAsAOneTimeEvent)
{
    Stores s;
    EventRow series = daily(2, at(2024, 3, 10, 9), at(2024, 3, 20, 10), 1, "Stand-up");
    series[EventField::AllDay] = true;
    series[EventField::AlarmSet] = true;
    series[EventField::AlarmAdvance] = 2;
    series[EventField::AlarmAdvanceUnit] = 2;
    series[EventField::ExceptionList] = QByteArray::number(dayNumber(2024, 3, 11));
    series[EventField::Updates] = QByteArray("not copied");
    const int id = insert(*s.events, series);
    const int d12 = dayNumber(2024, 3, 12);

    const InsertResult r = s.events->breakOutOccurrence(id, d12);
    ASSERT_TRUE(r.ok()) << r.table.error.toStdString();

    const auto check = [&](EventsStore &ev) {
        EXPECT_EQ(ev.event(id)->bytes(EventField::ExceptionList),
                  QByteArray::number(d12 - 1) + "," + QByteArray::number(d12));
        const std::vector<EventRow> singles = oneTimeRows(ev);
        ASSERT_EQ(singles.size(), 1u);
        const EventRow &b = singles.front();
        EXPECT_EQ(b.id(), r.id);
        EXPECT_TRUE(sameTime(b.startTime(), at(2024, 3, 12, 9)));
        EXPECT_TRUE(sameTime(b.endTime(), at(2024, 3, 12, 10)));
        for (EventField f :
             {EventField::Layer, EventField::AllDay, EventField::AlarmSet, EventField::AlarmAdvance,
              EventField::AlarmAdvanceUnit, EventField::Subject, EventField::Description})
            EXPECT_EQ(b[f], series[f]) << "field " << int(f);
        EXPECT_FALSE(b.isRecurring());
        for (EventField f : {EventField::RadioButton1, EventField::Edit1, EventField::ComboBox1,
                             EventField::Weekdays, EventField::ExceptionList, EventField::Updates})
            EXPECT_TRUE(b[f].isNull()) << "field " << int(f);
        EXPECT_EQ(occurrenceDays(ev, id, d12 - 2, d12 + 3),
                  (std::vector<int>{d12 - 2, d12 + 1, d12 + 2}));
    };
    check(*s.events);
    s.reopen();
    check(*s.events);
}

TEST(SingleOccurrence, ABrokenOutOccurrenceOfAMultiDayRuleEndsOnItsLastDay)
{
    Stores s;
    // Nightly 22:00 to 02:00 the next morning.
    const int id =
        insert(*s.events, daily(1, at(2024, 3, 10, 22), at(2024, 3, 20, 2), 1, "Night shift", 1));
    const int d12 = dayNumber(2024, 3, 12);
    const InsertResult r = s.events->breakOutOccurrence(id, d12);
    ASSERT_TRUE(r.ok());
    const EventRow b = s.events->event(r.id).value();
    EXPECT_TRUE(sameTime(b.startTime(), at(2024, 3, 12, 22)));
    EXPECT_TRUE(sameTime(b.endTime(), at(2024, 3, 13, 2)));
}

// Both rows of a break-out go to the file in one transaction: while the file is locked neither
// is there, and both arrive with the next write.
TEST(SingleOccurrence, BreakOutOntoALockedFileWritesNeitherRowUntilTheNextWrite)
{
    Stores s;
    const int id =
        insert(*s.events, daily(1, at(2024, 3, 10, 9), at(2024, 3, 20, 10), 1, "Stand-up"));
    const int d12 = dayNumber(2024, 3, 12);
    const QString path = s.dataDir + EventsStore::FileName;

    sqlite3 *blocker = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &blocker), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(blocker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const InsertResult r = s.events->breakOutOccurrence(id, d12);
    EXPECT_TRUE(r.applied());
    EXPECT_FALSE(r.table.written);
    EXPECT_FALSE(r.table.error.isEmpty());
    sqlite3_exec(blocker, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(blocker);

    {
        Table onDisk(EventsStore::schema());
        ASSERT_TRUE(onDisk.load(path).ok());
        EXPECT_EQ(onDisk.recordCount(), 1);
        ASSERT_TRUE(onDisk.locate(int(EventField::Id), id));
        EXPECT_TRUE(onDisk.asBytes(int(EventField::ExceptionList)).isEmpty());
    }
    ASSERT_TRUE(s.events->save().ok());
    Table onDisk(EventsStore::schema());
    ASSERT_TRUE(onDisk.load(path).ok());
    EXPECT_EQ(onDisk.recordCount(), 2);
    ASSERT_TRUE(onDisk.locate(int(EventField::Id), id));
    EXPECT_EQ(onDisk.asBytes(int(EventField::ExceptionList)), QByteArray::number(d12));
}
