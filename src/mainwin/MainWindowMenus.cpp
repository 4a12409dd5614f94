// The main menu and the popup menus. Commands whose dialogs and store operations come later
// are present and disabled.
#include "mainwin/MainWindow.h"

#include "core/ViewSpan.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace
{
constexpr std::array<const char *, 6> ScaleNames{"5Minutes",  "6Minutes",  "10Minutes",
                                                 "15Minutes", "30Minutes", "1Hour"};
constexpr std::array<const char *, 6> ScaleTexts{"5 Minutes",  "6 Minutes",  "10 Minutes",
                                                 "15 Minutes", "30 Minutes", "1 Hour"};

QString viewItemName(int kind)
{
    QString name = ViewSpans::viewName(kind);
    name.remove(u' ');
    return QStringLiteral("MenuItem_") + name;
}
} // namespace

QAction *MainWindow::addItem(QMenu *menu, const char *name, const QString &text,
                             const QKeySequence &shortcut, bool enabled)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    a->setEnabled(enabled);
    return a;
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(QStringLiteral("File"));
    addItem(file, "MenuItem_New", "New Event...", QKeySequence(Qt::CTRL | Qt::Key_N), false);
    file->addSeparator();
    addItem(file, "MenuItem_Layer", "Layer...", QKeySequence(Qt::CTRL | Qt::Key_L), false);
    addItem(file, "MenuItem_DeleteEvents", "Delete Events...", QKeySequence(Qt::CTRL | Qt::Key_D),
            false);
    addItem(file, "MenuItem_MoveEvents", "Move Events...", QKeySequence(Qt::CTRL | Qt::Key_M),
            false);
    addItem(file, "MenuItem_CopyEvents", "Copy Events...", QKeySequence(Qt::CTRL | Qt::Key_Y),
            false);
    file->addSeparator();
    addItem(file, "MenuItem_Print", "Print Current View...", QKeySequence(Qt::CTRL | Qt::Key_P),
            false);
    file->addSeparator();
    connect(addItem(file, "MenuItem_Exit", "Exit"), &QAction::triggered, this, &QWidget::close);

    QMenu *edit = bar->addMenu(QStringLiteral("Edit"));
    addItem(edit, "MenuItem_Undo", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), false);
    edit->addSeparator();
    addItem(edit, "MenuItem_Edit", "Edit...", {}, false);
    addItem(edit, "MenuItem_Delete", "Delete", QKeySequence(Qt::Key_Delete), false);
    edit->addSeparator();
    addItem(edit, "MenuItem_Cut", "Cut", QKeySequence(Qt::CTRL | Qt::Key_X), false);
    addItem(edit, "MenuItem_Copy", "Copy", QKeySequence(Qt::CTRL | Qt::Key_C), false);
    addItem(edit, "MenuItem_Paste", "Paste", QKeySequence(Qt::CTRL | Qt::Key_V), false);
    edit->addSeparator();
    addItem(edit, "MenuItem_MoveToLayer", "Move To Layer...", QKeySequence(Qt::CTRL | Qt::Key_T),
            false);
    edit->addSeparator();
    addItem(edit, "MenuItem_Options", "Options...", {}, false);

    QMenu *view = bar->addMenu(QStringLiteral("View"));
    connect(addItem(view, "MenuItem_ZoomIn", "Zoom In", QKeySequence(Qt::CTRL | Qt::Key_I)),
            &QAction::triggered, this, &MainWindow::zoomIn);
    connect(addItem(view, "MenuItem_ZoomOut", "Zoom Out", QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &MainWindow::zoomOut);
    QMenu *scale = view->addMenu(QStringLiteral("Time Scale"));
    scale->menuAction()->setObjectName(QStringLiteral("MenuItem_TimeScale"));
    auto *scaleGroup = new QActionGroup(this);
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = QByteArray("MenuItem_") + ScaleNames[std::size_t(i)];
        QAction *a =
            addItem(scale, name.constData(), QString::fromLatin1(ScaleTexts[std::size_t(i)]),
                    QKeySequence(Qt::Key(Qt::Key_F5 + i)));
        a->setCheckable(true);
        scaleGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { setTimeScale(i); });
        m_scaleActions[std::size_t(i)] = a;
    }
    view->addSeparator();

    m_viewGroup = new QActionGroup(this);
    auto addView = [this](QMenu *menu, int kind, bool enabled) {
        QAction *a = addItem(menu, viewItemName(kind).toLatin1().constData(),
                             ViewSpans::viewName(kind), {}, enabled);
        a->setCheckable(true);
        m_viewGroup->addAction(a);
        m_viewActions[std::size_t(kind)] = a;
        connect(a, &QAction::triggered, this, [this, kind] {
            if (kind <= View7Days) {
                chooseFromTab(0, kind);
                return;
            }
            switchToView(kind);
        });
    };
    QMenu *day = view->addMenu(QStringLiteral("Day"));
    day->menuAction()->setObjectName(QStringLiteral("Menu_Day"));
    for (int k = ViewDay; k <= View7Days; ++k)
        addView(day, k, true);
    addView(view, ViewWorkWeek, true);
    addView(view, ViewWeek, true);
    QMenu *month = view->addMenu(QStringLiteral("Month"));
    month->menuAction()->setObjectName(QStringLiteral("Menu_Month"));
    for (int k = ViewMonth; k <= View6Weeks; ++k)
        addView(month, k, false);
    QMenu *year = view->addMenu(QStringLiteral("Year"));
    year->menuAction()->setObjectName(QStringLiteral("Menu_Year"));
    for (int k = ViewYear; k <= View12Months; ++k)
        addView(year, k, false);
    addView(view, ViewTasks, false);
    view->addSeparator();
    QAction *nav = addItem(view, "MenuItem_ShowNavigator", "Show Navigator",
                           QKeySequence(Qt::CTRL | Qt::Key_S));
    nav->setCheckable(true);
    nav->setChecked(m_navigatorShown);
    connect(nav, &QAction::triggered, this, [this](bool on) { setNavigatorShown(on); });

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    addItem(help, "MenuItem_Help", "Dayloom Help", {}, false);
    addItem(help, "MenuItem_AllShortcuts", "All Shortcuts", {}, false);
    help->addSeparator();
    addItem(help, "MenuItem_About", "About...", {}, false);
}

