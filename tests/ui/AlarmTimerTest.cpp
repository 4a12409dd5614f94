#include "mainwin/AlarmTimer.h"
#include "WindowOverStores.h"
#include "app/DayloomApp.h"
#include "core/DateTextHelpers.h"
#include "mainwin/MainPanels.h"
#include "mainwin/TrayIcon.h"
#include "store/AlarmFiles.h"
#include "store/CalendarStores.h"
#include "store/LastCheckFile.h"
#include "store/RuleBuilders.h"
#include "support/TestEnv.h"
#include "views/FlatButton.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPaintEvent>
#include <QSystemTrayIcon>

namespace
{
SerialDateTime at(const QDate &d, int h, int m)
{
    return DateTimeValue::fromQDateTime(QDateTime(d, QTime(h, m)));
}

EventRow eventWithAlarm(int layer, SerialDateTime start, int minutesBefore, const QString &subject)
{
    return EventRow(QVariantList{QVariant(), layer, start, start + 1.0 / 24, false, true,
                                 minutesBefore, 1, subject, QString(), false});
}

// A main window over fresh stores with an alarm timer whose sound and program start are
// counted instead of played and started.
struct AlarmBench {
    explicit AlarmBench(const QDateTime &now)
        : reg(pathsBelow(TestEnv::freshDir("alarms"))), clock(fixedClock(now)), time(clock)
    {
        EXPECT_TRUE(w.open(reg, time, clock));
        w.win->setMessageSink([this](const QString &text) { messages << text; });
        timer = makeTimer();
    }
    std::unique_ptr<AlarmTimer> makeTimer()
    {
        return std::make_unique<AlarmTimer>(
            clock, reg, *w.events, *w.tasks, *w.win, "/opt/dayloom",
            [this](const QString &path, std::function<void(const QString &)> failed) {
                sounds << path;
                if (!soundWorks) failed("no such file");
            },
            [this](const QString &path, const QStringList &arguments) {
                starts << path + " " + arguments.join(' ');
                return programStarts;
            });
    }
    ~AlarmBench()
    {
        timer.reset();
        w.close();
    }
    void setNow(const QDate &d, int h, int m) { clock.setFixed(QDateTime(d, QTime(h, m))); }
    QList<AlarmEntry> alarmFile() const
    {
        QFile f(reg.dataPath() + AlarmFiles::AlarmFileName);
        if (!f.open(QIODevice::ReadOnly)) return {};
        const auto content = AlarmFiles::parseAlarmFile(f.readAll());
        return content ? content->alarms : QList<AlarmEntry>{};
    }
    int layer() { return w.layers->idAt(1); }
    // A daily "Stand-up" 09:00-10:30 from `from` on, its alarm 15 minutes ahead; its id.
    int addStandUp(const QDate &from)
    {
        return w.events
            ->insertEvent(CalendarTest::Calendar::withAlarm(
                CalendarTest::Calendar::recurring(layer(), Rules::everyNDays(1, from), "Stand-up"),
                15))
            .id;
    }

    Settings reg;
    Clock clock;
    ViewDates time;
    WindowOverStores w;
    std::unique_ptr<AlarmTimer> timer;
    QStringList sounds, starts, messages;
    bool soundWorks = true;
    bool programStarts = true;
};

const QDate Day(2024, 3, 11);
} // namespace

