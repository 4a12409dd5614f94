#include "core/SettingsPaths.h"

#include <QStandardPaths>

SettingsPaths SettingsPaths::fromEnvironment(const QString &programPath)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {config + "/dayloom/dayloom.ini", data + "/dayloom/",
            config + "/autostart/dayloom.desktop", programPath};
}
