#include "BenchCalendar.h"

#include "SampleCalendar.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace BenchCalendar
{

namespace
{

struct Generated {
    QTemporaryDir dir;
    QString path;
    SampleCalendar::Summary summary;
    Generated()
    {
        path = dir.path() + u'/';
        QString error;
        if (!dir.isValid() || !SampleCalendar::writeBench(path, {}, &summary, &error)) {
            std::fprintf(stderr, "bench: cannot write the calendar: %s\n", qPrintable(error));
            std::exit(1);
        }
    }
};

Generated &generated()
{
    static Generated g;
    return g;
}

} // namespace

const QString &dataDir()
{
    return generated().path;
}

double longestOneTimeDays()
{
    return generated().summary.longestOneTimeDays;
}

Stores::Stores(const QString &dir)
{
    layers = std::make_unique<LayersStore>(dir, clock);
    events = std::make_unique<EventsStore>(dir, *layers, time, clock);
    tasks = std::make_unique<TasksStore>(dir, *layers, clock);
}

Stores &shared()
{
    static Stores s(dataDir());
    return s;
}

PrivateCopy::PrivateCopy()
{
    QDir().mkpath(dataPath());
    for (const QString &name : QDir(dataDir()).entryList(QDir::Files))
        copied = QFile::copy(dataDir() + name, dataPath() + name) && copied;
    stores = std::make_unique<Stores>(dataPath());
    settings = std::make_unique<Settings>(SettingsPaths{dir.path() + "/dayloom.ini", dataPath(),
                                                        dir.path() + "/dayloom.desktop",
                                                        QStringLiteral("/usr/bin/dayloom")});
}

} // namespace BenchCalendar
