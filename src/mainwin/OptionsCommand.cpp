#include "mainwin/OptionsCommand.h"

#include "core/Settings.h"
#include "dialogs/OptionsDialog.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainWindow.h"

#include <QAction>
#include <QDir>

OptionsCommand::OptionsCommand(MainWindow &window, Settings &settings)
    : QObject(&window), m_window(window), m_settings(settings)
{
    DialogPrompts prompts;
    prompts.warn = [&window](const QString &text) { window.showMessage(text); };
    m_dialog = new OptionsDialog(settings, window.format(), window.font().font, prompts, &window);
    connect(m_dialog, &OptionsDialog::applied, this, [this](const OptionsDialog::Outcome &o) {
        if (!m_settings.autostartApplied()) {
            const QString entry = QDir::toNativeSeparators(m_settings.locations().autostartFile);
            m_window.showMessage(
                m_settings.autostart()
                    ? QStringLiteral("The autostart entry \"%1\" could not be written.").arg(entry)
                    : QStringLiteral("The autostart entry \"%1\" could not be removed.")
                          .arg(entry));
        }
        m_window.applySettings(o.trayWasOn, o.togglePriority, o.toggleFinished);
    });
    window.addWakeUpDialog(m_dialog);
    QAction *item = window.menus().optionsAction();
    item->setEnabled(true);
    connect(item, &QAction::triggered, this, &OptionsCommand::run);
}

bool OptionsCommand::run()
{
    return m_dialog->exec() == QDialog::Accepted;
}
