#include "alarm/DesktopNotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcessEnvironment>
#include <QVariantMap>

namespace
{
// Without an address Qt would try to start a bus of its own; a process without one has none.
QDBusConnection sessionBusIfAny()
{
    if (QProcessEnvironment::systemEnvironment().value("DBUS_SESSION_BUS_ADDRESS").isEmpty())
        return QDBusConnection(QStringLiteral("dayloom-no-bus"));
    return QDBusConnection::sessionBus();
}
} // namespace

DesktopNotifier::DesktopNotifier() : m_bus(sessionBusIfAny()) {}

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus) : m_bus(bus) {}

bool DesktopNotifier::notify(const QString &summary, const QString &body)
{
    if (!m_bus.isConnected()) return false;
    QDBusConnectionInterface *bus = m_bus.interface();
    if (!bus || !bus->isServiceRegistered(QString::fromLatin1(Service)).value()) return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(Service), QString::fromLatin1(Path),
                                       QString::fromLatin1(Service), QStringLiteral("Notify"));
    // app name, replaces id, icon, summary, body, actions, hints, expire timeout (-1: the
    // service's default)
    call << QStringLiteral("Dayloom") << 0u << QString() << summary << body << QStringList()
         << QVariantMap() << -1;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, CallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}
