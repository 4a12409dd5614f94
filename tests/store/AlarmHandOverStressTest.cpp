// The program's side and the reminder program's side of "alarm.dat" and "snooze.dat" at the
// same time, in two processes: every alarm line arrives once at the reminder side and every
// snooze once back here.
#include "store/AlarmFiles.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>

TEST(AlarmHandOver, TwoProgramsChangingBothFilesAtOnceLoseAndRepeatNoLine)
{
    constexpr int Count = 300;
    const QString dir = TestEnv::freshDir("handover") + "/";
    QProcess child;
    child.start(QStringLiteral(ALARM_HANDOVER_CHILD), {dir, QString::number(Count)});
    ASSERT_TRUE(child.waitForStarted(5000));

    QList<int> snoozedIds;
    const auto takeSnoozes = [&] {
        // A lock not taken in time leaves the file for the next try.
        const AlarmFiles::SnoozeTakeResult t = AlarmFiles::takeSnoozeRequests(dir);
        for (const AlarmFiles::SnoozeRequest &r : t.requests)
            snoozedIds << r.entry.id;
    };
    for (int id = 0; id < Count; ++id) {
        AlarmEntry a;
        a.id = id;
        a.startTime = 45000.375;
        a.endTime = 45000.4;
        a.alarmTime = 45000.36;
        a.subject = QStringLiteral("'Alarm %1'").arg(id);
        // A lock not taken in time leaves the file as it was; the program tries again later.
        QElapsedTimer retry;
        retry.start();
        while (!AlarmFiles::appendAlarms(dir, {a}).ok)
            ASSERT_LT(retry.elapsed(), 60000) << "alarm " << id << " could not be appended";
        if (id % 3 == 0) takeSnoozes();
    }
    QElapsedTimer t;
    t.start();
    while (snoozedIds.size() < Count && t.elapsed() < 60000) {
        takeSnoozes();
        child.waitForFinished(5);
    }
    if (child.state() != QProcess::NotRunning) {
        ASSERT_TRUE(child.waitForFinished(60000));
    }
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    takeSnoozes();

    QList<int> takenIds;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n'))
        if (!line.isEmpty()) takenIds << line.toInt();
    QList<int> all;
    for (int id = 0; id < Count; ++id)
        all << id;
    // The reminder side takes the lines in the order they were appended.
    EXPECT_EQ(takenIds, all);
    std::sort(snoozedIds.begin(), snoozedIds.end());
    EXPECT_EQ(snoozedIds, all);
}
