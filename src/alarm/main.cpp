// The reminder program: started by Dayloom with its data folder when alarms fell due; shows
// them and hands snoozed ones back. It ends when the last alarm was closed or snoozed.
#include "alarm/DesktopNotifier.h"
#include "alarm/ReminderNotices.h"
#include "alarm/ReminderWindow.h"
#include "core/DateTimeFormat.h"
#include "core/ReminderArguments.h"
#include "core/Settings.h"
#include "core/SettingsPaths.h"
#include "platform/ProgramIcon.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("dayloom");
    QApplication::setWindowIcon(programIcon());
    const ReminderArguments args = ReminderArguments::fromList(QApplication::arguments().mid(1));

    const SettingsPaths where = SettingsPaths::fromEnvironment(QApplication::applicationFilePath());
    const Settings settings(where);
    QString dataDir = args.dataDir.isEmpty() ? settings.dataPath() : args.dataDir;
    if (!dataDir.endsWith(QLatin1Char('/'))) dataDir += QLatin1Char('/');

    DateTimeFormat format;
    format.buildDateFormat(settings.dateFormat(), settings.dateSeparator());
    format.buildTimeFormat(settings.timeFormat(), settings.timeSeparator());

    const auto alarms = ReminderWindow::takeDueAlarms(dataDir);
    if (!alarms || alarms->isEmpty()) return alarms ? 0 : 1;

    DesktopNotifier notifier;
    for (const ReminderNotice &n : ReminderNotices::forAlarms(*alarms, format))
        // A desktop that does not take one takes none: the window is not held up further.
        if (!notifier.notify(n.summary, n.body)) break;

    ReminderWindow window(*alarms, dataDir, format, [] {
        return !SingleInstance::send(SingleInstance::defaultFolder(), QStringLiteral("snooze"))
                    .isEmpty();
    });
    window.setMissedWindow(args.missed);
    window.show();
    window.exec();
    return 0;
}
