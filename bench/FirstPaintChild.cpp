#include "FirstPaintChild.h"

#include "app/DayloomApp.h"
#include "mainwin/MainWindow.h"
#include "views/TimeGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <chrono>
#include <cstdio>

#include <unistd.h>

namespace
{

class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

} // namespace

int firstWeekPaintChild(const char *dataDir, const char *settingsFile)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "dayloom";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QApplication::setApplicationName("dayloom");

    const SettingsPaths where{QString::fromLocal8Bit(settingsFile), QString::fromLocal8Bit(dataDir),
                              QString::fromLocal8Bit(dataDir) + QStringLiteral("autostart.desktop"),
                              QApplication::applicationFilePath()};
    DayloomApp dayloom(where, CommandLine{});
    PaintWatch watch;
    TimeGrid *grid = dayloom.mainWindow().timeGrid();
    if (!grid || dayloom.mainWindow().viewKind() != ViewWeek) return 1;
    grid->installEventFilter(&watch);
    QElapsedTimer limit;
    limit.start();
    // The filter sees the paint event before the grid handles it; processEvents() returns
    // after the grid painted.
    while (!watch.painted && limit.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!watch.painted) return 1;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%lld\n",
                (long long)std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    std::fflush(stdout);
    // Saving the tables on the way out is not start-up.
    _exit(0);
}
