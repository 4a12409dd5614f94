#pragma once
// Test support for whole-program runs under a private X server.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QThread>

// An X server of its own for one test, on a display number no other test run uses; stopped
// with the object. ok() is false when no Xvfb could be started.
class OwnXServer
{
public:
    OwnXServer()
        : m_display(QStringLiteral(":%1").arg(300 + int(QCoreApplication::applicationPid() % 500)))
    {
        m_server.setProgram(QStringLiteral("Xvfb"));
        m_server.setArguments({m_display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        m_server.start();
        if (!m_server.waitForStarted(5000)) return;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 10000 && !m_ok) {
            m_ok = xdotool({"getdisplaygeometry"}) == 0;
            if (!m_ok) QThread::msleep(100);
        }
    }
    ~OwnXServer()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    bool ok() const { return m_ok; }

    // The environment of a program shown on this server.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return env;
    }
    // Runs xdotool on this server; its exit code, -1 when it did not run.
    int xdotool(const QStringList &args) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(QStringLiteral("xdotool"), args);
        if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit) return -1;
        return p.exitCode();
    }

    // Waits until a window whose title matches the regular expression `title` is mapped;
    // false when none is within `ms`. Without a window manager the keyboard follows the
    // pointer, so keys reach such a window once it is mapped under the pointer.
    bool waitForWindow(const QString &title, int ms = 20000) const
    {
        QElapsedTimer t;
        t.start();
        while (xdotool({"search", "--onlyvisible", "--name", title}) != 0) {
            if (t.elapsed() > ms) return false;
            QThread::msleep(50);
        }
        return true;
    }

private:
    QString m_display;
    QProcess m_server;
    bool m_ok = false;
};
