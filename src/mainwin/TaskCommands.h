#pragma once
// The commands of the tasks view: "New Task..." and "New Subtask..." (menus, popups, the New
// button, Ctrl+N, typing a character on the list), "Edit..." (menus, popup, double click) and
// "Delete" (menus, popup, the Delete button and key) of the selected tasks with their whole
// subtrees. Owns the task editor and runs it modally. Undoing a delete goes through the
// window's one Undo command. updateStates() enables the commands for the tasks view; outside
// it they are left to the event commands.
#include <QObject>
#include <QString>

#include <optional>

class Clock;
class LayersStore;
class MainWindow;
class Settings;
class TaskEditor;
class TasksGrid;
class TasksStore;

class TaskCommands : public QObject
{
    Q_OBJECT
public:
    // The window's menus, panels and tasks grid must exist; every reference must outlive this.
    TaskCommands(MainWindow &window, TasksGrid &grid, TasksStore &tasks, LayersStore &layers,
                 const Settings &settings, const Clock &clock);

    // A new task: a subtask of the one selected task, else a top-level task in the layer
    // current in the navigator. Its id; nullopt when it was not saved.
    std::optional<int> newTask(const QString &subject = {});
    // A subtask of the one selected task with an empty subject; nullopt without exactly one.
    std::optional<int> newSubtask();
    // Edits task `id`; false when it does not exist or the editor was cancelled.
    bool editTask(int id);
    // Edits the one selected task; false when not exactly one is selected.
    bool editSelected();
    // Deletes the selected tasks with their subtrees through the undo log.
    void deleteSelected();
    void updateStates();

    TaskEditor &editor() const { return *m_editor; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<int> runNew(int parentId, const QString &subject);
    bool inTasksView() const;

    MainWindow &m_window;
    TasksGrid &m_grid;
    TasksStore &m_tasks;
    TaskEditor *m_editor = nullptr; // owned by the window
    QString m_pendingAccent;
};
