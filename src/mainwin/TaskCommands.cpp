#include "mainwin/TaskCommands.h"

#include "dialogs/TaskEditor.h"
#include "mainwin/EventCommands.h"
#include "mainwin/EventEditing.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorColumn.h"
#include "mainwin/NavigatorLayerList.h"
#include "store/TasksStore.h"
#include "views/FlatButton.h"
#include "views/TasksGrid.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

TaskCommands::TaskCommands(MainWindow &window, TasksGrid &grid, TasksStore &tasks,
                           LayersStore &layers, const Settings &settings, const Clock &clock)
    : QObject(&window), m_window(window), m_grid(grid), m_tasks(tasks)
{
    DialogPrompts prompts;
    prompts.warn = [&window](const QString &text) { window.showMessage(text); };
    m_editor = new TaskEditor(tasks, layers, window.format(), clock, settings, prompts, &window);

    MainMenus &m = window.menus();
    const auto whenTasks = [this](auto command) {
        return [this, command] {
            if (inTasksView()) command();
        };
    };
    for (QAction *a : {m.newEventAction(), m.newTaskAction()})
        connect(a, &QAction::triggered, this, whenTasks([this] { newTask(); }));
    connect(window.panels().newButton(), &FlatButton::clicked, this,
            whenTasks([this] { newTask(); }));
    connect(m.newSubtaskAction(), &QAction::triggered, this, [this] { newSubtask(); });
    for (QAction *a : {m.editAction(), m.taskEditAction()})
        connect(a, &QAction::triggered, this, whenTasks([this] { editSelected(); }));
    for (QAction *a : {m.deleteAction(), m.taskDeleteAction()})
        connect(a, &QAction::triggered, this, whenTasks([this] { deleteSelected(); }));
    connect(window.panels().deleteButton(), &FlatButton::clicked, this,
            whenTasks([this] { deleteSelected(); }));

    connect(&grid, &TasksGrid::editRequested, this, &TaskCommands::editTask);
    connect(&grid, &TasksGrid::taskMoved, this, [this] {
        m_window.eventCommands().setUndoAvailable(true, EventCommands::UndoMoveText);
        m_window.refresh();
    });
    connect(&grid, &TasksGrid::taskPopupRequested, this,
            [&m](QPoint at) { m.taskMenu()->popup(at); });
    connect(&grid, &TasksGrid::emptyPopupRequested, this,
            [&m](QPoint at) { m.tasksMenu()->popup(at); });
    connect(&grid, &TasksGrid::commandStatesChanged, &window, &MainWindow::updateCommands);
    window.installEventFilter(this);
}

bool TaskCommands::inTasksView() const
{
    return m_window.viewKind() == ViewTasks;
}

std::optional<int> TaskCommands::runNew(int parentId, const QString &subject)
{
    if (m_window.isReadOnly()) return std::nullopt;
    const int layer = m_window.navigator().layerList()->currentLayerId();
    if (!m_editor->prepareNew(parentId, subject, layer)) return std::nullopt;
    const bool saved = m_editor->exec() == QDialog::Accepted && m_editor->savedId() >= 0;
    m_window.refresh();
    if (!saved) return std::nullopt;
    m_grid.selectTask(m_editor->savedId());
    m_window.updateCommands();
    return m_editor->savedId();
}

std::optional<int> TaskCommands::newTask(const QString &subject)
{
    const QList<int> &selected = m_grid.selectedIds();
    const QString text = m_pendingAccent + subject;
    m_pendingAccent.clear();
    return runNew(selected.size() == 1 ? selected.front() : -1, text);
}

std::optional<int> TaskCommands::newSubtask()
{
    if (m_grid.selectedIds().size() != 1) return std::nullopt;
    m_pendingAccent.clear();
    return runNew(m_grid.selectedIds().front(), {});
}

bool TaskCommands::editTask(int id)
{
    if (m_window.isReadOnly()) return false;
    if (!m_editor->prepareExisting(id)) return false;
    const bool saved = m_editor->exec() == QDialog::Accepted && m_editor->savedId() >= 0;
    m_window.refresh();
    return saved;
}

bool TaskCommands::editSelected()
{
    return m_grid.selectedIds().size() == 1 && editTask(m_grid.selectedIds().front());
}

void TaskCommands::deleteSelected()
{
    const QList<int> ids = m_grid.selectedIds();
    if (ids.isEmpty() || m_window.isReadOnly()) return;
    const StoreResult r = m_tasks.deleteWithUndo(ids);
    // Nothing is deleted unless the undo file was written first.
    if (r.count > 0) m_window.eventCommands().setUndoAvailable(true);
    m_grid.clearSelection();
    m_window.refresh();
    if (!r.ok)
        m_window.showMessage(QStringLiteral("The tasks could not be deleted.\n%1").arg(r.error));
}

void TaskCommands::updateStates()
{
    if (!inTasksView()) return;
    MainMenus &m = m_window.menus();
    const qsizetype n = m_grid.selectedIds().size();
    m.setNewItemForTasks(true);
    m.newEventAction()->setText(n == 1 ? QStringLiteral("New Subtask...")
                                       : QStringLiteral("New Task..."));
    const bool writable = !m_window.isReadOnly();
    for (QAction *a : {m.newEventAction(), m.newTaskAction()})
        a->setEnabled(writable);
    m_window.panels().newButton()->setEnabled(writable);
    for (QAction *a : {m.editAction(), m.taskEditAction(), m.newSubtaskAction()})
        a->setEnabled(writable && n == 1);
    for (QAction *a : {m.deleteAction(), m.taskDeleteAction()})
        a->setEnabled(writable && n > 0);
}

bool TaskCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::KeyPress && inTasksView() &&
        !QApplication::activeModalWidget()) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool command =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!command && text.size() == 1 && (text[0].isPrint() || text[0] == u'\r')) {
            if (EventEditing::isAccent(text[0])) {
                m_pendingAccent = text;
            } else {
                // Enter starts a task with an empty subject.
                newTask(text == QLatin1String("\r") ? QString() : text);
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
