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

// Times the end of the watched widget's first paint: the filter has the widget handle the
// paint event at once and notes the time after it (later turns of the event loop, such as the
// daily copies that follow the first paint, are not counted).
class PaintWatch : public QObject
{
public:
    bool painted = false;
    std::chrono::steady_clock::time_point paintedAt;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (painted || e->type() != QEvent::Paint) return false;
        watched->event(e);
        paintedAt = std::chrono::steady_clock::now();
        painted = true;
        return true;
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
    while (!watch.painted && limit.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!watch.painted) return 1;
    const auto now = watch.paintedAt.time_since_epoch();
    std::printf("%lld\n",
                (long long)std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    std::fflush(stdout);
    // Saving the tables on the way out is not start-up.
    _exit(0);
}
