#include "store/LastCheckFile.h"

#include "core/FileText.h"

LastCheckFile::LastCheckFile(const QString &dataDir) : m_file(dataDir + QLatin1String(FileName)) {}

std::optional<SerialDateTime> LastCheckFile::read() const
{
    QFile f(m_file.fileName());
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = f.read(256);
    return FileText::parseFileDateTimeText(QString::fromUtf8(bytes).trimmed());
}

bool LastCheckFile::write(SerialDateTime time)
{
    const QByteArray line = FileText::fileDateTimeText(time).toUtf8() + "\r\n";
    if (!m_file.isOpen()) {
        if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return false;
        // A longer line of another hand would leave its tail behind.
        if (!m_file.resize(line.size())) {
            m_file.close();
            return false;
        }
    }
    if (m_file.seek(0) && m_file.write(line) == line.size()) return true;
    m_file.close(); // opened again by the next write
    return false;
}
