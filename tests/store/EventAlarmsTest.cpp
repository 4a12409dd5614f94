#include "CalendarStores.h"
#include "RuleBuilders.h"
#include "store/AlarmFiles.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace CalendarTest;

namespace
{

// The days in [from, to] on which a fresh fill of the pending alarms (clock at 00:00) holds an
// alarm for the event; each such alarm must be 15 minutes before 09:00 of that same day.
QList<QDate> ringingDays(Calendar &c, const QDate &from, const QDate &to)
{
    QList<QDate> out;
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        c.clock.setFixed(QDateTime(d, QTime(0, 0)));
        c.events->fillPendingAlarms();
        const auto &list = c.events->pendingAlarms();
        if (list.isEmpty()) continue;
        EXPECT_EQ(list.size(), 1);
        EXPECT_EQ(DateTimeValue::toQDateTime(list.at(0).alarmTime), QDateTime(d, QTime(8, 45)));
        out << d;
    }
    return out;
}

} // namespace

TEST(EventAlarms, MonthlyDay31RingsOnTheRealOccurrenceDays)
{
    Calendar c;
    c.addEvent(Calendar::withAlarm(
        Calendar::recurring(c.firstLayer(), Rules::monthlyOnDay(31, 1, QDate(2024, 1, 31)), "rent"),
        15));
    EXPECT_EQ(ringingDays(c, QDate(2024, 2, 1), QDate(2024, 5, 31)),
              (QList<QDate>{QDate(2024, 2, 29), QDate(2024, 3, 31), QDate(2024, 4, 30),
                            QDate(2024, 5, 31)}));
}

TEST(EventAlarms, MondayAndFridayWeeklyRingsOnlyOnThoseDays)
{
    Calendar c;
    // Sunday first: Monday and Friday.
    c.addEvent(Calendar::withAlarm(
        Calendar::recurring(c.firstLayer(), Rules::weekly(1, "0100010", QDate(2024, 3, 4)), "gym"),
        15));
    EXPECT_EQ(ringingDays(c, QDate(2024, 3, 1), QDate(2024, 3, 17)),
              (QList<QDate>{QDate(2024, 3, 4), QDate(2024, 3, 8), QDate(2024, 3, 11),
                            QDate(2024, 3, 15)}));
}

TEST(EventAlarms, ExceptionDayAndDaysAfterTheEndDoNotRing)
{
    Calendar c;
    EventRow v = Calendar::withAlarm(
        Calendar::recurring(c.firstLayer(),
                            Rules::everyNDays(1, QDate(2024, 3, 4), QDate(2024, 3, 7)), "daily"),
        15);
    v[EventField::ExceptionList] =
        QByteArray::number(int(DateTimeValue::fromQDate(QDate(2024, 3, 5))));
    c.addEvent(v);
    EXPECT_EQ(ringingDays(c, QDate(2024, 3, 3), QDate(2024, 3, 9)),
              (QList<QDate>{QDate(2024, 3, 4), QDate(2024, 3, 6), QDate(2024, 3, 7)}));
}

TEST(EventAlarms, AlarmAdvanceOfDaysRingsTheDayBeforeForTomorrowsOccurrence)
{
    Calendar c;
    c.addEvent(Calendar::withAlarm(
        Calendar::recurring(c.firstLayer(), Rules::weekly(1, "0000001", QDate(2024, 3, 2)),
                            "saturday"),
        1, 3));
    // 09:00 on Saturdays, one day before: Fridays at 09:00.
    c.clock.setFixed(QDateTime(QDate(2024, 3, 8), QTime(0, 0)));
    c.events->fillPendingAlarms();
    ASSERT_EQ(c.events->pendingAlarms().size(), 1);
    EXPECT_EQ(DateTimeValue::toQDateTime(c.events->pendingAlarms().at(0).alarmTime),
              QDateTime(QDate(2024, 3, 8), QTime(9, 0)));
    EXPECT_EQ(DateTimeValue::toQDateTime(*c.events->pendingAlarms().at(0).startTime),
              QDateTime(QDate(2024, 3, 9), QTime(9, 0)));
}

