#include "store/LastCheckFile.h"

#include "core/FileText.h"

#include <QFile>

#include <cstdio>

namespace LastCheckFile
{

std::optional<SerialDateTime> read(const QString &dataDir)
{
    QFile f(dataDir + QLatin1String(FileName));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = f.read(256);
    return FileText::parseFileDateTimeText(QString::fromUtf8(bytes).trimmed());
}

bool write(const QString &dataDir, SerialDateTime time)
{
    // Written on every tick of the main timer, so not flushed to the disk: after a crash of the
    // machine the file may hold an older time or nothing, which only marks fewer alarms as
    // missed. The rename keeps a reader from ever seeing half a line.
    const QString path = dataDir + QLatin1String(FileName);
    const QString temporary = path + QStringLiteral(".new");
    QFile f(temporary);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray line = FileText::fileDateTimeText(time).toUtf8() + "\r\n";
    const bool written = f.write(line) == line.size() && f.flush();
    f.close();
    if (!written || std::rename(QFile::encodeName(temporary).constData(),
                                QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace LastCheckFile
