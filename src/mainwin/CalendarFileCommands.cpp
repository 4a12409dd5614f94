#include "mainwin/CalendarFileCommands.h"

#include "core/Clock.h"
#include "dialogs/CalendarExportDialog.h"
#include "dialogs/CalendarImportDialog.h"
#include "mainwin/EventCommands.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorColumn.h"
#include "store/IcsExport.h"
#include "store/IcsImport.h"
#include "store/LayerFileFormat.h"
#include "store/LayersStore.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace
{
const char *const Filter = "Calendar files (*.ics);;All files (*)";
}

CalendarFileCommands::CalendarFileCommands(MainWindow &window, LayersStore &layers,
                                           EventsStore &events, TasksStore &tasks,
                                           const Clock &clock)
    : QObject(&window), m_window(window), m_layers(layers), m_events(events), m_tasks(tasks),
      m_clock(clock)
{
    connect(window.menus().importCalendarAction(), &QAction::triggered, this,
            &CalendarFileCommands::chooseAndImport);
    connect(window.menus().exportCalendarAction(), &QAction::triggered, this,
            &CalendarFileCommands::chooseAndExport);
}

void CalendarFileCommands::updateStates()
{
    m_window.menus().importCalendarAction()->setEnabled(!m_window.isReadOnly());
}

QString CalendarFileCommands::pick(bool save)
{
    if (m_picker) return m_picker(save);
    return save ? QFileDialog::getSaveFileName(&m_window, QStringLiteral("Export Calendar"),
                                               QDir::homePath() + "/calendar.ics",
                                               QString::fromLatin1(Filter))
                : QFileDialog::getOpenFileName(&m_window, QStringLiteral("Import Calendar"),
                                               QDir::homePath(), QString::fromLatin1(Filter));
}

void CalendarFileCommands::chooseAndImport()
{
    const QString path = pick(false);
    if (path.isEmpty()) return;
    CalendarImportDialog dialog(QFileInfo(path).fileName(), m_layers.layers(),
                                m_layers.count() < LayerFileFormat::MaxLayers, &m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    (void)importFile(path, dialog.chosenLayer());
}

void CalendarFileCommands::chooseAndExport()
{
    CalendarExportDialog dialog(m_layers.layers(), &m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    const QList<int> chosen = dialog.chosenLayers();
    const QString path = pick(true);
    if (path.isEmpty()) return;
    (void)exportFile(path, chosen);
}

bool CalendarFileCommands::importFile(const QString &path, int layerId)
{
    if (m_window.isReadOnly()) {
        m_window.showMessage(QStringLiteral("The calendar \"%1\" was not imported.\nThis "
                                            "calendar is open read-only.")
                                 .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    const IcsReader::Options options{{}, DateTimeValue::fromQDateTime(m_clock.now())};
    const IcsImport::Summary s =
        IcsImport::importFile(path, layerId, m_layers, m_events, m_tasks, options);
    if (!s.ok) {
        m_window.showMessage(QStringLiteral("The calendar \"%1\" was not imported.\n%2")
                                 .arg(QDir::toNativeSeparators(path), s.error));
        return false;
    }
    m_window.eventCommands().setUndoAvailable(s.undoError.isEmpty(), UndoImportText);
    m_window.navigator().showLayers();
    m_window.reFilter();
    if (s.clean())
        m_window.showInformation(s.message());
    else
        m_window.showMessage(s.message());
    return true;
}

bool CalendarFileCommands::exportFile(const QString &path, const QList<int> &layerIDs)
{
    const StoreResult r = IcsExport::exportFile(path, layerIDs, m_layers, m_events, m_tasks,
                                                DateTimeValue::fromQDateTime(m_clock.now()));
    if (!r.ok) {
        m_window.showMessage(QStringLiteral("Cannot write file \"%1\".\n%2")
                                 .arg(QDir::toNativeSeparators(path), r.error));
        return false;
    }
    return true;
}