TEST(EventAlarms, RecurringAlarmRingsOnceADayAndStaysSetOneTimeRingsOnce)
{
    Calendar c(QDateTime(QDate(2024, 3, 4), QTime(8, 0)));
    const int daily = c.addEvent(Calendar::withAlarm(
        Calendar::recurring(c.firstLayer(), Rules::everyNDays(1, QDate(2024, 3, 1)), "daily"), 15));
    const SerialDateTime day = DateTimeValue::fromQDate(QDate(2024, 3, 4));
    const int once = c.addEvent(
        Calendar::withAlarm(Calendar::oneTime(c.firstLayer(), day + 0.375, day + 0.4, "once"), 15));
    ASSERT_EQ(c.events->pendingAlarms().size(), 2); // the post step added both

    c.clock.setFixed(QDateTime(QDate(2024, 3, 4), QTime(8, 44)));
    EXPECT_FALSE(c.events->writeDueAlarms().wrote);
    c.clock.setFixed(QDateTime(QDate(2024, 3, 4), QTime(8, 45)));
    const auto r = c.events->writeDueAlarms();
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.wrote);
    QFile f(c.dataDir + AlarmFiles::AlarmFileName);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const auto content = AlarmFiles::parseAlarmFile(f.readAll());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->alarms.size(), 2);

    EXPECT_FALSE(c.events->event(once).value().alarmSet());
    EventRow renamed = c.events->event(daily).value();
    EXPECT_TRUE(renamed.alarmSet());
    // Editing the recurring event later that day does not ring today's occurrence again.
    renamed[EventField::Subject] = "daily, renamed";
    ASSERT_TRUE(c.events->updateEvent(renamed).ok());
    EXPECT_TRUE(c.events->pendingAlarms().isEmpty());
    // The next day it rings again.
    c.clock.setFixed(QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    c.events->fillPendingAlarms();
    EXPECT_EQ(c.events->pendingAlarms().size(), 1);
}

TEST(EventAlarms, SnoozeFileRearmsOrAddsAReminder)
{
    Calendar c(QDateTime(QDate(2024, 3, 4), QTime(8, 50)));
    const SerialDateTime day = DateTimeValue::fromQDate(QDate(2024, 3, 4));
    const int id = c.addEvent(Calendar::oneTime(c.firstLayer(), day + 0.375, day + 0.4, "x"));
    AlarmFiles::SnoozeRequest rearm;
    rearm.code = 0;
    rearm.entry.id = id;
    rearm.entry.startTime = day + 0.375;
    rearm.entry.endTime = day + 0.4;
    AlarmFiles::SnoozeRequest later = rearm;
    later.code = 6;
    ASSERT_TRUE(AlarmFiles::appendSnooze(c.dataDir, rearm).ok);
    ASSERT_TRUE(AlarmFiles::appendSnooze(c.dataDir, later).ok);

    const StoreResult r = c.events->readSnoozeFile();
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.count, 2);
    const auto &list = c.events->pendingAlarms();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).id, id);
    EXPECT_EQ(DateTimeValue::toQDateTime(list.at(0).alarmTime),
              QDateTime(QDate(2024, 3, 4), QTime(8, 55)));
    EXPECT_EQ(list.at(1).id, -1);
    EXPECT_EQ(DateTimeValue::toQDateTime(list.at(1).alarmTime),
              QDateTime(QDate(2024, 3, 4), QTime(9, 50)));
    // Read once: a repeated message applies nothing.
    EXPECT_EQ(c.events->readSnoozeFile().count, 0);
}

TEST(EventAlarms, DeleteWithUndoDropsTheAlarmAndRestoreSetsItAgain)
{
    Calendar c(QDateTime(QDate(2024, 3, 4), QTime(8, 0)));
    const SerialDateTime day = DateTimeValue::fromQDate(QDate(2024, 3, 4));
    const int id = c.addEvent(
        Calendar::withAlarm(Calendar::oneTime(c.firstLayer(), day + 0.5, day + 0.6, "noon"), 10));
    ASSERT_EQ(c.events->pendingAlarms().size(), 1);
    ASSERT_TRUE(c.events->deleteWithUndo({QString::number(id)}).ok);
    EXPECT_TRUE(c.events->pendingAlarms().isEmpty());
    ASSERT_TRUE(c.events->restoreDeletedEvents().ok);
    EXPECT_EQ(c.events->pendingAlarms().size(), 1);
}
