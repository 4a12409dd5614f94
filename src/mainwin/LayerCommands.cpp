#include "mainwin/LayerCommands.h"

#include "core/Settings.h"
#include "dialogs/MoveToLayerDialog.h"
#include "mainwin/EventCommands.h"
#include "mainwin/EventSelection.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorColumn.h"
#include "mainwin/NavigatorLayerList.h"
#include "store/EventsStore.h"
#include "store/LayerEventRange.h"
#include "store/TasksStore.h"
#include "views/MonthGrid.h"
#include "views/TasksGrid.h"
#include "views/TimeGrid.h"
#include "views/YearGrid.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QMenu>
#include <QTimer>

LayerCommands::LayerCommands(MainWindow &window, LayersStore &layers, EventsStore &events,
                             TasksStore &tasks, Settings &settings, const Clock &clock)
    : QObject(&window), m_window(window), m_events(events), m_tasks(tasks)
{
    DialogPrompts prompts;
    prompts.warn = [&window](const QString &text) { window.showMessage(text); };
    m_manager =
        new LayerManager(layers, events, tasks, settings, window.format(), clock, prompts, &window);
    m_moveDialog = new MoveToLayerDialog(layers, &window);
    QList<QWidget *> dialogs = window.wakeUpDialogs();
    dialogs << m_manager << m_moveDialog;
    window.setWakeUpDialogs(dialogs);
    connect(m_manager, &LayerManager::layersImported, &window, &MainWindow::reFilter);
    connect(m_manager, &LayerManager::eventsDeletedWithUndo, this,
            [this] { m_window.eventCommands().setUndoAvailable(true); });
    window.installEventFilter(this);
    connectCommands();
    updateStates();
}

void LayerCommands::connectCommands()
{
    MainMenus &m = m_window.menus();
    using Mode = LayerManager::Mode;
    const std::pair<QAction *, Mode> managerActions[] = {
        {m.layerManagerAction(), Mode::Layers},
        {m.layerMenuManagerAction(), Mode::Layers},
        {m.deleteEventsAction(), Mode::DeleteEvents},
        {m.moveEventsAction(), Mode::MoveEvents},
        {m.copyEventsAction(), Mode::CopyEvents}};
    for (const auto &[action, mode] : managerActions)
        connect(action, &QAction::triggered, this, [this, mode = mode] { openManager(mode); });
    for (QAction *a :
         {m.moveToLayerAction(), m.eventMoveToLayerAction(), m.taskMoveToLayerAction()})
        connect(a, &QAction::triggered, this, [this] { moveSelectedToLayer(); });

    NavigatorLayerList *list = m_window.navigator().layerList();
    connect(list, &NavigatorLayerList::managerRequested, this,
            [this] { openManager(LayerManager::Mode::Layers); });
    connect(list, &NavigatorLayerList::menuRequested, this,
            [this](QPoint global) { m_window.menus().layerMenu()->popup(global); });

    for (EventGrid *grid : {static_cast<EventGrid *>(m_window.timeGrid()),
                            static_cast<EventGrid *>(m_window.monthGrid()),
                            static_cast<EventGrid *>(m_window.yearGrid())})
        connect(grid, &EventGrid::commandStatesChanged, this, &LayerCommands::updateStates);
}

void LayerCommands::updateStates()
{
    const bool tasksView = m_window.viewKind() == ViewTasks;
    const bool any = tasksView
                         ? m_window.tasksGrid() && !m_window.tasksGrid()->selectedIds().isEmpty()
                         : !EventSelection(m_window).ids().empty();
    const bool writable = !m_window.isReadOnly();
    MainMenus &m = m_window.menus();
    for (QAction *a :
         {m.moveToLayerAction(), m.eventMoveToLayerAction(), m.taskMoveToLayerAction()})
        a->setEnabled(writable && any);
    for (QAction *a : {m.layerManagerAction(), m.layerMenuManagerAction(), m.deleteEventsAction(),
                       m.moveEventsAction(), m.copyEventsAction()})
        a->setEnabled(writable);
}

bool LayerCommands::openManager(LayerManager::Mode mode, const QString &importFile)
{
    if (m_manager->isVisible()) return false;
    m_manager->prepare(mode, importFile);
    const bool accepted = m_manager->exec() == QDialog::Accepted;
    m_window.reFilter();
    return accepted;
}

bool LayerCommands::moveSelectedToLayer()
{
    const bool tasksView = m_window.viewKind() == ViewTasks;
    QList<int> taskIds;
    QStringList eventIds;
    if (tasksView && m_window.tasksGrid()) {
        taskIds = m_window.tasksGrid()->selectedIds();
    } else {
        for (int id : EventSelection(m_window).ids())
            if (!eventIds.contains(QString::number(id))) eventIds << QString::number(id);
    }
    if (taskIds.isEmpty() && eventIds.isEmpty()) return false;
    m_moveDialog->prepare();
    if (m_moveDialog->exec() != QDialog::Accepted) return false;
    const int target = m_moveDialog->chosenLayerId();
    if (target < 0) return false;
    if (tasksView) {
        (void)m_tasks.moveTasksToLayer(taskIds, target);
    } else {
        const StoreResult r = LayerEventRange::moveEvents(m_events, eventIds, target);
        if (!r)
            m_window.showMessage(
                QStringLiteral("The events could not all be moved.\n%1").arg(r.error));
    }
    m_window.refresh();
    return true;
}

void LayerCommands::schedulePendingImport()
{
    if (m_importQueued) return;
    m_importQueued = true;
    QTimer::singleShot(0, this, &LayerCommands::runPendingImport);
}

void LayerCommands::runPendingImport()
{
    m_importQueued = false;
    // A window not shown yet (started hidden) takes the import when it is shown.
    if (!m_window.importPending() || !m_window.isVisible() || m_manager->isVisible()) return;
    const QString path = m_window.pendingImportPath();
    if (m_window.isReadOnly()) {
        m_window.setPendingImport({});
        m_window.showMessage(QStringLiteral("\"%1\" was not imported.\nThis calendar is open "
                                            "read-only.")
                                 .arg(QDir::toNativeSeparators(path)));
        return;
    }
    openManager(LayerManager::Mode::Layers, path);
    if (m_window.pendingImportPath() == path) m_window.setPendingImport({});
}

bool LayerCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Show && m_window.importPending())
        schedulePendingImport();
    return QObject::eventFilter(watched, event);
}
