// The reminder program: started by Dayloom with its data folder when alarms fell due; shows
// them and hands snoozed ones back. It ends when the last alarm was closed or snoozed.
#include "alarm/ReminderWindow.h"
#include "core/DateTimeFormat.h"
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
    const QStringList args = QApplication::arguments();

    const SettingsPaths where = SettingsPaths::fromEnvironment(QApplication::applicationFilePath());
    const Settings settings(where);
    QString dataDir = args.size() > 1 ? args.at(1) : settings.dataPath();
    if (!dataDir.endsWith(QLatin1Char('/'))) dataDir += QLatin1Char('/');

    DateTimeFormat format;
    format.buildDateFormat(settings.dateFormat(), settings.dateSeparator());
    format.buildTimeFormat(settings.timeFormat(), settings.timeSeparator());

    const auto alarms = ReminderWindow::takeDueAlarms(dataDir);
    if (!alarms || alarms->isEmpty()) return alarms ? 0 : 1;

    ReminderWindow window(*alarms, dataDir, format, [] {
        return !SingleInstance::send(SingleInstance::defaultFolder(), QStringLiteral("snooze"))
                    .isEmpty();
    });
    window.show();
    window.exec();
    return 0;
}
