#pragma once
// A desktop notification beside the reminder window, through the freedesktop notification
// service on the session bus. A desktop without a session bus or without the service shows
// none, and that is no error: the reminder window is the reminder.
#include <QDBusConnection>
#include <QString>

class DesktopNotifier
{
public:
    static constexpr const char *Service = "org.freedesktop.Notifications";
    static constexpr const char *Path = "/org/freedesktop/Notifications";
    // The longest wait for the service's answer (ms).
    static constexpr int CallTimeoutMs = 1000;

    // The session bus of this process.
    DesktopNotifier();
    // A given connection (a test's private bus).
    explicit DesktopNotifier(const QDBusConnection &bus);

    // Shows `summary` with `body`. True when the service took it; false without a bus, without
    // the service, or when it answered with an error or not within CallTimeoutMs.
    bool notify(const QString &summary, const QString &body);

private:
    QDBusConnection m_bus;
};
