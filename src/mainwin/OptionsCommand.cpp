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
    QAction *item = window.menus().optionsAction();
    item->setEnabled(true);
    connect(item, &QAction::triggered, this, &OptionsCommand::run);
}

bool OptionsCommand::run()
{
    if (!m_dialog) buildDialog();
    return m_dialog->exec() == QDialog::Accepted;
}

void OptionsCommand::buildDialog()
{
    DialogPrompts prompts;
    prompts.warn = [this](const QString &text) { m_window.showMessage(text); };
    m_dialog =
        new OptionsDialog(m_settings, m_window.format(), m_window.font().font, prompts, &m_window);
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
    m_window.addWakeUpDialog(m_dialog);
}
