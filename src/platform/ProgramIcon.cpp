#include "platform/ProgramIcon.h"

#include <QString>

#include <array>

static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

QIcon programIcon()
{
    initIconResources();
    QIcon icon;
    for (const int size : std::array{16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/dayloom-%1.png").arg(size), QSize(size, size));
    return icon;
}
