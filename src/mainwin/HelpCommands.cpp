#include "mainwin/HelpCommands.h"

#include "dialogs/AboutDialog.h"
#include "mainwin/HelpWindow.h"
#include "mainwin/MainMenus.h"

#include <QAction>

HelpCommands::HelpCommands(MainMenus &menus, QWidget &window) : QObject(&window), m_window(window)
{
    connect(menus.helpAction(), &QAction::triggered, this,
            [this] { showHelp(QString::fromLatin1(HelpWindow::ContentsPage)); });
    connect(menus.allShortcutsAction(), &QAction::triggered, this,
            [this] { showHelp(QString::fromLatin1(HelpWindow::ShortcutsPage)); });
    connect(menus.aboutAction(), &QAction::triggered, this, &HelpCommands::showAbout);
    for (QAction *a : {menus.helpAction(), menus.allShortcutsAction(), menus.aboutAction()})
        a->setEnabled(true);
}

HelpWindow *HelpCommands::helpWindow() const
{
    return m_helpWindow;
}

void HelpCommands::showHelp(const QString &page)
{
    if (!m_helpWindow) m_helpWindow = new HelpWindow(&m_window);
    m_helpWindow->showPage(page);
}

void HelpCommands::showAbout()
{
    AboutDialog about(&m_window);
    about.exec();
}