void MainWindow::buildPopups()
{
    m_popupSelect = new QMenu(this);
    m_popupSelect->setObjectName(QStringLiteral("PopupMenu_Select"));
    addItem(m_popupSelect, "Popup_NewEvent", "New Event...", {}, false);
    addItem(m_popupSelect, "Popup_Paste", "Paste", {}, false);
    connect(addItem(m_popupSelect, "Popup_ZoomIn", "Zoom In"), &QAction::triggered, this,
            &MainWindow::zoomIn);
    connect(addItem(m_popupSelect, "Popup_ZoomOut", "Zoom Out"), &QAction::triggered, this,
            &MainWindow::zoomOut);
    QMenu *scale = m_popupSelect->addMenu(QStringLiteral("Time Scale"));
    scale->menuAction()->setObjectName(QStringLiteral("Popup_TimeScale"));
    auto *group = new QActionGroup(this);
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = QByteArray("Popup_") + ScaleNames[std::size_t(i)];
        QAction *a =
            addItem(scale, name.constData(), QString::fromLatin1(ScaleTexts[std::size_t(i)]));
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { setTimeScale(i); });
        m_popupScaleActions[std::size_t(i)] = a;
    }

    m_popupEvent = new QMenu(this);
    m_popupEvent->setObjectName(QStringLiteral("PopupMenu_Event"));
    addItem(m_popupEvent, "Popup_Edit", "Edit...", {}, false);
    addItem(m_popupEvent, "Popup_Delete", "Delete", {}, false);
    addItem(m_popupEvent, "Popup_DeleteThisOccurrence", "Delete This Occurrence", {}, false)
        ->setVisible(false);
    addItem(m_popupEvent, "Popup_BreakOutThisOccurrence", "Break Out This Occurrence", {}, false)
        ->setVisible(false);
    addItem(m_popupEvent, "Popup_Cut", "Cut", {}, false);
    addItem(m_popupEvent, "Popup_Copy", "Copy", {}, false);
    addItem(m_popupEvent, "Popup_MoveToLayer", "Move To Layer...", {}, false);

    m_popupTask = new QMenu(this);
    m_popupTask->setObjectName(QStringLiteral("PopupMenu_Task"));
    addItem(m_popupTask, "Popup_NewSubtask", "New Subtask...", {}, false);
    addItem(m_popupTask, "Popup_EditTask", "Edit...", {}, false);
    addItem(m_popupTask, "Popup_DeleteTask", "Delete", {}, false);
    addItem(m_popupTask, "Popup_MoveTaskToLayer", "Move To Layer...", {}, false);

    m_popupTasks = new QMenu(this);
    m_popupTasks->setObjectName(QStringLiteral("PopupMenu_Tasks"));
    addItem(m_popupTasks, "Popup_NewTask", "New Task...", {}, false);

    m_popupTasksHeader = new QMenu(this);
    m_popupTasksHeader->setObjectName(QStringLiteral("PopupMenu_TasksHeader"));
    addItem(m_popupTasksHeader, "Popup_ShowPriority", "Show Priority", {}, false)
        ->setCheckable(true);
    addItem(m_popupTasksHeader, "Popup_ShowFinished", "Show Finished", {}, false)
        ->setCheckable(true);

    m_popupLayer = new QMenu(this);
    m_popupLayer->setObjectName(QStringLiteral("PopupMenu_Layer"));
    addItem(m_popupLayer, "Popup_Layer", "Layer...", {}, false);
}

void MainWindow::updateCommands()
{
    const bool timeView = ViewState::usesTimeGrid(m_view.kind);
    action(QStringLiteral("MenuItem_ZoomIn"))->setEnabled(timeView);
    action(QStringLiteral("MenuItem_ZoomOut"))->setEnabled(timeView);
    action(QStringLiteral("MenuItem_TimeScale"))->setEnabled(timeView);
    for (const char *name : {"Popup_ZoomIn", "Popup_ZoomOut", "Popup_TimeScale"})
        action(QString::fromLatin1(name))->setVisible(timeView);
    // The edit commands (new, edit, delete, cut, copy, paste, move to layer, undo) are enabled
    // by the edit-commands code from the grids' selection; until then they stay disabled.
}
