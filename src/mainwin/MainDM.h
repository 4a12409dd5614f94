#pragma once
// The main window. It owns the views and steers them; the data lives in the stores handed in
// by the program entry.
#include <QMainWindow>
#include <QString>
#include <functional>

class TDReg;

class TForm_Main : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char *Caption = "Dayloom LE  ";

    explicit TForm_Main(TDReg &reg, QWidget *parent = nullptr);

    // Wake-up from another start of the program: 0 shows the window, 1 also takes the layer
    // file named in "import.dat" as the pending import. A missing "import.dat" is reported and
    // ends that wake-up without showing the window.
    void wakeUp(int param);

    // The layer file an import is pending for; empty when none.
    QString pendingImportPath() const { return m_pendingImport ? m_pendingImportPath : QString(); }
    bool importPending() const { return m_pendingImport; }
    void setPendingImport(const QString &path);

    // Set by the tray's shut-down command: the next close ends the program.
    void setShutdownRequested(bool on) { m_shutdownRequested = on; }

    // Shows a message to the user (a message box unless replaced, e.g. by tests).
    void showMessage(const QString &text);
    void setMessageHandler(std::function<void(const QString &)> handler);

    // Dialogs closed by a wake-up, first visible one only, in this order.
    void setWakeUpDialogs(QList<QWidget *> dialogs) { m_wakeUpDialogs = std::move(dialogs); }

    // True when closing hides to the tray instead of ending the program.
    bool closeHidesToTray() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    TDReg &m_reg;
    bool m_pendingImport = false;
    QString m_pendingImportPath;
    bool m_shutdownRequested = false;
    QList<QWidget *> m_wakeUpDialogs;
    std::function<void(const QString &)> m_messageHandler;
};
