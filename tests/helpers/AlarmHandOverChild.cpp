// Child process of the alarm hand-over stress test: the reminder program's side. Given a data
// folder and a count, it takes the lines out of "alarm.dat" as the reminder program does and
// snoozes every alarm it took into "snooze.dat", until it has taken `count` alarms. It prints
// the id of every alarm taken, one a line, and ends with status 0. A lock not taken in time is
// tried again; no progress for 60 s ends it with a nonzero status.
#include "store/AlarmFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    const QString dataDir = QString::fromLocal8Bit(argv[1]);
    const int count = atoi(argv[2]);
    int taken = 0;
    QElapsedTimer idle;
    idle.start();
    while (taken < count) {
        QList<AlarmEntry> lines;
        const AlarmFiles::FileResult r =
            AlarmFiles::rewriteAlarms(dataDir, [&lines](QList<AlarmEntry> alarms) {
                lines = std::move(alarms);
                return QList<AlarmEntry>{};
            });
        // A lock not taken in time leaves "alarm.dat" as it was: try again.
        if (!r.ok) {
            if (idle.elapsed() > 60000) return 3;
            continue;
        }
        for (const AlarmEntry &a : lines) {
            while (!AlarmFiles::appendSnooze(dataDir, {2, a}))
                if (idle.elapsed() > 60000) return 4;
            std::printf("%d\n", a.id);
        }
        taken += int(lines.size());
        if (!lines.isEmpty()) idle.restart();
        if (idle.elapsed() > 60000) return 5;
        QThread::usleep(200);
    }
    std::fflush(stdout);
    return 0;
}
