// Alarms of recurring events that fell due on the days no program ran: the program was last
// running on Friday 8 March 2024 at 18:00 and starts again on Monday 11 March at 09:30.
#include "CalendarStores.h"
#include "RuleBuilders.h"
#include "core/FileText.h"
#include "store/AlarmFiles.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace CalendarTest;

namespace
{

const QDateTime Restart(QDate(2024, 3, 11), QTime(9, 30));
const MissedWindow OffOverTheWeekend{
    DateTimeValue::fromQDateTime(QDateTime(QDate(2024, 3, 8), QTime(18, 0))),
    DateTimeValue::fromQDateTime(Restart)};

// A daily event at 09:00 with its alarm 15 minutes before.
EventRow dailyStandUp(int layer, const QDate &end = {})
{
    return Calendar::withAlarm(
        Calendar::recurring(layer, Rules::everyNDays(1, QDate(2024, 1, 1), end), "stand-up"), 15);
}

// Each alarm as "subject start alarm", both as "dd.MM hh:mm".
QStringList described(const QList<AlarmEntry> &alarms)
{
    QStringList out;
    for (const AlarmEntry &a : alarms)
        out << QStringLiteral("%1 %2 %3")
                   .arg(FileText::unquoteFileText(a.subject).value_or(a.subject),
                        DateTimeValue::toQDateTime(a.startTime.value_or(0))
                            .toString(QStringLiteral("dd.MM hh:mm")),
                        DateTimeValue::toQDateTime(a.alarmTime)
                            .toString(QStringLiteral("dd.MM hh:mm")));
    return out;
}

QList<AlarmEntry> alarmFile(const Calendar &c)
{
    QFile f(c.dataDir + AlarmFiles::AlarmFileName);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const auto content = AlarmFiles::parseAlarmFile(f.readAll());
    return content ? content->alarms : QList<AlarmEntry>{};
}

} // namespace

TEST(MissedOccurrenceAlarms, EveryDayOffRingsOnceOldestFirstWithTodaysAndOneTimeAlarmsMerged)
{
    Calendar c(Restart);
    c.addEvent(dailyStandUp(c.firstLayer()));
    const SerialDateTime saturday = DateTimeValue::fromQDate(QDate(2024, 3, 9));
    c.addEvent(Calendar::withAlarm(
        Calendar::oneTime(c.firstLayer(), saturday + 0.5, saturday + 0.55, "lunch"), 15));
    // Today's occurrence is pending already: it is not listed twice.
    EXPECT_EQ(
        described(c.events->missedOccurrenceAlarms(OffOverTheWeekend)),
        (QStringList{"stand-up 09.03 09:00 09.03 08:45", "stand-up 10.03 09:00 10.03 08:45"}));

    EXPECT_EQ(c.events->takeMissedOccurrenceAlarms(OffOverTheWeekend), 2);
    const auto written = c.events->writeDueAlarms();
    ASSERT_TRUE(written.ok);
    EXPECT_TRUE(written.wrote);
    EXPECT_EQ(
        described(alarmFile(c)),
        (QStringList{"stand-up 09.03 09:00 09.03 08:45", "lunch 09.03 12:00 09.03 11:45",
                     "stand-up 10.03 09:00 10.03 08:45", "stand-up 11.03 09:00 11.03 08:45"}));
    for (const AlarmEntry &a : alarmFile(c))
        EXPECT_TRUE(OffOverTheWeekend.contains(a.alarmTime));

    // Written once: neither the next write nor a second look finds them again.
    EXPECT_FALSE(c.events->writeDueAlarms().wrote);
    EXPECT_TRUE(c.events->missedOccurrenceAlarms(OffOverTheWeekend).isEmpty());
    EXPECT_EQ(alarmFile(c).size(), 4);
}

TEST(MissedOccurrenceAlarms, ExceptionDaysTheRulesEndAndTheWindowsEdgesAreKept)
{
    Calendar c(Restart);
    EventRow withException = dailyStandUp(c.firstLayer());
    withException[EventField::Subject] = "gym";
    withException[EventField::ExceptionList] =
        QByteArray::number(int(DateTimeValue::fromQDate(QDate(2024, 3, 10))));
    c.addEvent(withException);
    EventRow ended = dailyStandUp(c.firstLayer(), QDate(2024, 3, 9));
    ended[EventField::Subject] = "course";
    c.addEvent(ended);
    // The alarm a day before: Saturday's occurrence rang on Friday at 09:00, before the
    // program stopped; Tuesday's, due today at 09:00, is pending.
    EventRow dayBefore = Calendar::withAlarm(
        Calendar::recurring(c.firstLayer(), Rules::everyNDays(1, QDate(2024, 1, 1)), "report"), 1,
        3);
    c.addEvent(dayBefore);
    // 15 hours before: Saturday's alarm rang at the program's last tick on Friday at 18:00 (the
    // window starts after it); today's at 18:00 is not due.
    EventRow evening = dailyStandUp(c.firstLayer());
    evening[EventField::Subject] = "evening";
    evening[EventField::AlarmAdvance] = 15 * 60;
    c.addEvent(evening);

    EXPECT_EQ(described(c.events->missedOccurrenceAlarms(OffOverTheWeekend)),
              (QStringList{"gym 09.03 09:00 09.03 08:45", "course 09.03 09:00 09.03 08:45",
                           "report 10.03 09:00 09.03 09:00", "evening 10.03 09:00 09.03 18:00",
                           "report 11.03 09:00 10.03 09:00", "evening 11.03 09:00 10.03 18:00"}));
}

TEST(MissedOccurrenceAlarms, AMonthOffHandsOnTheLatestOccurrencesOfTheLastWeeksOnly)
{
    Calendar c(Restart);
    c.addEvent(dailyStandUp(c.firstLayer()));
    // Mondays at 09:00.
    c.addEvent(Calendar::withAlarm(
        Calendar::recurring(c.firstLayer(), Rules::weekly(1, "0100000", QDate(2024, 1, 1)),
                            "weekly"),
        15));
    const MissedWindow offSinceNewYear{DateTimeValue::fromQDate(QDate(2024, 1, 1)),
                                       OffOverTheWeekend.upTo};

    const QStringList missed = described(c.events->missedOccurrenceAlarms(offSinceNewYear));
    // The latest MissedPerEvent days of the daily event, today's (pending) among them.
    EXPECT_EQ(missed.filter("stand-up").size(), AlarmRules::MissedPerEvent - 1);
    EXPECT_EQ(missed.filter("stand-up").first(), "stand-up 27.02 09:00 27.02 08:45");
    EXPECT_EQ(missed.filter("stand-up").last(), "stand-up 10.03 09:00 10.03 08:45");
    // Mondays of the last MissedDaysBack days (from 9 February), today's pending.
    EXPECT_EQ(missed.filter("weekly"),
              (QStringList{"weekly 12.02 09:00 12.02 08:45", "weekly 19.02 09:00 19.02 08:45",
                           "weekly 26.02 09:00 26.02 08:45", "weekly 04.03 09:00 04.03 08:45"}));
}
