#pragma once
// The icon in the desktop's tray while UseTrayIcon is on. A double click brings the main
// window back; its menu holds "Restore Dayloom" (only while the window is hidden or
// minimised), a separator and "Shutdown Dayloom", which ends the program even though closing
// the window would only hide it. While the icon is shown, minimising the window hides it too,
// so that only the icon remains.
#include <QObject>
#include <QSystemTrayIcon>

class MainWindow;
class QAction;
class QMenu;

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *ToolTip = "Dayloom";

    // Shows the icon and hands it to `window` (which then closes to the tray); the icon is
    // taken back from the window when this object goes. `window` must outlive it.
    explicit TrayIcon(MainWindow &window);
    ~TrayIcon() override;

    QSystemTrayIcon &icon() { return m_icon; }
    QMenu *menu() const { return m_menu; }
    QAction *restoreAction() const { return m_restore; }
    QAction *shutdownAction() const { return m_shutdown; }

    // Shows the main window maximised and in front.
    void restoreWindow();
    // Ends the program: the next close of the window is not turned into hiding.
    void shutDown();
    // Makes "Restore Dayloom" visible only while the window is hidden or minimised; run before
    // the menu opens.
    void updateMenu();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainWindow &m_window;
    QSystemTrayIcon m_icon;
    QMenu *m_menu = nullptr;
    QAction *m_restore = nullptr;
    QAction *m_shutdown = nullptr;
};
