#pragma once
// A second process that holds a table file's write lock: the sqlite3 shell, inside an open
// exclusive transaction, until release() (or the object's end) closes its input. While it
// holds the lock every write of the program to that file fails once its busy wait runs out.
#include <QProcess>
#include <QString>

class SecondProcessLock
{
public:
    // Starts the shell on `path` and waits until it holds the lock; held() tells whether it does.
    explicit SecondProcessLock(const QString &path)
    {
        m_shell.start(QStringLiteral("sqlite3"), {path});
        if (!m_shell.waitForStarted(5000)) return;
        m_shell.write("BEGIN EXCLUSIVE;\nSELECT 'locked';\n");
        QByteArray out;
        while (!out.contains("locked") && m_shell.waitForReadyRead(5000))
            out += m_shell.readAllStandardOutput();
        m_held = out.contains("locked");
    }
    ~SecondProcessLock() { release(); }
    SecondProcessLock(const SecondProcessLock &) = delete;
    SecondProcessLock &operator=(const SecondProcessLock &) = delete;

    bool held() const { return m_held; }
    // Ends the shell without committing; the lock is gone when this returns.
    void release()
    {
        if (m_shell.state() == QProcess::NotRunning) return;
        m_shell.closeWriteChannel();
        if (!m_shell.waitForFinished(5000)) {
            m_shell.kill();
            m_shell.waitForFinished();
        }
        m_held = false;
    }

private:
    QProcess m_shell;
    bool m_held = false;
};