TEST(AlarmTimer, AlarmsDueInOneTickRingOnceWithEventsBeforeTasksInTheFile)
{
    AlarmBench b(QDateTime(Day, QTime(9, 40)));
    const int eventId =
        b.w.events->insertEvent(eventWithAlarm(b.layer(), at(Day, 10, 0), 15, "Dentist")).id;
    // The task rings a minute before the event, yet its line follows the event's.
    const int taskId =
        b.w.tasks->insertTask(-1, 0, b.layer(), "Report", 0, false, true, at(Day, 9, 44)).id;
    EXPECT_TRUE(b.w.tasks->pendingAlarms().size() == 1);

    b.timer->tick();
    EXPECT_TRUE(b.sounds.isEmpty());
    EXPECT_TRUE(b.starts.isEmpty());
    EXPECT_FALSE(QFile::exists(b.reg.dataPath() + AlarmFiles::AlarmFileName));

    b.setNow(Day, 9, 46);
    b.timer->tick();
    EXPECT_EQ(b.sounds, QStringList{b.reg.alarmSound()});
    EXPECT_EQ(b.starts, QStringList{"/opt/dayloom/dayloom-alarm " + b.reg.dataPath()});
    const QList<AlarmEntry> lines = b.alarmFile();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].id, eventId);
    EXPECT_EQ(lines[0].subject, "'Dentist'");
    EXPECT_EQ(lines[0].alarmTime, at(Day, 9, 45));
    EXPECT_EQ(lines[1].id, taskId);
    EXPECT_FALSE(lines[1].startTime.has_value());
    // One-time alarms ring once.
    EXPECT_TRUE(b.w.events->pendingAlarms().isEmpty());
    EXPECT_TRUE(b.w.tasks->pendingAlarms().isEmpty());

    b.setNow(Day, 9, 47);
    b.timer->tick();
    EXPECT_EQ(b.sounds.size(), 1);
    EXPECT_EQ(b.starts.size(), 1);
    EXPECT_EQ(b.alarmFile().size(), 2);
    EXPECT_TRUE(b.messages.isEmpty());
}

TEST(AlarmTimer, ChangeOfDayRunsOnceAfterASuspendAndKeepsSnoozedReminders)
{
    AlarmBench b(QDateTime(Day, QTime(23, 50)));
    const QDate next = Day.addDays(1);
    // Not listed on the evening before; due by the time the machine wakes up.
    const int early =
        b.w.events->insertEvent(eventWithAlarm(b.layer(), at(next, 7, 30), 15, "Train")).id;
    EXPECT_TRUE(b.w.events->pendingAlarms().isEmpty());
    AlarmEntry reminder;
    reminder.startTime = at(Day, 20, 0);
    reminder.endTime = at(Day, 21, 0);
    reminder.subject = "'Call back'";
    ASSERT_TRUE(AlarmFiles::appendSnooze(b.reg.dataPath(), {10, reminder})); // in 1 day
    b.timer->takeSnoozedReminders();
    ASSERT_EQ(b.w.events->pendingAlarms().size(), 1);
    EXPECT_EQ(b.w.win->selectedDate(), at(Day, 0, 0));

    b.setNow(next, 8, 0);
    b.timer->tick();
    EXPECT_EQ(b.timer->lastDay(), at(next, 0, 0));
    EXPECT_EQ(b.w.win->selectedDate(), at(next, 0, 0));
    EXPECT_EQ(b.w.win->panels().todayButton()->caption(),
              "Today: " + dateText(b.w.win->format(), at(next, 0, 0)));
    const QList<AlarmEntry> lines = b.alarmFile();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].id, early);
    EXPECT_EQ(b.sounds.size(), 1);
    EXPECT_EQ(b.starts.size(), 1);
    ASSERT_EQ(b.w.events->pendingAlarms().size(), 1);
    EXPECT_EQ(b.w.events->pendingAlarms().at(0).id, -1);
    EXPECT_EQ(b.w.events->pendingAlarms().at(0).alarmTime, at(next, 23, 50));

    // Once per day: a user who moved on is not pulled back by the next ticks.
    const SerialDateTime elsewhere = at(next.addDays(5), 0, 0);
    b.w.win->setSelectedDate(elsewhere);
    b.setNow(next, 8, 1);
    b.timer->tick();
    EXPECT_EQ(b.w.win->selectedDate(), elsewhere);

    // The snoozed reminder rings on its own time, the day after it was snoozed.
    b.setNow(next, 23, 51);
    b.timer->tick();
    ASSERT_EQ(b.alarmFile().size(), 2);
    EXPECT_EQ(b.alarmFile()[1].subject, "'Call back'");
    EXPECT_EQ(b.sounds.size(), 2);
    EXPECT_TRUE(b.messages.isEmpty());
}

