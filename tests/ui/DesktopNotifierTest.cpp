#include "alarm/DesktopNotifier.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>

TEST(DesktopNotifier, WithoutABusOrServiceNothingIsShownAndNothingWaits)
{
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    QElapsedTimer t;
    t.start();
    DesktopNotifier noBus;
    EXPECT_FALSE(noBus.notify("Dentist", "11-03-2024 09:00"));
    DesktopNotifier unconnected(QDBusConnection(QStringLiteral("never connected")));
    EXPECT_FALSE(unconnected.notify("Dentist", "11-03-2024 09:00"));
    EXPECT_LT(t.elapsed(), 500);
}

namespace
{
// The notification service as a desktop offers it; answers on a thread of its own, because
// the notifier waits for the answer.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList received() const
    {
        QMutexLocker lock(&m_mutex);
        return m_received;
    }

public slots:
    uint Notify(const QString &appName, uint, const QString &, const QString &summary,
                const QString &body, const QStringList &, const QVariantMap &, int)
    {
        QMutexLocker lock(&m_mutex);
        m_received << appName + "|" + summary + "|" + body;
        return uint(m_received.size());
    }

private:
    mutable QMutex m_mutex;
    QStringList m_received;
};

// A private session bus; stopped with the object. address() is empty when none started.
struct PrivateBus {
    PrivateBus()
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) return;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon.waitForStarted(5000)) return;
        QElapsedTimer t;
        t.start();
        while (!daemon.canReadLine() && t.elapsed() < 5000)
            daemon.waitForReadyRead(100);
        address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        daemon.terminate();
        daemon.waitForFinished(3000);
    }
    QProcess daemon;
    QString address;
};
} // namespace

TEST(DesktopNotifier, TheServiceGetsTheSubjectAndTimeAndItsAbsenceIsNoError)
{
    PrivateBus bus;
    if (bus.address.isEmpty()) GTEST_SKIP() << "no dbus-daemon to start a private bus";
    QDBusConnection client = QDBusConnection::connectToBus(bus.address, "notifier-client");
    ASSERT_TRUE(client.isConnected());
    DesktopNotifier notifier(client);
    EXPECT_FALSE(notifier.notify("Dentist", "11-03-2024 09:00")) << "no service yet";

    QDBusConnection service = QDBusConnection::connectToBus(bus.address, "notifier-service");
    QThread serviceThread;
    auto *fake = new FakeNotifications; // deleted on its thread when that ends
    fake->moveToThread(&serviceThread);
    QObject::connect(&serviceThread, &QThread::finished, fake, &QObject::deleteLater);
    serviceThread.start();
    ASSERT_TRUE(
        service.registerObject(DesktopNotifier::Path, fake, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(DesktopNotifier::Service));

    EXPECT_TRUE(notifier.notify("Dentist", "11-03-2024 09:00"));
    EXPECT_EQ(fake->received(), QStringList{"Dayloom|Dentist|11-03-2024 09:00"});

    service.unregisterService(DesktopNotifier::Service);
    service.unregisterObject(DesktopNotifier::Path);
    serviceThread.quit();
    serviceThread.wait();
    QDBusConnection::disconnectFromBus("notifier-service");
    QDBusConnection::disconnectFromBus("notifier-client");
}

#include "DesktopNotifierTest.moc"
