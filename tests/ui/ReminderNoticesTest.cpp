// The desktop notifications of the reminder program: one per alarm, one that counts a crowd.
#include "alarm/ReminderNotices.h"

#include <gtest/gtest.h>

#include <QDate>

namespace
{
AlarmEntry alarm(const QString &quotedSubject, std::optional<SerialDateTime> start,
                 SerialDateTime at)
{
    AlarmEntry a;
    a.subject = quotedSubject;
    a.startTime = start;
    a.alarmTime = at;
    return a;
}
} // namespace

TEST(ReminderNotices, AFewAlarmsGetANoticeEachAndACrowdOneThatCountsIt)
{
    DateTimeFormat format;
    format.buildDateFormat(0, 0);
    format.buildTimeFormat(0, 0);
    const SerialDateTime day = DateTimeValue::fromQDate(QDate(2024, 3, 11));
    const SerialDateTime nine = day + 9.0 / 24, ten = day + 10.0 / 24;
    QList<AlarmEntry> alarms = {alarm("'Dentist'", ten, ten - 0.25 / 24),
                                alarm("'It''s a task'", std::nullopt, nine)};
    const QList<ReminderNotice> few = ReminderNotices::forAlarms(alarms, format);
    ASSERT_EQ(few.size(), 2);
    EXPECT_EQ(few[0].summary, "Dentist");
    EXPECT_TRUE(few[0].body.endsWith(" 10:00")) << few[0].body.toStdString();
    EXPECT_EQ(few[1].summary, "It's a task"); // a task: the time of its alarm
    EXPECT_TRUE(few[1].body.endsWith(" 09:00")) << few[1].body.toStdString();

    alarms << alarm("'Stand-up'", nine, nine) << alarm("'Call'", ten, ten)
           << alarm("'Lunch'", ten, ten);
    const QList<ReminderNotice> crowd = ReminderNotices::forAlarms(alarms, format);
    ASSERT_EQ(crowd.size(), 1);
    EXPECT_EQ(crowd[0].summary, "5 alarms");
    EXPECT_EQ(crowd[0].body, "Dentist, It's a task, Stand-up and 2 more");
    EXPECT_TRUE(ReminderNotices::forAlarms({}, format).isEmpty());
}
