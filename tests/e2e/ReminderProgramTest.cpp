// The real program and the real reminder program on a private X server: an alarm that is due
// when the program starts opens the reminder window, and a snooze chosen there comes back to
// the program's pending alarms.
#include "core/FileText.h"
#include "platform/SingleInstance.h"
#include "store/AlarmFiles.h"
#include "store/CalendarStores.h"
#include "support/TestEnv.h"

#include "OwnXServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace
{
// Polls `done` every 100 ms for up to `ms`; its last answer.
bool waitUntil(int ms, const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(100);
    }
    return true;
}

// Saves the screen as <name>.png in DAYLOOM_SHOT_DIR when that is set.
void screenshot(const OwnXServer &x, const QString &name)
{
    const QString dir = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QProcess import;
    import.setProcessEnvironment(x.environment());
    import.start("import", {"-window", "root", dir + "/" + name + ".png"});
    import.waitForFinished(10000);
}
} // namespace

TEST(ReminderProgram, AnAlarmDueAtStartIsShownAndItsSnoozeReachesTheProgram)
{
    OwnXServer x;
    if (!x.ok()) GTEST_SKIP() << "no Xvfb and xdotool to drive the programs with";
    ASSERT_TRUE(QDir().mkpath(TestEnv::dataDir()));
    {
        // Starts in ten minutes with an alarm a quarter of an hour before: due at start.
        CalendarTest::Calendar c(QDateTime::currentDateTime(), TestEnv::dataDir());
        const SerialDateTime start = c.clock.nowValue() + 10.0 / (24 * 60);
        ASSERT_GE(
            c.addEvent(CalendarTest::Calendar::withAlarm(
                CalendarTest::Calendar::oneTime(c.firstLayer(), start, start + 1.0 / 24, "Dentist"),
                15)),
            0);
    }
    QProcess program;
    program.setProgram(QStringLiteral(DAYLOOM_BIN));
    program.setProcessEnvironment(x.environment());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start();
    ASSERT_TRUE(program.waitForStarted(5000));

    ASSERT_TRUE(
        waitUntil(20000,
                  [&x] {
                      return x.xdotool({"search", "--onlyvisible", "--name", "^Reminder$"}) == 0;
                  }))
        << "the reminder window did not appear; data folder: "
        << QDir(TestEnv::dataDir()).entryList(QDir::Files).join(' ').toStdString();
    QThread::msleep(300); // its first paint
    screenshot(x, "reminder-window");
    // Enter snoozes with the choice made at first, "in 5 minutes". A key sent before the window
    // took the focus is lost on a busy machine, so it is sent again while the window is there.
    const auto nowValue = [] { return DateTimeValue::fromQDateTime(QDateTime::currentDateTime()); };
    const SerialDateTime firstPress = nowValue();
    SerialDateTime lastPress = firstPress;
    QString pending;
    EXPECT_TRUE(waitUntil(30000, [&] {
        pending = SingleInstance::send(TestEnv::runtimeDir(), "alarms", 500);
        if (pending.startsWith("-1 ")) return true;
        if (x.xdotool({"search", "--onlyvisible", "--name", "^Reminder$", "windowfocus", "--sync",
                       "key", "Return"}) == 0)
            lastPress = nowValue();
        QThread::msleep(900);
        return false;
    })) << pending.toStdString();

    // The program took the snooze: one reminder tied to no event, five minutes on.
    const auto ringsAt = FileText::parseFileDateTimeText(pending.mid(3));
    ASSERT_TRUE(ringsAt.has_value()) << pending.toStdString();
    const double fiveMinutes = 5.0 / (24 * 60), slack = 3.0 / (24 * 3600);
    EXPECT_GE(*ringsAt, firstPress + fiveMinutes - slack);
    EXPECT_LE(*ringsAt, lastPress + fiveMinutes + slack);
    EXPECT_FALSE(QFile::exists(TestEnv::dataDir() + AlarmFiles::SnoozeFileName));
    QFile alarmFile(TestEnv::dataDir() + AlarmFiles::AlarmFileName);
    ASSERT_TRUE(alarmFile.open(QIODevice::ReadOnly));
    const auto left = AlarmFiles::parseAlarmFile(alarmFile.readAll());
    ASSERT_TRUE(left.has_value());
    EXPECT_TRUE(left->alarms.isEmpty()) << "the reminder program took the line";
    EXPECT_TRUE(waitUntil(10000, [&x] {
        return x.xdotool({"search", "--onlyvisible", "--name", "^Reminder$"}) != 0;
    })) << "the reminder window closed after its only alarm";
    EXPECT_EQ(program.state(), QProcess::Running);

    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished();
    }
}
