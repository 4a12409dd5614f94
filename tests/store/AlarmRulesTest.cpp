#include "store/AlarmRules.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace AlarmRules;

namespace
{
SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + (h * 60 + min) / DateTimeValue::MinutesPerDay;
}

EventAlarmSource event(int id, SerialDateTime start, int advMinutes)
{
    EventAlarmSource e;
    e.id = id;
    e.startTime = start;
    e.endTime = start + 1.0 / 24;
    e.alarmAdvance = advMinutes;
    e.alarmAdvanceUnit = 1;
    e.subject = "Dentist";
    e.layerName = "Layer1";
    e.colorNumber = 1;
    return e;
}

QList<AlarmEntry> fileAlarms(const QString &dir)
{
    QFile f(dir + "alarm.dat");
    if (!f.open(QIODevice::ReadOnly)) return {};
    return AlarmFiles::parseAlarmFile(f.readAll())->alarms;
}
} // namespace

TEST(AlarmRules, AdvanceUnits)
{
    EXPECT_DOUBLE_EQ(alarmAdvanceDays(15, 1), 15 / 1440.0);
    EXPECT_DOUBLE_EQ(alarmAdvanceDays(2, 2), 2 / 24.0);
    EXPECT_DOUBLE_EQ(alarmAdvanceDays(3, 0), 3.0);
}

TEST(AlarmRules, OneTimeEntryOnlyBeforeTheComingMidnight)
{
    const SerialDateTime today = at(2006, 3, 1);
    const auto e = oneTimeAlarmEntry(event(12, at(2006, 3, 1, 9), 15), today);
    ASSERT_TRUE(e);
    EXPECT_EQ(DateTimeValue::toMs(e->alarmTime), DateTimeValue::toMs(at(2006, 3, 1, 8, 45)));
    EXPECT_EQ(e->subject, "'Dentist'");
    EXPECT_FALSE(oneTimeAlarmEntry(event(13, at(2006, 3, 2, 9), 15), today));    // tomorrow
    EXPECT_TRUE(oneTimeAlarmEntry(event(14, at(2006, 3, 2, 0, 10), 15), today)); // 23:55
    EXPECT_TRUE(oneTimeAlarmEntry(event(15, at(2006, 2, 20, 9), 15), today));    // overdue
    EXPECT_TRUE(oneTimeAlarmEntry(event(16, at(2006, 3, 2, 9), 0), at(2006, 3, 2)));
}

TEST(AlarmRules, RecurringEntryFollowsTheNextRealOccurrence)
{
    // A Monday-and-Friday rule as the events store would answer it: 1 Mar 2006 is a Wednesday.
    const NextOccurrence monFri = [](SerialDateTime from) -> std::optional<OccurrenceTimes> {
        for (int d = DateTimeValue::dayOf(from); d < DateTimeValue::dayOf(from) + 8; ++d) {
            const int dow = DateTimeValue::dayOfWeek(d);
            const SerialDateTime start = d + 9.0 / 24;
            if ((dow == 2 || dow == 6) && DateTimeValue::toMs(start) >= DateTimeValue::toMs(from))
                return OccurrenceTimes{start, d + 1 + 10.0 / 24};
        }
        return std::nullopt;
    };
    const auto e = event(5, 0, 15);
    EXPECT_FALSE(recurringAlarmEntry(e, at(2006, 3, 1), monFri)); // Wednesday: none today
    const auto fri = recurringAlarmEntry(e, at(2006, 3, 3), monFri);
    ASSERT_TRUE(fri);
    EXPECT_EQ(DateTimeValue::toMs(fri->alarmTime), DateTimeValue::toMs(at(2006, 3, 3, 8, 45)));
    EXPECT_EQ(*fri->endTime, at(2006, 3, 4, 10)); // ends on the next day
    EXPECT_FALSE(recurringAlarmEntry(e, at(2006, 3, 3), {}));
    // A callback answering an earlier occurrence than asked for gives no entry.
    EXPECT_FALSE(recurringAlarmEntry(e, at(2006, 3, 3), [](SerialDateTime) {
        return std::optional<OccurrenceTimes>(OccurrenceTimes{at(2006, 1, 1, 9), 0});
    }));
}

TEST(AlarmRules, DueAlarmIsWrittenOnceAtItsMinute)
{
    const QString dir = TestEnv::freshDir("alarms") + "/";
    PendingAlarms list;
    rescheduleAlarm(list, 12, oneTimeAlarmEntry(event(12, at(2006, 3, 1, 9), 15), at(2006, 3, 1)));
    QList<int> fired;
    const auto onFired = [&](const AlarmEntry &r) { fired << r.id; };
    EXPECT_FALSE(writeDueAlarms(list, at(2006, 3, 1, 8, 44), dir, onFired).wrote);
    EXPECT_FALSE(QFile::exists(dir + "alarm.dat"));
    const auto r = writeDueAlarms(list, at(2006, 3, 1, 8, 45), dir, onFired);
    EXPECT_TRUE(r.ok && r.wrote);
    EXPECT_EQ(fired, QList<int>{12});
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(fileAlarms(dir).size(), 1);
    rescheduleAlarm(list, 12, std::nullopt);
    EXPECT_TRUE(list.isEmpty());
}

