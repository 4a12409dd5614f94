#include "mainwin/MainMenus.h"

#include "core/ViewSpan.h"
#include "core/ViewState.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace
{
constexpr std::array<const char *, MainMenus::ScaleCount> ScaleTexts{
    "5 Minutes", "6 Minutes", "10 Minutes", "15 Minutes", "30 Minutes", "1 Hour"};

QAction *addItem(QMenu *menu, const QString &text, const QKeySequence &shortcut = {},
                 bool enabled = true)
{
    QAction *a = menu->addAction(text);
    a->setShortcut(shortcut);
    a->setEnabled(enabled);
    return a;
}

// An item that starts disabled; its command turns it on when it applies (a selection, a
// writable calendar, something to undo).
QAction *addDisabledItem(QMenu *menu, const QString &text, const QKeySequence &shortcut = {})
{
    return addItem(menu, text, shortcut, false);
}

// The six time-scale choices as one checkable group; `withShortcuts`: F5 to F10.
void addScaleItems(QMenu *menu, QWidget &owner, bool withShortcuts,
                   std::array<QAction *, MainMenus::ScaleCount> &actions)
{
    auto *group = new QActionGroup(&owner);
    for (std::size_t i = 0; i < actions.size(); ++i) {
        QAction *a =
            addItem(menu, QString::fromLatin1(ScaleTexts[i]),
                    withShortcuts ? QKeySequence(Qt::Key(Qt::Key_F5 + int(i))) : QKeySequence());
        a->setCheckable(true);
        group->addAction(a);
        actions[i] = a;
    }
}
} // namespace

MainMenus::MainMenus(QMenuBar &bar, QWidget &owner)
{
    buildMenuBar(bar, owner);
    buildPopups(owner);
}

