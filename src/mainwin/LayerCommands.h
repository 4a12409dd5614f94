#pragma once
// The layer commands of the main window: "Layer..." (menu, the layer list's popup and a double
// click on the layer list), "Delete Events...", "Move Events...", "Copy Events..." (the layer
// manager in its four modes), "Move To Layer..." for the selected events or tasks, and the
// pending import of a layer file, which opens the layer manager once the window is shown.
// Owns both dialogs; after each the window re-filters the shown layers and refreshes.
#include "dialogs/LayerManager.h"

#include <QObject>

class EventsStore;
class LayersStore;
class MainWindow;
class MoveToLayerDialog;
class Settings;
class TasksStore;
class Clock;

class LayerCommands : public QObject
{
    Q_OBJECT
public:
    // The window's menus, navigator and grids must exist; every reference must outlive this.
    LayerCommands(MainWindow &window, LayersStore &layers, EventsStore &events, TasksStore &tasks,
                  Settings &settings, const Clock &clock);

    // Runs the layer manager in `mode` (with `importFile` in mode Layers: imported at once).
    // True when it was closed with OK.
    bool openManager(LayerManager::Mode mode, const QString &importFile = {});
    // Asks for a layer and moves the selected events (dated views) or tasks with their trees
    // (tasks view) into it. False when nothing is selected or the dialog was cancelled.
    bool moveSelectedToLayer();
    // Opens the layer manager for the window's pending import on a later turn of the event
    // loop, once the window is shown; nothing while the manager is open already.
    void schedulePendingImport();
    // Enables "Move To Layer..." when something is selected.
    void updateStates();

    LayerManager &manager() const { return *m_manager; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCommands();
    void runPendingImport();

    MainWindow &m_window;
    EventsStore &m_events;
    TasksStore &m_tasks;
    LayerManager *m_manager = nullptr;         // owned by the window
    MoveToLayerDialog *m_moveDialog = nullptr; // owned by the window
    bool m_importQueued = false;
};