TEST(AlarmTimer, AMissingSoundAndAFailedStartAreToldOnceAndTheLinesStay)
{
    AlarmBench b(QDateTime(Day, QTime(9, 0)));
    b.soundWorks = false;
    b.programStarts = false;
    ASSERT_TRUE(b.w.events->insertEvent(eventWithAlarm(b.layer(), at(Day, 9, 30), 20, "A")).ok());
    ASSERT_TRUE(b.w.events->insertEvent(eventWithAlarm(b.layer(), at(Day, 10, 0), 20, "B")).ok());

    b.setNow(Day, 9, 11);
    b.timer->tick();
    b.setNow(Day, 9, 41);
    b.timer->tick();
    // The reminder is still tried after the sound failed.
    EXPECT_EQ(b.starts.size(), 2);
    EXPECT_EQ(b.sounds.size(), 2);
    ASSERT_EQ(b.messages.size(), 2);
    EXPECT_TRUE(b.messages[0].startsWith("The alarm sound"));
    EXPECT_TRUE(b.messages[1].startsWith("The reminder program"));
    EXPECT_EQ(b.alarmFile().size(), 2);

    // Once it starts again, a later failure is told again.
    b.programStarts = true;
    ASSERT_TRUE(b.w.events->insertEvent(eventWithAlarm(b.layer(), at(Day, 11, 0), 20, "C")).ok());
    b.setNow(Day, 10, 41);
    b.timer->tick();
    EXPECT_EQ(b.messages.size(), 2);
}

TEST(AlarmTimer, ThePlatformPlayerReportsAMissingSoundFile)
{
    AlarmBench b(QDateTime(Day, QTime(9, 0)));
    b.reg.setAlarmSound(b.reg.dataPath() + "gone.wav");
    AlarmTimer timer(b.clock, b.reg, *b.w.events, *b.w.tasks, *b.w.win, "/opt/dayloom", {},
                     [](const QString &, const QStringList &) { return true; });
    ASSERT_TRUE(b.w.events->insertEvent(eventWithAlarm(b.layer(), at(Day, 9, 30), 20, "A")).ok());
    b.setNow(Day, 9, 11);
    timer.tick();
    ASSERT_EQ(b.messages.size(), 1);
    EXPECT_TRUE(b.messages[0].contains("gone.wav"));
}

TEST(AlarmTimer, TheProgramRunsTheTimerAndTakesSnoozesByMessage)
{
    const QString root = TestEnv::freshDir("app");
    DayloomApp app({root + "/dayloom.ini", root + "/data", root + "/autostart/dayloom.desktop",
                    "/opt/dayloom/dayloom"},
                   CommandLine::parse({"auto"}));
    EXPECT_TRUE(app.alarmTimer().isActive());
    AlarmEntry reminder;
    reminder.startTime = at(Day, 20, 0);
    reminder.endTime = at(Day, 21, 0);
    reminder.subject = "'Call back'";
    ASSERT_TRUE(AlarmFiles::appendSnooze(app.settings().dataPath(), {7, reminder})); // 2 hours
    const SerialDateTime before = app.clock().nowValue();
    EXPECT_EQ(app.handleMessage("snooze"), "ok");
    QApplication::processEvents();
    ASSERT_EQ(app.events().pendingAlarms().size(), 1);
    const SerialDateTime ringsAt = app.events().pendingAlarms().at(0).alarmTime;
    EXPECT_GE(ringsAt, before + 2.0 / 24 - 1e-6);
    EXPECT_LE(ringsAt, app.clock().nowValue() + 2.0 / 24 + 1e-6);
    // The file was taken: a repeated message applies nothing twice.
    app.handleMessage("snooze");
    QApplication::processEvents();
    EXPECT_EQ(app.events().pendingAlarms().size(), 1);

    // A damaged file is told after the answer went out, outside the socket's callback.
    QStringList told;
    app.mainWindow().setMessageSink([&told](const QString &text) { told << text; });
    QFile damaged(app.settings().dataPath() + AlarmFiles::SnoozeFileName);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a snooze file\r\n");
    damaged.close();
    EXPECT_EQ(app.handleMessage("snooze"), "ok");
    EXPECT_TRUE(told.isEmpty());
    QApplication::processEvents();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith("The snoozed reminders in \"snooze.dat\" could not be read"));
}