TEST(AlarmRules, FailedWriteKeepsTheAlarmsPending)
{
    const QString dir = TestEnv::freshDir("alarms") + "/";
    ASSERT_TRUE(QDir().mkpath(dir + "alarm.dat")); // a folder where the file should be
    PendingAlarms list;
    list.add(*oneTimeAlarmEntry(event(1, at(2006, 3, 1, 9), 0), at(2006, 3, 1)));
    bool fired = false;
    const auto r = writeDueAlarms(list, at(2006, 3, 1, 10), dir, [&](auto &) { fired = true; });
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(fired);
    EXPECT_EQ(list.size(), 1);
}

TEST(AlarmRules, SnoozeCodesAndOrdering)
{
    const SerialDateTime now = at(2006, 3, 1, 12);
    PendingAlarms list;
    list.add(*oneTimeAlarmEntry(event(1, at(2006, 3, 1, 12, 30), 0), at(2006, 3, 1)));
    list.add(*oneTimeAlarmEntry(event(2, at(2006, 3, 1, 14), 0), at(2006, 3, 1)));
    AlarmFiles::SnoozeRequest six{6, {}};
    six.entry.id = 1;
    six.entry.startTime = at(2006, 3, 1, 12, 30);
    AlarmFiles::SnoozeRequest rearm{1, six.entry};
    AlarmFiles::SnoozeRequest taskRearm{0, six.entry};
    taskRearm.entry.startTime.reset(); // a task reminder has no start
    AlarmFiles::SnoozeRequest unknown{15, six.entry};
    QList<std::pair<int, int>> rearmed;
    EXPECT_EQ(applySnoozeRequests({six, rearm, taskRearm, unknown}, list, now,
                                  [&](int id, int m) {
                                      rearmed.append({id, m});
                                  }),
              2);
    EXPECT_EQ(rearmed, (QList<std::pair<int, int>>{{1, 10}}));
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(1).id, -1); // 13:00 sits between 12:30 and 14:00
    EXPECT_EQ(DateTimeValue::toMs(list.at(1).alarmTime), DateTimeValue::toMs(at(2006, 3, 1, 13)));
    for (int code : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})
        EXPECT_TRUE(snoozeDelayMinutes(code)) << code;
    EXPECT_EQ(*snoozeDelayMinutes(14), 7 * 1440);
    EXPECT_FALSE(snoozeDelayMinutes(-1));
}

TEST(AlarmRules, TwoAlarmsInOneTickEventsBeforeTasks)
{
    const QString dir = TestEnv::freshDir("alarms") + "/";
    Clock clock;
    clock.setFixed(QDateTime(QDate(2006, 3, 1), QTime(7, 0)));
    LayersStore layers(dir, clock);
    const int layer = layers.idAt(1);
    TasksStore tasks(dir, layers, clock);
    const int early =
        tasks.insertTask(-1, 1, layer, "Task early", 0, false, true, at(2006, 3, 1, 8, 40)).id;
    ASSERT_TRUE(
        tasks.insertTask(-1, 1, layer, "Task tomorrow", 0, false, true, at(2006, 3, 2, 8)).ok());
    tasks.rebuildAlarms();
    EXPECT_EQ(tasks.pendingAlarms().size(), 1);

    // A stub event list, as the events store keeps it.
    PendingAlarms events;
    events.add(*oneTimeAlarmEntry(event(21, at(2006, 3, 1, 9), 10), at(2006, 3, 1)));
    events.add(*oneTimeAlarmEntry(event(20, at(2006, 3, 1, 9), 20), at(2006, 3, 1)));
    clock.setFixed(QDateTime(QDate(2006, 3, 1), QTime(8, 55)));
    EXPECT_TRUE(writeDueAlarms(events, clock.nowValue(), dir).wrote);
    EXPECT_TRUE(tasks.writeDueAlarms().wrote);
    const auto lines = fileAlarms(dir);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].id, 20); // 08:40
    EXPECT_EQ(lines[1].id, 21); // 08:50
    EXPECT_EQ(lines[2].id, early);
    EXPECT_FALSE(lines[2].startTime);
    EXPECT_EQ(lines[2].layerName, "'Layer1'");
    EXPECT_FALSE(tasks.task(early).value().alarmSet); // a task alarm rings once
    EXPECT_FALSE(tasks.writeDueAlarms().wrote);

    // The next day's rebuild picks up tomorrow's task.
    clock.setFixed(QDateTime(QDate(2006, 3, 2), QTime(0, 0)));
    tasks.rebuildAlarms();
    EXPECT_EQ(tasks.pendingAlarms().size(), 1);
    tasks.refreshAlarm(tasks.pendingAlarms().items()[0].id);
    EXPECT_EQ(tasks.pendingAlarms().size(), 1);
}
