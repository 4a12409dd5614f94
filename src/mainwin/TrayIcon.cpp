#include "mainwin/TrayIcon.h"

#include "mainwin/MainWindow.h"
#include "platform/ProgramIcon.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>

TrayIcon::TrayIcon(MainWindow &window) : m_window(window)
{
    m_menu = new QMenu(&window);
    m_restore = m_menu->addAction(QStringLiteral("Restore Dayloom"));
    m_menu->addSeparator();
    m_shutdown = m_menu->addAction(QStringLiteral("Shutdown Dayloom"));
    connect(m_restore, &QAction::triggered, this, &TrayIcon::restoreWindow);
    connect(m_shutdown, &QAction::triggered, this, &TrayIcon::shutDown);
    connect(m_menu, &QMenu::aboutToShow, this, &TrayIcon::updateMenu);

    m_icon.setIcon(programIcon());
    m_icon.setToolTip(QString::fromLatin1(ToolTip));
    m_icon.setContextMenu(m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) restoreWindow();
            });
    m_window.installEventFilter(this);
    m_window.setShutdownRequested(false);
    m_window.setTrayIcon(&m_icon);
    m_icon.show();
}

TrayIcon::~TrayIcon()
{
    m_window.setTrayIcon(nullptr);
    m_window.removeEventFilter(this);
}

void TrayIcon::restoreWindow()
{
    m_window.show();
    m_window.showMaximized();
    m_window.raise();
    m_window.activateWindow();
    m_restore->setVisible(false);
}

void TrayIcon::shutDown()
{
    m_window.setShutdownRequested(true);
    // A hidden window closes without the last-window signal, so the program is told to end.
    if (m_window.close()) QCoreApplication::quit();
}

void TrayIcon::updateMenu()
{
    m_restore->setVisible(!m_window.isVisible() || m_window.isMinimized());
}

bool TrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::WindowStateChange &&
        m_window.isMinimized() && m_window.closeHidesToTray()) {
        // Hiding inside the state change would be undone by the window system's own handling.
        QTimer::singleShot(0, &m_window, [this] {
            if (m_window.isMinimized()) m_window.hide();
        });
    }
    return QObject::eventFilter(watched, event);
}
