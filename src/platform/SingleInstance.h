#pragma once
// One running copy per user: a lock file and a local socket, both named "DayloomIsRunning",
// in the user's runtime folder. The first copy holds the lock and listens; a later copy
// sends its message over the socket and ends. A lock or socket left by a killed copy is
// taken over.
//
// Messages are one line of text: "wake 0" (show yourself), "wake 1" (show yourself and import
// what "import.dat" names), "snooze" (the reminder program changed "snooze.dat"), "state"
// (answer with the window state; used by tests). The first copy answers each with one line.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *Name = "DayloomIsRunning";

    // `folder` holds the lock and the socket; empty = $XDG_RUNTIME_DIR (else the temp folder).
    explicit SingleInstance(QString folder = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the first copy and listens for messages.
    bool claim();

    // Sends one message line to the first copy and returns its answer line, or an empty
    // string when no copy answered within `timeoutMs`.
    static QString send(const QString &folder, const QString &message, int timeoutMs = 2000);

    // Called for every message received; returns the answer line ("ok" when unset).
    void setHandler(std::function<QString(const QString &)> handler);

    static QString defaultFolder();
    QString socketPath() const;

private:
    void onNewConnection();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    std::function<QString(const QString &)> m_handler;
};
