#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

QString SingleInstance::defaultFolder()
{
    const QString rt = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!rt.isEmpty() && QDir(rt).exists()) return rt;
    return QDir::tempPath();
}

SingleInstance::SingleInstance(QString folder, QObject *parent)
    : QObject(parent), m_folder(folder.isEmpty() ? defaultFolder() : std::move(folder))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server) m_server->close();
}

QString SingleInstance::socketPath() const
{
    return m_folder + "/" + Name;
}

bool SingleInstance::claim()
{
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(m_folder + "/" + Name + ".lock");
    // A live holder keeps its lock for as long as it runs; only a dead holder's lock is stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            m_lock.reset();
            return false;
        }
        // The lock cannot be created at all (folder not writable): run as first copy.
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketPath());
    m_server->listen(socketPath());
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::setHandler(std::function<QString(const QString &)> handler)
{
    m_handler = std::move(handler);
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *s = m_server->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QLocalSocket::readyRead, this, [this, s] {
            while (s->canReadLine()) {
                const QString msg = QString::fromUtf8(s->readLine()).trimmed();
                const QString answer = m_handler ? m_handler(msg) : QStringLiteral("ok");
                s->write((answer + "\n").toUtf8());
                s->flush();
            }
        });
    }
}

QString SingleInstance::send(const QString &folder, const QString &message, int timeoutMs)
{
    QLocalSocket s;
    s.connectToServer((folder.isEmpty() ? defaultFolder() : folder) + "/" + Name);
    if (!s.waitForConnected(timeoutMs)) return {};
    s.write((message + "\n").toUtf8());
    if (!s.waitForBytesWritten(timeoutMs)) return {};
    while (!s.canReadLine()) {
        if (!s.waitForReadyRead(timeoutMs)) return {};
    }
    const QString answer = QString::fromUtf8(s.readLine()).trimmed();
    s.disconnectFromServer();
    return answer;
}