void MainMenus::buildMenuBar(QMenuBar &bar, QWidget &owner)
{
    QMenu *file = bar.addMenu(QStringLiteral("File"));
    m_newEventAction = addDisabledItem(file, "New Event...", QKeySequence(Qt::CTRL | Qt::Key_N));
    file->addSeparator();
    m_layerManagerAction = addDisabledItem(file, "Layer...", QKeySequence(Qt::CTRL | Qt::Key_L));
    m_deleteEventsAction =
        addDisabledItem(file, "Delete Events...", QKeySequence(Qt::CTRL | Qt::Key_D));
    m_moveEventsAction =
        addDisabledItem(file, "Move Events...", QKeySequence(Qt::CTRL | Qt::Key_M));
    m_copyEventsAction =
        addDisabledItem(file, "Copy Events...", QKeySequence(Qt::CTRL | Qt::Key_Y));
    file->addSeparator();
    m_importCalendarAction = addItem(file, "Import Calendar...");
    m_exportCalendarAction = addItem(file, "Export Calendar...");
    file->addSeparator();
    m_printAction =
        addDisabledItem(file, "Print Current View...", QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    m_exitAction = addItem(file, "Exit");

    QMenu *edit = bar.addMenu(QStringLiteral("Edit"));
    m_undoAction = addDisabledItem(edit, "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    m_editAction = addDisabledItem(edit, "Edit...");
    m_deleteAction = addDisabledItem(edit, "Delete", QKeySequence(Qt::Key_Delete));
    edit->addSeparator();
    m_cutAction = addDisabledItem(edit, "Cut", QKeySequence(Qt::CTRL | Qt::Key_X));
    m_copyAction = addDisabledItem(edit, "Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    m_pasteAction = addDisabledItem(edit, "Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    edit->addSeparator();
    m_moveToLayerAction =
        addDisabledItem(edit, "Move To Layer...", QKeySequence(Qt::CTRL | Qt::Key_T));
    edit->addSeparator();
    m_optionsAction = addDisabledItem(edit, "Options...");

    QMenu *view = bar.addMenu(QStringLiteral("View"));
    m_zoomInAction = addItem(view, "Zoom In", QKeySequence(Qt::CTRL | Qt::Key_I));
    m_zoomOutAction = addItem(view, "Zoom Out", QKeySequence(Qt::CTRL | Qt::Key_O));
    m_timeScaleMenu = view->addMenu(QStringLiteral("Time Scale"));
    addScaleItems(m_timeScaleMenu, owner, true, m_timeScaleActions);
    view->addSeparator();

    auto *viewGroup = new QActionGroup(&owner);
    auto addView = [this, viewGroup](QMenu *menu, int kind, bool enabled) {
        QAction *a = addItem(menu, ViewSpans::viewName(kind), {}, enabled);
        a->setCheckable(true);
        viewGroup->addAction(a);
        m_viewActions[std::size_t(kind)] = a;
    };
    QMenu *day = view->addMenu(QStringLiteral("Day"));
    for (int k = ViewDay; k <= View7Days; ++k)
        addView(day, k, true);
    addView(view, ViewWorkWeek, true);
    addView(view, ViewWeek, true);
    QMenu *month = view->addMenu(QStringLiteral("Month"));
    for (int k = ViewMonth; k <= View6Weeks; ++k)
        addView(month, k, true);
    QMenu *year = view->addMenu(QStringLiteral("Year"));
    for (int k = ViewYear; k <= View12Months; ++k)
        addView(year, k, true);
    addView(view, ViewTasks, true);
    view->addSeparator();
    m_showNavigatorAction = addItem(view, "Show Navigator", QKeySequence(Qt::CTRL | Qt::Key_S));
    m_showNavigatorAction->setCheckable(true);
    m_showNavigatorAction->setChecked(true);

    QMenu *help = bar.addMenu(QStringLiteral("Help"));
    m_helpAction = addDisabledItem(help, "Dayloom Help");
    m_allShortcutsAction = addDisabledItem(help, "All Shortcuts");
    help->addSeparator();
    m_aboutAction = addDisabledItem(help, "About...");
}

void MainMenus::buildPopups(QWidget &owner)
{
    m_selectionMenu = new QMenu(&owner);
    m_selectionNewEventAction = addDisabledItem(m_selectionMenu, "New Event...");
    m_selectionPasteAction = addDisabledItem(m_selectionMenu, "Paste");
    m_selectionZoomInAction = addItem(m_selectionMenu, "Zoom In");
    m_selectionZoomOutAction = addItem(m_selectionMenu, "Zoom Out");
    m_selectionTimeScaleMenu = m_selectionMenu->addMenu(QStringLiteral("Time Scale"));
    addScaleItems(m_selectionTimeScaleMenu, owner, false, m_selectionTimeScaleActions);

    m_eventMenu = new QMenu(&owner);
    m_eventEditAction = addDisabledItem(m_eventMenu, "Edit...");
    m_eventDeleteAction = addDisabledItem(m_eventMenu, "Delete");
    m_deleteOccurrenceAction = addDisabledItem(m_eventMenu, "Delete This Occurrence");
    m_deleteOccurrenceAction->setVisible(false);
    m_breakOutOccurrenceAction = addDisabledItem(m_eventMenu, "Break Out This Occurrence");
    m_breakOutOccurrenceAction->setVisible(false);
    m_eventCutAction = addDisabledItem(m_eventMenu, "Cut");
    m_eventCopyAction = addDisabledItem(m_eventMenu, "Copy");
    m_eventMoveToLayerAction = addDisabledItem(m_eventMenu, "Move To Layer...");

    m_taskMenu = new QMenu(&owner);
    m_newSubtaskAction = addDisabledItem(m_taskMenu, "New Subtask...");
    m_taskEditAction = addDisabledItem(m_taskMenu, "Edit...");
    m_taskDeleteAction = addDisabledItem(m_taskMenu, "Delete");
    m_taskMoveToLayerAction = addDisabledItem(m_taskMenu, "Move To Layer...");

    m_tasksMenu = new QMenu(&owner);
    m_newTaskAction = addDisabledItem(m_tasksMenu, "New Task...");

    m_tasksHeaderMenu = new QMenu(&owner);
    m_showPriorityAction = addDisabledItem(m_tasksHeaderMenu, "Show Priority");
    m_showPriorityAction->setCheckable(true);
    m_showFinishedAction = addDisabledItem(m_tasksHeaderMenu, "Show Finished");
    m_showFinishedAction->setCheckable(true);

    m_layerMenu = new QMenu(&owner);
    m_layerMenuManagerAction = addDisabledItem(m_layerMenu, "Layer...");
}

void MainMenus::checkTimeScale(int scaleIndex)
{
    m_timeScaleActions[std::size_t(scaleIndex)]->setChecked(true);
    m_selectionTimeScaleActions[std::size_t(scaleIndex)]->setChecked(true);
}

void MainMenus::setTimeViewCommands(bool timeView)
{
    m_zoomInAction->setEnabled(timeView);
    m_zoomOutAction->setEnabled(timeView);
    m_timeScaleMenu->menuAction()->setEnabled(timeView);
    for (QAction *a : {m_selectionZoomInAction, m_selectionZoomOutAction,
                       m_selectionTimeScaleMenu->menuAction()})
        a->setVisible(timeView);
}

void MainMenus::setNewItemForTasks(bool tasksView)
{
    m_newEventAction->setText(tasksView ? QStringLiteral("New Task...")
                                        : QStringLiteral("New Event..."));
}