TEST(TrayIcon, MenuRestoresAHiddenWindowAndShutdownClosesIt)
{
    AlarmBench b(QDateTime(Day, QTime(9, 0)));
    TrayIcon tray(*b.w.win);
    QStringList texts;
    for (QAction *a : tray.menu()->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts, (QStringList{"Restore Dayloom", "-", "Shutdown Dayloom"}));
    EXPECT_EQ(tray.icon().toolTip(), "Dayloom");

    tray.updateMenu();
    EXPECT_FALSE(tray.restoreAction()->isVisible());
    b.w.win->hide();
    tray.updateMenu();
    EXPECT_TRUE(tray.restoreAction()->isVisible());
    tray.restoreAction()->trigger();
    EXPECT_TRUE(b.w.win->isVisible());
    EXPECT_FALSE(tray.restoreAction()->isVisible());

    tray.shutdownAction()->trigger();
    EXPECT_FALSE(b.w.win->isVisible());
}

TEST(AlarmTimer, ASnoozeLeftWhileTheProgramWasNotRunningIsTakenAtStart)
{
    const QString root = TestEnv::freshDir("app");
    const SettingsPaths where{root + "/dayloom.ini", root + "/data",
                              root + "/autostart/dayloom.desktop", "/opt/dayloom/dayloom"};
    QDir().mkpath(where.dataDir);
    AlarmEntry reminder;
    reminder.startTime = at(Day, 20, 0);
    reminder.endTime = at(Day, 21, 0);
    ASSERT_TRUE(AlarmFiles::appendSnooze(where.dataDir + "/", {6, reminder}));
    DayloomApp app(where, CommandLine::parse({"auto"}));
    QTest::qWait(0);
    QApplication::processEvents();
    ASSERT_EQ(app.events().pendingAlarms().size(), 1);
    EXPECT_EQ(app.events().pendingAlarms().at(0).id, -1);
    EXPECT_FALSE(QFile::exists(app.settings().dataPath() + AlarmFiles::SnoozeFileName));
}

// The program was closed at 09:00 after its last tick and starts again at 09:30.
TEST(AlarmTimer, AlarmsDueWhileNoProgramRanRingAtStartMarkedMissedAndOnlyOnce)
{
    AlarmBench b(QDateTime(Day, QTime(9, 30)));
    b.timer.reset();
    // Rang at 08:45, before the program was closed: not again.
    ASSERT_GE(b.addStandUp(Day.addDays(-3)), 0);
    // Due at 09:05 and 09:10, while no program ran.
    const int meeting =
        b.w.events->insertEvent(eventWithAlarm(b.layer(), at(Day, 9, 20), 15, "Meeting")).id;
    const int task =
        b.w.tasks->insertTask(-1, 0, b.layer(), "Report", 0, false, true, at(Day, 9, 10)).id;
    ASSERT_TRUE(LastCheckFile(b.reg.dataPath()).write(at(Day, 9, 0)));

    b.timer = b.makeTimer();
    ASSERT_TRUE(b.timer->missedWindow().has_value());
    b.timer->tick();
    const QList<AlarmEntry> lines = b.alarmFile();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].id, meeting);
    EXPECT_EQ(lines[1].id, task);
    ASSERT_EQ(b.starts.size(), 1);
    EXPECT_EQ(b.starts[0], "/opt/dayloom/dayloom-alarm " + b.reg.dataPath() +
                               " --missed 2024-03-11 09:00:00 2024-03-11 09:30:00");
    const auto arguments = ReminderArguments::fromList(b.timer->reminderProgramArguments());
    EXPECT_FALSE(arguments.missed.has_value()) << "only the first tick hands on missed alarms";
    EXPECT_EQ(LastCheckFile(b.reg.dataPath()).read(), at(Day, 9, 30));

    // An alarm of the running program is not missed.
    ASSERT_TRUE(
        b.w.events->insertEvent(eventWithAlarm(b.layer(), at(Day, 9, 45), 10, "Call")).ok());
    b.setNow(Day, 9, 36);
    b.timer->tick();
    ASSERT_EQ(b.starts.size(), 2);
    EXPECT_EQ(b.starts[1], "/opt/dayloom/dayloom-alarm " + b.reg.dataPath());
    EXPECT_EQ(LastCheckFile(b.reg.dataPath()).read(), at(Day, 9, 36));
    EXPECT_TRUE(b.messages.isEmpty());
}

