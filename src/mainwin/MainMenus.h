#pragma once
// The main window's menu bar (File, Edit, View, Help) and its popup menus (event, selection,
// task, tasks, tasks header, layer), with their texts, shortcuts and check marks. Owns every
// QAction as a member; the window connects the ones that work. Commands whose dialogs and
// store operations come later are present and disabled.
#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;

class MainMenus
{
public:
    static constexpr int ViewCount = 20;
    static constexpr int ScaleCount = 6;

    // Fills `bar` and creates the popup menus and action groups as children of `owner`.
    MainMenus(QMenuBar &bar, QWidget &owner);

    // Checks time-scale choice 0-5 in the main menu and in the selection menu.
    void checkTimeScale(int scaleIndex);
    // Zoom and time scale: enabled in the main menu and shown in the selection menu in the
    // time views only.
    void setTimeViewCommands(bool timeView);
    // "New Event..." in dated views, "New Task..." in the tasks view.
    void setNewItemForTasks(bool tasksView);

    // --- File ---
    QAction *newEventAction() const { return m_newEventAction; }
    QAction *layerManagerAction() const { return m_layerManagerAction; }
    QAction *deleteEventsAction() const { return m_deleteEventsAction; }
    QAction *moveEventsAction() const { return m_moveEventsAction; }
    QAction *copyEventsAction() const { return m_copyEventsAction; }
    QAction *importCalendarAction() const { return m_importCalendarAction; }
    QAction *exportCalendarAction() const { return m_exportCalendarAction; }
    QAction *printAction() const { return m_printAction; }
    QAction *exitAction() const { return m_exitAction; }
    // --- Edit ---
    QAction *undoAction() const { return m_undoAction; }
    QAction *editAction() const { return m_editAction; }
    QAction *deleteAction() const { return m_deleteAction; }
    QAction *cutAction() const { return m_cutAction; }
    QAction *copyAction() const { return m_copyAction; }
    QAction *pasteAction() const { return m_pasteAction; }
    QAction *moveToLayerAction() const { return m_moveToLayerAction; }
    QAction *optionsAction() const { return m_optionsAction; }
    // --- View ---
    QAction *zoomInAction() const { return m_zoomInAction; }
    QAction *zoomOutAction() const { return m_zoomOutAction; }
    QMenu *timeScaleMenu() const { return m_timeScaleMenu; }
    // Time-scale choice 0-5: 5, 6, 10, 15, 30 minutes, 1 hour (F5 to F10).
    QAction *timeScaleAction(int scaleIndex) const
    {
        return m_timeScaleActions[std::size_t(scaleIndex)];
    }
    // The view of number `kind` (ViewKind), checkable, one of a group.
    QAction *viewAction(int kind) const { return m_viewActions[std::size_t(kind)]; }
    QAction *showNavigatorAction() const { return m_showNavigatorAction; }
    // --- Help ---
    QAction *helpAction() const { return m_helpAction; }
    QAction *allShortcutsAction() const { return m_allShortcutsAction; }
    QAction *aboutAction() const { return m_aboutAction; }

    // --- Popup menus ---
    QMenu *eventMenu() const { return m_eventMenu; }
    QAction *eventEditAction() const { return m_eventEditAction; }
    QAction *eventDeleteAction() const { return m_eventDeleteAction; }
    QAction *deleteOccurrenceAction() const { return m_deleteOccurrenceAction; }
    QAction *breakOutOccurrenceAction() const { return m_breakOutOccurrenceAction; }
    QAction *eventCutAction() const { return m_eventCutAction; }
    QAction *eventCopyAction() const { return m_eventCopyAction; }
    QAction *eventMoveToLayerAction() const { return m_eventMoveToLayerAction; }

