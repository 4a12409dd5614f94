// Program entry: the first start becomes the running copy; a later start hands its command
// line to it and ends with exit code 0.
#include "app/DayloomApp.h"
#include "core/CommandLine.h"
#include "core/Settings.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("dayloom");

    CommandLine cmd = CommandLine::parse(QApplication::arguments().mid(1));
    // The running copy works in its data folder: a relative path names a file of the folder
    // this copy was started in.
    if (cmd.kind == CommandLine::Kind::Import)
        cmd.importPath = QFileInfo(cmd.importPath).absoluteFilePath();
    const SettingsPaths where = SettingsPaths::fromEnvironment(QApplication::applicationFilePath());

    SingleInstance instance;
    if (!instance.claim()) {
        int param = 0;
        if (cmd.kind == CommandLine::Kind::Import) {
            if (writeImportFile(where.dataDir, cmd.importPath))
                param = 1;
            else
                std::fprintf(stderr,
                             "dayloom: \"%s\" cannot be written, so \"%s\" is not imported; "
                             "the running Dayloom is only brought to the front.\n",
                             qPrintable(QDir::toNativeSeparators(where.dataDir + "import.dat")),
                             qPrintable(QDir::toNativeSeparators(cmd.importPath)));
        }
        SingleInstance::send(SingleInstance::defaultFolder(), QStringLiteral("wake %1").arg(param));
        return 0;
    }

    DayloomApp dayloom(where, cmd);
    instance.setHandler([&dayloom](const QString &m) { return dayloom.handleMessage(m); });
    QApplication::exec();
    return 0;
}
