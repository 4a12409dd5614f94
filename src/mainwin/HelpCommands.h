#pragma once
// The Help menu: "Dayloom Help" opens the help window at its contents, "All Shortcuts" at the
// page of keys and mouse actions, "About..." the modal about box. The help window is created
// at its first use and then kept, so every later command shows the same window.
#include <QObject>
#include <QPointer>

class HelpWindow;
class MainMenus;
class QWidget;

class HelpCommands : public QObject
{
    Q_OBJECT
public:
    // Connects and enables the Help items of `menus`; `window` owns this object and the help
    // window.
    HelpCommands(MainMenus &menus, QWidget &window);

    // Shows `page` of the help window (HelpWindow::ContentsPage, ShortcutsPage).
    void showHelp(const QString &page);
    void showAbout();
    // The help window; null before the first help command.
    HelpWindow *helpWindow() const;

private:
    QWidget &m_window;
    QPointer<HelpWindow> m_helpWindow;
};
