// dayloom-sample <dataDir> [demo|bench] [yyyy-mm-dd]
// Writes a generated calendar into the data directory: "demo" (the default) around the given
// day (today when none), or the fixed-seed benchmark calendar. Exit status 0 on success.
#include "SampleCalendar.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 4) {
        std::fprintf(stderr, "usage: dayloom-sample <dataDir> [demo|bench] [yyyy-mm-dd]\n");
        return 2;
    }
    const QString kind = args.size() > 2 ? args[2] : QStringLiteral("demo");
    QDate today = QDate::currentDate();
    if (args.size() > 3) today = QDate::fromString(args[3], Qt::ISODate);
    if ((kind != "demo" && kind != "bench") || !today.isValid()) {
        std::fprintf(stderr, "dayloom-sample: unknown calendar kind or date\n");
        return 2;
    }
    QString dir = QDir(args[1]).absolutePath();
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "dayloom-sample: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    dir += u'/';
    SampleCalendar::Summary sum;
    QString error;
    const bool ok = kind == "bench" ? SampleCalendar::writeBench(dir, {}, &sum, &error)
                                    : SampleCalendar::writeDemo(dir, today, &sum, &error);
    if (!ok) {
        std::fprintf(stderr, "dayloom-sample: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d layers, %d one-time events, %d recurring events, %d tasks in %s\n", sum.layers,
                sum.oneTimeEvents, sum.recurringRules, sum.tasks, qPrintable(dir));
    return 0;
}