// The program last ran on Friday until 18:00 and starts again on Monday at 09:30: a daily
// stand-up's alarms of Saturday, Sunday and Monday all ring, each once, marked as missed; the
// first try to write them fails and they wait, still marked, for the next tick.
TEST(AlarmTimer, EveryDaysAlarmOfARecurringEventMissedWhileOffRingsOnceAtStart)
{
    AlarmBench b(QDateTime(Day, QTime(9, 30)));
    b.timer.reset();
    const int standUp = b.addStandUp(Day.addDays(-10));
    ASSERT_GE(standUp, 0);
    ASSERT_TRUE(LastCheckFile(b.reg.dataPath()).write(at(Day.addDays(-3), 18, 0)));
    const QString alarmFile = b.reg.dataPath() + AlarmFiles::AlarmFileName;
    CalendarTest::blockFile(alarmFile);

    b.timer = b.makeTimer();
    b.timer->tick();
    EXPECT_EQ(b.messages.size(), 1);
    EXPECT_TRUE(b.starts.isEmpty());
    ASSERT_TRUE(QDir(alarmFile).removeRecursively());

    b.setNow(Day, 9, 31);
    b.timer->tick();
    const QList<AlarmEntry> lines = b.alarmFile();
    ASSERT_EQ(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QDate day = Day.addDays(i - 2);
        EXPECT_EQ(lines[i].id, standUp);
        EXPECT_EQ(lines[i].startTime, at(day, 9, 0)) << qPrintable(day.toString(Qt::ISODate));
        EXPECT_EQ(lines[i].endTime, at(day, 10, 30)) << qPrintable(day.toString(Qt::ISODate));
        EXPECT_EQ(lines[i].alarmTime, at(day, 8, 45)) << qPrintable(day.toString(Qt::ISODate));
    }
    ASSERT_EQ(b.starts.size(), 1);
    EXPECT_EQ(b.starts[0], "/opt/dayloom/dayloom-alarm " + b.reg.dataPath() +
                               " --missed 2024-03-08 18:00:00 2024-03-11 09:30:00");
    const MissedWindow marked{at(Day.addDays(-3), 18, 0), at(Day, 9, 30)};
    for (const AlarmEntry &line : lines)
        EXPECT_TRUE(marked.contains(line.alarmTime));

    b.setNow(Day, 9, 32);
    b.timer->tick();
    EXPECT_EQ(b.alarmFile().size(), 3);
    EXPECT_EQ(b.starts.size(), 1);
    EXPECT_FALSE(b.timer->missedWindow().has_value());
}

