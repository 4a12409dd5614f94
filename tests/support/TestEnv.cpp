#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace
{
std::unique_ptr<QTemporaryDir> &tempRoot()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
int freshCounter = 0;
} // namespace

namespace TestEnv
{

void setUpProcess()
{
    tempRoot() = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/dayloom-test-XXXXXX");
    const QString r = root();
    for (const char *sub : {"config", "data", "runtime"})
        QDir().mkpath(r + "/" + sub);
    QFile::setPermissions(r + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", (r + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (r + "/data").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (r + "/runtime").toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString root()
{
    return tempRoot() ? tempRoot()->path() : QDir::tempPath();
}

QString freshDir(const QString &hint)
{
    const QString p = root() + "/" + hint + "-" + QString::number(++freshCounter);
    QDir().mkpath(p);
    return p;
}

QString dataDir()
{
    return root() + "/data/dayloom/";
}
QString configDir()
{
    return root() + "/config";
}
QString runtimeDir()
{
    return root() + "/runtime";
}

} // namespace TestEnv
