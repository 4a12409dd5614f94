// Program entry: the first start becomes the running copy; a later start hands its command
// line to it and ends with exit code 0.
#include "app/DayloomApp.h"
#include "core/CommandLine.h"
#include "core/Settings.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("dayloom");
    QApplication::setApplicationDisplayName(QStringLiteral("Dayloom LE  ").trimmed());

    const CommandLine cmd = CommandLine::parse(QApplication::arguments().mid(1));
    const SettingsPaths where = SettingsPaths::fromEnvironment(QApplication::applicationFilePath());

    SingleInstance instance;
    if (!instance.claim()) {
        int param = 0;
        if (cmd.kind == CommandLine::Kind::Import) {
            // The running copy has a working directory of its own.
            writeImportFile(where.dataDir, QFileInfo(cmd.importPath).absoluteFilePath());
            param = 1;
        }
        SingleInstance::send(SingleInstance::defaultFolder(), QStringLiteral("wake %1").arg(param));
        return 0;
    }

    DayloomApp dayloom(where, cmd);
    instance.setHandler([&dayloom](const QString &m) { return dayloom.handleMessage(m); });
    QApplication::exec();
    return 0;
}