// A machine suspended over a weekend with the program running: the first tick after it hands
// on each missed day's occurrence once, marked missed, as a start after days off does.
TEST(AlarmTimer, AlarmsOfAWeekendTheMachineSleptThroughRingOnceMarkedMissed)
{
    AlarmBench b(QDateTime(Day.addDays(-3), QTime(17, 59)));
    const int standUp = b.addStandUp(Day.addDays(-10));
    ASSERT_GE(standUp, 0);
    b.timer->tick(); // Friday's alarm rings late, but the program ran: not missed
    b.setNow(Day.addDays(-3), 18, 0);
    b.timer->tick();
    EXPECT_FALSE(b.timer->missedWindow().has_value());
    ASSERT_EQ(b.alarmFile().size(), 1);
    ASSERT_EQ(b.starts, QStringList{"/opt/dayloom/dayloom-alarm " + b.reg.dataPath()});

    b.setNow(Day, 9, 30); // Monday morning, the machine wakes up
    b.timer->tick();
    const QList<AlarmEntry> lines = b.alarmFile();
    ASSERT_EQ(lines.size(), 4);
    for (int i = 1; i < 4; ++i) {
        const QDate day = Day.addDays(i - 3);
        EXPECT_EQ(lines[i].id, standUp);
        EXPECT_EQ(lines[i].alarmTime, at(day, 8, 45)) << qPrintable(day.toString(Qt::ISODate));
    }
    ASSERT_EQ(b.starts.size(), 2);
    EXPECT_EQ(b.starts[1], "/opt/dayloom/dayloom-alarm " + b.reg.dataPath() +
                               " --missed 2024-03-08 18:00:00 2024-03-11 09:30:00");
    EXPECT_EQ(b.timer->lastDay(), int(DateTimeValue::fromQDate(Day)));

    b.setNow(Day, 9, 31);
    b.timer->tick();
    b.setNow(Day, 9, 32);
    b.timer->tick();
    EXPECT_EQ(b.alarmFile().size(), 4);
    EXPECT_EQ(b.starts.size(), 2);
    EXPECT_FALSE(b.timer->missedWindow().has_value());
}

TEST(AlarmTimer, TheHourAxisRepaintsOnTheFullHourAndTheTimerIsArmedAgain)
{
    AlarmBench b(QDateTime(Day, QTime(9, 59, 59, 700)));
    EXPECT_EQ(b.timer->msUntilHourRepaint(), -1);
    b.timer->start();
    const int wait = b.timer->msUntilHourRepaint();
    EXPECT_GE(wait, 300);
    EXPECT_LE(wait, 400);

    struct AxisPaints : QObject {
        QRect axis;
        int count = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint &&
                static_cast<QPaintEvent *>(e)->region().intersects(axis))
                ++count;
            return false;
        }
    } paints;
    TimeGrid *grid = b.w.win->timeGrid();
    ASSERT_NE(grid, nullptr);
    const QRect corner = grid->cellRect(0, 0);
    paints.axis = QRect(corner.left(), 0, corner.width(), grid->height());
    QApplication::processEvents();
    grid->installEventFilter(&paints);
    b.clock.setFixed(QDateTime(Day, QTime(10, 0, 0, 50)));
    QTest::qWait(wait + 200);
    EXPECT_GE(paints.count, 1);
    const int next = b.timer->msUntilHourRepaint();
    EXPECT_GT(next, 3590 * 1000);
    EXPECT_LE(next, 3600 * 1000 + 20);
}

TEST(TrayIcon, TheProgramAddsAndRemovesItsIconOnlyWhereTheDesktopHasATray)
{
    const QString root = TestEnv::freshDir("app");
    DayloomApp app({root + "/dayloom.ini", root + "/data", root + "/autostart/dayloom.desktop",
                    "/opt/dayloom/dayloom"},
                   CommandLine::parse({"auto"}));
    const bool tray = QSystemTrayIcon::isSystemTrayAvailable();
    EXPECT_EQ(app.trayIcon() != nullptr, tray && app.settings().useTrayIcon());
    app.setTrayShown(false);
    EXPECT_EQ(app.trayIcon(), nullptr);
    app.setTrayShown(true);
    TrayIcon *const shown = app.trayIcon();
    EXPECT_EQ(shown != nullptr, tray);
    app.setTrayShown(true);
    EXPECT_EQ(app.trayIcon(), shown) << "a second call keeps the one icon";
}