    QMenu *selectionMenu() const { return m_selectionMenu; }
    QAction *selectionNewEventAction() const { return m_selectionNewEventAction; }
    QAction *selectionPasteAction() const { return m_selectionPasteAction; }
    QAction *selectionZoomInAction() const { return m_selectionZoomInAction; }
    QAction *selectionZoomOutAction() const { return m_selectionZoomOutAction; }
    QMenu *selectionTimeScaleMenu() const { return m_selectionTimeScaleMenu; }
    QAction *selectionTimeScaleAction(int scaleIndex) const
    {
        return m_selectionTimeScaleActions[std::size_t(scaleIndex)];
    }

    QMenu *taskMenu() const { return m_taskMenu; }
    QAction *newSubtaskAction() const { return m_newSubtaskAction; }
    QAction *taskEditAction() const { return m_taskEditAction; }
    QAction *taskDeleteAction() const { return m_taskDeleteAction; }
    QAction *taskMoveToLayerAction() const { return m_taskMoveToLayerAction; }

    QMenu *tasksMenu() const { return m_tasksMenu; }
    QAction *newTaskAction() const { return m_newTaskAction; }

    QMenu *tasksHeaderMenu() const { return m_tasksHeaderMenu; }
    QAction *showPriorityAction() const { return m_showPriorityAction; }
    QAction *showFinishedAction() const { return m_showFinishedAction; }

    QMenu *layerMenu() const { return m_layerMenu; }
    QAction *layerMenuManagerAction() const { return m_layerMenuManagerAction; }

private:
    void buildMenuBar(QMenuBar &bar, QWidget &owner);
    void buildPopups(QWidget &owner);

    QAction *m_newEventAction = nullptr;
    QAction *m_layerManagerAction = nullptr;
    QAction *m_deleteEventsAction = nullptr;
    QAction *m_moveEventsAction = nullptr;
    QAction *m_copyEventsAction = nullptr;
    QAction *m_importCalendarAction = nullptr;
    QAction *m_exportCalendarAction = nullptr;
    QAction *m_printAction = nullptr;
    QAction *m_exitAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_editAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QAction *m_cutAction = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *m_moveToLayerAction = nullptr;
    QAction *m_optionsAction = nullptr;
    QAction *m_zoomInAction = nullptr;
    QAction *m_zoomOutAction = nullptr;
    QMenu *m_timeScaleMenu = nullptr;
    std::array<QAction *, ScaleCount> m_timeScaleActions{};
    std::array<QAction *, ViewCount> m_viewActions{};
    QAction *m_showNavigatorAction = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_allShortcutsAction = nullptr;
    QAction *m_aboutAction = nullptr;

    QMenu *m_eventMenu = nullptr;
    QAction *m_eventEditAction = nullptr;
    QAction *m_eventDeleteAction = nullptr;
    QAction *m_deleteOccurrenceAction = nullptr;
    QAction *m_breakOutOccurrenceAction = nullptr;
    QAction *m_eventCutAction = nullptr;
    QAction *m_eventCopyAction = nullptr;
    QAction *m_eventMoveToLayerAction = nullptr;
    QMenu *m_selectionMenu = nullptr;
    QAction *m_selectionNewEventAction = nullptr;
    QAction *m_selectionPasteAction = nullptr;
    QAction *m_selectionZoomInAction = nullptr;
    QAction *m_selectionZoomOutAction = nullptr;
    QMenu *m_selectionTimeScaleMenu = nullptr;
    std::array<QAction *, ScaleCount> m_selectionTimeScaleActions{};
    QMenu *m_taskMenu = nullptr;
    QAction *m_newSubtaskAction = nullptr;
    QAction *m_taskEditAction = nullptr;
    QAction *m_taskDeleteAction = nullptr;
    QAction *m_taskMoveToLayerAction = nullptr;
    QMenu *m_tasksMenu = nullptr;
    QAction *m_newTaskAction = nullptr;
    QMenu *m_tasksHeaderMenu = nullptr;
    QAction *m_showPriorityAction = nullptr;
    QAction *m_showFinishedAction = nullptr;
    QMenu *m_layerMenu = nullptr;
    QAction *m_layerMenuManagerAction = nullptr;
};
