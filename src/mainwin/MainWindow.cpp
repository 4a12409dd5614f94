#include "mainwin/MainWindow.h"

#include "core/Clock.h"
#include "core/DateTextHelpers.h"
#include "core/Settings.h"
#include "mainwin/CalendarFamilyLayout.h"
#include "mainwin/CalendarFileCommands.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/EventCommands.h"
#include "mainwin/EventEditing.h"
#include "mainwin/EventsStoreGridModel.h"
#include "mainwin/EventsStoreYearModel.h"
#include "mainwin/HelpCommands.h"
#include "mainwin/LayerCommands.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MonthPanelLayout.h"
#include "mainwin/NavigatorColumn.h"
#include "mainwin/OptionsCommand.h"
#include "mainwin/PrintCommands.h"
#include "mainwin/TaskCommands.h"
#include "mainwin/TasksPanelLayout.h"
#include "mainwin/TasksStoreGridModel.h"
#include "mainwin/TimePanelLayout.h"
#include "mainwin/UnsavedChangesBar.h"
#include "mainwin/ViewTab.h"
#include "mainwin/YearPanelLayout.h"
#include "store/EventsStore.h"
#include "store/IcsReader.h"
#include "store/LayersStore.h"
#include "store/OldDataConversion.h"
#include "store/TasksStore.h"
#include "views/AllDayStrip.h"
#include "views/FlatButton.h"
#include "views/MonthGrid.h"
#include "views/NavigatorCalendar.h"
#include "views/TasksGrid.h"
#include "views/TasksHeader.h"
#include "views/TimeGrid.h"
#include "views/YearGrid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <QWheelEvent>

namespace
{
// Spans are kept inside the years the date conversions cover.
bool spanInRange(const ViewSpan &s)
{
    return s.first >= DateTimeValue::encodeDate(1500, 1, 1) &&
           s.end <= DateTimeValue::encodeDate(9999, 12, 31) + 1;
}

// Whether view `kind` can show the selected date `day`: the tasks view shows no dates.
bool viewCanShow(int kind, SerialDateTime day, int startOfWeek)
{
    const ViewSpan s = ViewSpans::viewSpan(kind, day, startOfWeek);
    return s.days() == 0 || spanInRange(s);
}
} // namespace

MainWindow::MainWindow(Settings &settings, LayersStore &layers, EventsStore &events,
                       TasksStore &tasks, ViewDates &viewDates, const Clock &clock,
                       const QString &pendingImport, QWidget *parent)
    : QMainWindow(parent), m_settings(settings), m_layers(layers), m_events(events), m_tasks(tasks),
      m_clock(clock), m_viewDates(viewDates),
      m_font(UiFont::fromPlatform(QApplication::font("QMenu")))
{
    QDir::setCurrent(m_settings.dataPath());
    m_format.buildDateFormat(m_settings.dateFormat(), m_settings.dateSeparator());
    m_format.buildTimeFormat(m_settings.timeFormat(), m_settings.timeSeparator());

    m_previousRepeatTimer.setInterval(KeyRepeatMs);
    m_nextRepeatTimer.setInterval(KeyRepeatMs);
    connect(&m_previousRepeatTimer, &QTimer::timeout, this, &MainWindow::stepPrevious);
    connect(&m_nextRepeatTimer, &QTimer::timeout, this, &MainWindow::stepNext);

    resize(800, 600);
    m_panels = std::make_unique<MainPanels>(
        *this, m_font, QStringLiteral("Today: ") + dateText(m_format, m_clock.today()));
    m_unsavedBar = new UnsavedChangesBar({m_layers.writes(), m_events.writes(), m_tasks.writes()},
                                         *m_panels->client());
    m_navigator = new NavigatorColumn(*m_panels->navigatorMiddle(), *m_panels->navigatorTop(),
                                      *m_panels->navigatorBottom(), m_layers, m_clock, m_font.font);
    m_shownDate = selectedDate();
    connectPanels();
    m_menus = std::make_unique<MainMenus>(*menuBar(), *this);
    connectMenus();
    buildTimeGrid();
    buildMonthGrid();
    buildYearGrid();
    m_eventCommands = new EventCommands(*this, m_events, m_tasks);
    m_calendarFileCommands = new CalendarFileCommands(*this, m_layers, m_events, m_tasks, m_clock);
    m_helpCommands = new HelpCommands(*m_menus, *this);
    m_eventEditing = new EventEditing(*this, m_events, m_layers, m_settings, m_clock);
    buildTasksGrid();
    m_printCommands =
        new PrintCommands(*this, m_settings, *m_gridModel, *m_yearModel, *m_tasksModel, m_clock);
    if (isReadOnly()) {
        m_gridModel->setReadOnly(true);
        m_yearModel->setReadOnly(true);
        m_tasksModel->setReadOnly(true);
        m_navigator->setReadOnly(true);
    }
    m_optionsCommand = new OptionsCommand(*this, m_settings);
    m_layerCommands = new LayerCommands(*this, m_layers, m_events, m_tasks, m_settings, m_clock);
    applyStartupView();

    if (m_settings.firstTime()) OldDataConversion::convert(m_events, m_layers, m_settings);

    if (!m_tasks.setIndexName(m_settings.tasksIndexName())) {
        // The default index is one of the store's own: this cannot fail.
        (void)m_tasks.setIndexName(QString::fromLatin1(TasksStore::DefaultIndexName));
    }

    // Posts from elsewhere than the grid's own drags (editors, commands) show on the next
    // turn of the event loop, once for any number of posts.
    m_events.setAfterPostHook([this] { eventsPosted(); });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive) saveTables();
            });

    reFilter();

    setPendingImport(pendingImport);
    setWindowTitle(QString::fromLatin1(Caption));
}

MainWindow::~MainWindow()
{
    m_events.setAfterPostHook(nullptr);
}

QStringList MainWindow::backUpLoadedTables()
{
    // Only a table read from its file is copied: after a table file was set aside (or could
    // not be opened) its store is empty, and copying that would overwrite the last good ".bak".
    const QString dir = m_settings.dataPath();
    QStringList errors;
    // A read-only calendar's folder takes no copies; the bar already says it cannot be written.
    if (isReadOnly()) return errors;
    const auto note = [&errors](const char *name, const TableResult &r) {
        if (!r.ok()) errors << QStringLiteral("%1: %2").arg(QLatin1String(name), r.error);
    };
    if (m_layers.loadResult().status == TableLoadResult::Loaded)
        note("Layers.bak", m_layers.backupTo(dir + "Layers.bak"));
    if (m_events.loadResult().status == TableLoadResult::Loaded)
        note("Events.bak", m_events.backupTo(dir + "Events.bak"));
    if (m_tasks.loadResult().status == TableLoadResult::Loaded)
        note("Tasks.bak", m_tasks.backupTo(dir + "Tasks.bak"));
    return errors;
}

void MainWindow::connectPanels()
{
    MainPanels &p = *m_panels;
    connect(p.hideNavigatorButton(), &FlatButton::clicked, this,
            [this] { setNavigatorShown(false); });
    connect(p.showNavigatorButton(), &FlatButton::clicked, this,
            [this] { setNavigatorShown(true); });
    connect(p.todayButton(), &FlatButton::clicked, this, &MainWindow::selectToday);
    connect(m_navigator->calendar(), &NavigatorCalendar::dateChanged, this,
            &MainWindow::dateChosen);
    connect(m_navigator, &NavigatorColumn::layerVisibilityChanged, this, &MainWindow::reFilter);
    connect(p.previousButton(), &FlatButton::clicked, this, &MainWindow::stepPrevious);
    connect(p.nextButton(), &FlatButton::clicked, this, &MainWindow::stepNext);
    for (int family = 0; family < 6; ++family)
        connect(p.tab(family), &ViewTab::chosen, this,
                [this, family](int choice) { chooseFromTab(family, choice); });

    // The client's resizes lay the window out; a click on the background of the bars or the
    // navigator column refreshes.
    p.client()->installEventFilter(this);
    for (QWidget *w : p.backgroundPanels())
        w->installEventFilter(this);
}

void MainWindow::connectMenus()
{
    MainMenus &m = *m_menus;
    connect(m.exitAction(), &QAction::triggered, this, &QWidget::close);
    for (QAction *a : {m.zoomInAction(), m.selectionZoomInAction()})
        connect(a, &QAction::triggered, this, &MainWindow::zoomIn);
    for (QAction *a : {m.zoomOutAction(), m.selectionZoomOutAction()})
        connect(a, &QAction::triggered, this, &MainWindow::zoomOut);
    for (int i = 0; i < MainMenus::ScaleCount; ++i)
        for (QAction *a : {m.timeScaleAction(i), m.selectionTimeScaleAction(i)})
            connect(a, &QAction::triggered, this, [this, i] { setTimeScale(i); });
    for (int kind = 0; kind < MainMenus::ViewCount; ++kind)
        connect(m.viewAction(kind), &QAction::triggered, this, [this, kind] {
            if (kind <= View7Days)
                chooseFromTab(0, kind);
            else
                switchToView(kind);
        });
    connect(m.showNavigatorAction(), &QAction::triggered, this,
            [this](bool on) { setNavigatorShown(on); });
}

void MainWindow::buildTimeGrid()
{
    QWidget *panel = m_panels->timePanel();
    m_gridModel = std::make_unique<EventsStoreGridModel>(m_events, m_layers);
    m_timeGrid =
        new TimeGrid(panel, *m_gridModel, m_viewDates, m_view, m_settings, m_format, m_clock);
    m_timePanelLayout = new TimePanelLayout(*panel, *m_timeGrid, m_view);

    connectEventGrid(m_timeGrid);
    connect(m_timeGrid, &TimeGrid::layoutRequested, this, &MainWindow::layoutTimeRows);
    connect(m_timeGrid, &TimeGrid::zoomRequested, this,
            [this](bool in) { in ? zoomIn() : zoomOut(); });
    // The new grid is laid out at once with the window's first numbers; the start-up view
    // lays it out again for its own.
    layoutWindow();
}

void MainWindow::buildMonthGrid()
{
    QWidget *panel = m_panels->monthPanel();
    m_monthGrid = new MonthGrid(panel, *m_gridModel, m_viewDates, m_settings, m_format, m_clock);
    m_monthPanelLayout = new MonthPanelLayout(*panel, *m_monthGrid);
    connectEventGrid(m_monthGrid);
    connect(m_monthGrid, &MonthGrid::wheelStepRequested, this,
            [this](int direction) { direction < 0 ? stepPrevious() : stepNext(); });
}

void MainWindow::buildYearGrid()
{
    QWidget *panel = m_panels->yearPanel();
    m_yearModel = std::make_unique<EventsStoreYearModel>(m_events, m_layers);
    m_yearGrid = new YearGrid(panel, *m_yearModel, m_viewDates, m_view, m_settings, m_format,
                              m_font, m_clock);
    m_yearPanelLayout = new YearPanelLayout(*panel, *m_yearGrid);
    connectEventGrid(m_yearGrid);
    // The grid leaves the wheel to its panel: each notch is one navigation step.
    panel->installEventFilter(this);
}

void MainWindow::buildTasksGrid()
{
    QWidget *panel = m_panels->tasksPanel();
    m_tasksModel = std::make_unique<TasksStoreGridModel>(m_tasks, m_layers);
    m_tasksGrid = new TasksGrid(panel, *m_tasksModel, m_settings);
    m_tasksPanelLayout = new TasksPanelLayout(*panel, *m_tasksGrid);
    m_tasksHeader = new TasksHeader(m_panels->dateHeader()->parentWidget());
    m_tasksHeader->hide();
    connect(m_tasksHeader, &TasksHeader::sortRequested, this, [this](QChar key) {
        m_settings.setTasksIndexName(m_tasks.sortByKey(key));
        refresh();
    });
    connect(m_tasksHeader, &TasksHeader::menuRequested, this, [this](QPoint at) {
        m_menus->showPriorityAction()->setChecked(
            m_tasksGrid->isShown(TasksGrid::Column::Priority));
        m_menus->showFinishedAction()->setChecked(
            m_tasksGrid->isShown(TasksGrid::Column::Finished));
        m_menus->tasksHeaderMenu()->popup(at);
    });
    const auto toggle = [this](TasksGrid::Column c) {
        m_tasksGrid->toggleColumn(c);
        m_tasksPanelLayout->layout();
        showTasksHeader();
    };
    connect(m_tasksHeader, &TasksHeader::columnMoveRequested, this, [this](int from, int to) {
        m_tasksGrid->moveColumn(from, to);
        m_tasksPanelLayout->layout();
        showTasksHeader();
    });
    m_menus->showPriorityAction()->setEnabled(true);
    m_menus->showFinishedAction()->setEnabled(true);
    connect(m_menus->showPriorityAction(), &QAction::triggered, this,
            [toggle] { toggle(TasksGrid::Column::Priority); });
    connect(m_menus->showFinishedAction(), &QAction::triggered, this,
            [toggle] { toggle(TasksGrid::Column::Finished); });
    m_taskCommands = new TaskCommands(*this, *m_tasksGrid, m_tasks, m_layers, m_settings, m_clock);
}

void MainWindow::connectEventGrid(EventGrid *grid)
{
    connect(grid, &EventGrid::eventPopupRequested, this,
            [this](QPoint at, int) { m_menus->eventMenu()->popup(at); });
    connect(grid, &EventGrid::selectPopupRequested, this,
            [this](QPoint at) { m_menus->selectionMenu()->popup(at); });
    connect(grid, &EventGrid::commandStatesChanged, this, &MainWindow::updateCommands);
}

void MainWindow::clearGridSelections()
{
    m_timeGrid->clearSelections();
    m_monthGrid->clearSelections();
    m_yearGrid->clearSelections();
    m_viewDates.clearSelection();
}

bool MainWindow::saveTables()
{
    const bool layersSaved = m_layers.save().ok();
    const bool eventsSaved = m_events.save().ok();
    const bool tasksSaved = m_tasks.save().ok();
    return layersSaved && eventsSaved && tasksSaved;
}

bool MainWindow::askUser(const QString &text)
{
    if (m_questionSink) return m_questionSink(text);
    return QMessageBox::question(this, QString::fromLatin1(Caption).trimmed(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MainWindow::retryFailedWrites()
{
    (void)m_unsavedBar->retry(); // the bar shows what is still not written
}

bool MainWindow::isReadOnly() const
{
    return m_unsavedBar->isReadOnly();
}

void MainWindow::tablesRestored()
{
    m_events.fillPendingAlarms();
    m_tasks.rebuildAlarms();
    m_navigator->showLayers();
    reFilter();
}

void MainWindow::showMessage(const QString &text)
{
    if (m_messageSink) {
        m_messageSink(text);
        return;
    }
    QMessageBox::warning(this, QString::fromLatin1(Caption).trimmed(), text);
}

void MainWindow::showInformation(const QString &text)
{
    if (m_messageSink) {
        m_messageSink(text);
        return;
    }
    QMessageBox::information(this, QString::fromLatin1(Caption).trimmed(), text);
}

void MainWindow::setPendingImport(const QString &path)
{
    if (!path.isEmpty() && IcsReader::isCalendarFile(path)) {
        m_pendingImport = false;
        m_pendingImportPath.clear();
        QTimer::singleShot(0, m_calendarFileCommands,
                           [this, path] { (void)m_calendarFileCommands->importFile(path, 0); });
        return;
    }
    m_pendingImport = !path.isEmpty();
    m_pendingImportPath = path;
    if (m_pendingImport && m_layerCommands) m_layerCommands->schedulePendingImport();
}

void MainWindow::wakeUp(int param)
{
    for (QWidget *d : m_wakeUpDialogs) {
        if (!d || !d->isVisible()) continue;
        // Bounded: a modal window that refuses to close ends the loop.
        for (int i = 0; i < 16; ++i) {
            QWidget *top = QApplication::activeModalWidget();
            if (!top || top == d || !top->close()) break;
        }
        d->close();
        break;
    }
    if (param == 1) {
        const QString file = m_settings.dataPath() + "import.dat";
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            showMessage(
                QStringLiteral("Cannot open file \"%1\".").arg(QDir::toNativeSeparators(file)));
            return;
        }
        QTextStream in(&f);
        const QString path = in.readLine();
        f.close();
        // Read once: a later wake-up without a new file imports nothing again.
        QFile::remove(file);
        setPendingImport(path);
    } else {
        setPendingImport({});
    }
    show();
    showMaximized();
    raise();
    activateWindow();
    if (!isMinimized()) update();
}

bool MainWindow::closeHidesToTray() const
{
    return m_settings.useTrayIcon() && !m_shutdownRequested && m_trayIcon &&
           m_trayIcon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (closeHidesToTray()) {
        event->ignore();
        hide();
        return;
    }
    if (!m_unsavedBar->retry() &&
        !askUser(QStringLiteral("Some changes could not be saved (%1). If Dayloom closes now, "
                                "they are lost.\n\nClose Dayloom and lose these changes?")
                     .arg(m_unsavedBar->lastError()))) {
        event->ignore();
        return;
    }
    event->accept();
    emit closedForGood();
}

void MainWindow::reFilter()
{
    const QString filter = m_layers.shownLayersFilter();
    // The layers store writes only filters the tables parse.
    (void)m_events.setFilterText(filter);
    (void)m_tasks.setFilterText(filter);
    emit layerFilterChanged(filter);
    refresh();
}

// ---------------------------------------------------------------------------------------------
// Layout.

void MainWindow::layoutWindow()
{
    m_panels->layout(m_navigatorShown);
    if (ViewState::usesTimeGrid(m_view.kind)) layoutTimePanel();
    if (ViewState::usesMonthGrid(m_view.kind) || ViewState::usesYearGrid(m_view.kind) ||
        ViewState::isTasksView(m_view.kind))
        refresh();
}

void MainWindow::layoutTimePanel()
{
    m_timePanelLayout->layoutColumns();
    m_panels->showDays(m_viewDates.spanStart(), m_timePanelLayout->dayWidths(), m_clock.today());
    layoutTimeRows();
}

void MainWindow::layoutTimeRows()
{
    m_timePanelLayout->layoutRows(m_panels->client()->height());
}

void MainWindow::collectTimeGrid()
{
    const int stripBefore = m_view.stripHeight;
    m_timeGrid->collectAll();
    if (m_view.stripHeight != stripBefore) layoutTimeRows();
}

int MainWindow::zoomRowHeight() const
{
    return m_timePanelLayout->zoomRowHeight();
}

const TimeFamily::RowLayout &MainWindow::rowLayout() const
{
    return m_timePanelLayout->rows();
}

const std::vector<int> &MainWindow::dayColumnWidths() const
{
    return m_timePanelLayout->dayWidths();
}

QWidget *MainWindow::currentViewWidget() const
{
    const quint8 kind = m_view.kind;
    if (ViewState::usesTimeGrid(kind)) return m_timeGrid;
    if (ViewState::usesMonthGrid(kind)) return m_monthGrid;
    if (ViewState::usesYearGrid(kind)) return m_yearGrid;
    return m_tasksGrid;
}

QScrollBar *MainWindow::timeScrollBar() const
{
    return m_timePanelLayout->scrollBar();
}

int MainWindow::scrollHour() const
{
    return m_timePanelLayout->scrollHour();
}

void MainWindow::scrollToHour(int hour)
{
    m_timePanelLayout->scrollToHour(hour);
}

void MainWindow::setNavigatorShown(bool on)
{
    m_navigatorShown = on;
    m_menus->showNavigatorAction()->setChecked(on);
    layoutWindow();
    if (ViewState::usesTimeGrid(m_view.kind)) collectTimeGrid();
}

// ---------------------------------------------------------------------------------------------
// Views and navigation.

int MainWindow::tabFamily(int kind)
{
    if (kind <= View7Days) return 0;
    if (kind == ViewWorkWeek) return 1;
    if (kind == ViewWeek) return 2;
    if (ViewState::usesMonthGrid(quint8(kind))) return 3;
    if (ViewState::usesYearGrid(quint8(kind))) return 4;
    return 5;
}

void MainWindow::describeView(int kind)
{
    m_view.kind = quint8(kind);
    m_view.columnCount = ViewSpans::dayColumns(kind);
    if (ViewState::usesTimeGrid(quint8(kind))) {
        m_view.rowCount = m_timePanelLayout->rows().rowCount;
    } else {
        m_view.rowCount = kind == ViewMonth                        ? 6
                          : ViewState::usesMonthGrid(quint8(kind)) ? kind - View2Weeks + 2
                          : ViewState::usesYearGrid(quint8(kind))  ? 31
                                                                   : 0;
    }
    m_menus->viewAction(kind)->setChecked(true);
}

void MainWindow::markTab(int kind)
{
    const int family = tabFamily(kind);
    for (int i = 0; i < 6; ++i)
        m_panels->tab(i)->setMarked(i == family);
}

void MainWindow::showViewFamily(int kind)
{
    m_panels->showViewFamily(kind);
    m_menus->setNewItemForTasks(kind == ViewTasks);
    if (m_tasksHeader) m_tasksHeader->setVisible(kind == ViewTasks);
}

void MainWindow::applyStartupView()
{
    int kind = m_settings.startView();
    if (kind < ViewDay || kind > ViewTasks) kind = ViewDay;
    if (kind <= View7Days) m_dayChoice = kind;
    if (ViewState::usesMonthGrid(quint8(kind))) m_monthChoice = kind - ViewMonth;
    if (ViewState::usesYearGrid(quint8(kind))) m_yearChoice = kind - ViewYear;
    m_panels->tab(0)->setChoice(m_dayChoice);
    m_panels->tab(3)->setChoice(m_monthChoice);
    m_panels->tab(4)->setChoice(m_yearChoice);

    const int scale = m_settings.timeScale();
    m_scaleIndex = scale >= 0 && scale < 6 ? scale : TimeFamily::DefaultScaleIndex;
    m_menus->checkTimeScale(m_scaleIndex);
    m_timePanelLayout->setMinutesPerRow(minutesPerRow());

    m_view.resetStripHeight();
    describeView(kind);
    const int hour = std::clamp(m_settings.startHour(), 0, 23);
    m_view.firstVisibleRow = hour * 60 / minutesPerRow();
    markTab(kind);
    showViewFamily(kind);
    m_navigatorShown = m_settings.showNavigator();
    m_navigator->setStartOfWeek(m_settings.startOfWeek());
    m_navigator->setWeeksOn(m_settings.weeksOn());
    m_menus->showNavigatorAction()->setChecked(m_navigatorShown);

    const ViewSpan s = ViewSpans::viewSpan(kind, selectedDate(), m_settings.startOfWeek());
    m_viewDates.setSpanStart(s.first);
    m_viewDates.setSpanEnd(s.end);
    layoutWindow();
    scrollToHour(hour);
    m_appliedViewKind = m_view.kind;
}

bool MainWindow::switchToView(int kind)
{
    if (kind < 0 || kind > ViewTasks) {
        m_menus->viewAction(m_view.kind)->setChecked(true);
        return false;
    }
    m_view.kind = quint8(kind);
    m_menus->viewAction(kind)->setChecked(true);
    if (m_appliedViewKind == kind) return true;

    clearGridSelections();
    describeView(kind);
    markTab(kind);
    showViewFamily(kind);
    refresh();
    m_appliedViewKind = m_view.kind;
    return true;
}

void MainWindow::chooseFromTab(int family, int choice)
{
    switch (family) {
    case 0:
        m_dayChoice = std::clamp(choice, 0, int(View7Days));
        m_panels->tab(0)->setChoice(m_dayChoice);
        switchToView(m_dayChoice);
        break;
    case 1:
        switchToView(ViewWorkWeek);
        break;
    case 2:
        switchToView(ViewWeek);
        break;
    case 3:
        m_monthChoice = std::clamp(choice, 0, 5);
        m_panels->tab(3)->setChoice(m_monthChoice);
        switchToView(ViewMonth + m_monthChoice);
        break;
    case 4:
        m_yearChoice = std::clamp(choice, 0, 3);
        m_panels->tab(4)->setChoice(m_yearChoice);
        switchToView(ViewYear + m_yearChoice);
        break;
    default:
        switchToView(ViewTasks);
        break;
    }
}

void MainWindow::refresh()
{
    m_refreshPending = false;
    const int kind = m_view.kind;
    if (kind != ViewTasks) {
        const ViewSpan s = ViewSpans::viewSpan(kind, selectedDate(), m_settings.startOfWeek());
        m_viewDates.setSpanStart(s.first);
        m_viewDates.setSpanEnd(s.end);
        m_panels->dateLabel()->setText(ViewSpans::dateLabel(kind, s));
    }
    if (ViewState::usesTimeGrid(quint8(kind))) {
        layoutTimePanel();
        collectTimeGrid();
    } else if (ViewState::usesMonthGrid(quint8(kind))) {
        refreshMonthFamily();
    } else if (ViewState::usesYearGrid(quint8(kind))) {
        refreshYearFamily();
    } else {
        refreshTasksFamily();
    }
    m_panels->dateHeader()->update();
    m_navigator->showLayers();
    updateCommands();
}

void MainWindow::refreshMonthFamily()
{
    const int kind = m_view.kind;
    m_monthGrid->setWeeks(CalendarFamily::weekCount(kind), selectedDate(), kind == ViewMonth);
    m_monthPanelLayout->layout();
    m_monthGrid->collectAll();
    m_panels->showLabels(0, CalendarFamily::headerWidths(m_monthPanelLayout->columnWidths()),
                         CalendarFamily::weekdayTexts(m_settings.startOfWeek()), -1);
}

void MainWindow::refreshYearFamily()
{
    const int months = m_yearGrid->monthCount();
    const SerialDateTime first = m_viewDates.spanStart();
    m_yearPanelLayout->layout();
    m_yearGrid->collect();
    m_panels->showLabels(YearGrid::DayColumnWidth,
                         CalendarFamily::headerWidths(m_yearPanelLayout->columnWidths()),
                         CalendarFamily::monthTexts(first, months),
                         CalendarFamily::currentMonthColumn(first, months, m_clock.today()));
}

void MainWindow::refreshTasksFamily()
{
    m_tasksGrid->refresh();
    m_tasksPanelLayout->layout();
    showTasksHeader();
}

void MainWindow::showTasksHeader()
{
    QList<QChar> keys;
    for (int c = 0; c < m_tasksGrid->colCount(); ++c)
        keys << m_tasksGrid->sortKeyOf(c);
    m_tasksHeader->setGeometry(0, 0, m_tasksGrid->width(), 18);
    m_tasksHeader->setColumns(m_tasksPanelLayout->columnWidths(), keys, m_tasks.indexName());
}

void MainWindow::updateCommands()
{
    m_menus->setTimeViewCommands(ViewState::usesTimeGrid(m_view.kind));
    if (m_eventCommands) m_eventCommands->updateStates();
    if (m_eventEditing) m_eventEditing->updateCommands();
    if (m_taskCommands) m_taskCommands->updateStates();
    if (m_layerCommands) m_layerCommands->updateStates();
    if (m_calendarFileCommands) m_calendarFileCommands->updateStates();
}

void MainWindow::applySettings(bool trayWasOn, bool togglePriority, bool toggleFinished)
{
    if (togglePriority) m_tasksGrid->toggleColumn(TasksGrid::Column::Priority);
    if (toggleFinished) m_tasksGrid->toggleColumn(TasksGrid::Column::Finished);
    m_format.buildDateFormat(m_settings.dateFormat(), m_settings.dateSeparator());
    m_format.buildTimeFormat(m_settings.timeFormat(), m_settings.timeSeparator());
    m_panels->todayButton()->setCaption(QStringLiteral("Today: ") +
                                        dateText(m_format, m_clock.today()));
    m_navigator->setStartOfWeek(m_settings.startOfWeek());
    m_navigator->setWeeksOn(m_settings.weeksOn());
    layoutWindow();
    refresh();
    if (m_settings.useTrayIcon() != trayWasOn) emit trayIconWanted(m_settings.useTrayIcon());
}

void MainWindow::eventsPosted()
{
    if (m_gridModel && m_gridModel->postingDrag()) return;
    if (m_yearModel && m_yearModel->postingDrag()) return;
    if (m_refreshPending) return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending) refresh();
    });
}

QString MainWindow::dateLabelText() const
{
    return m_panels->dateLabel()->text();
}

SerialDateTime MainWindow::selectedDate() const
{
    return m_navigator->calendar()->selectedDate();
}

void MainWindow::setSelectedDate(SerialDateTime day)
{
    const SerialDateTime d = DateTimeValue::dayOf(day);
    if (!viewCanShow(m_view.kind, d, m_settings.startOfWeek())) return;
    // The calendar announces the date; dateChosen() does the rest.
    (void)m_navigator->calendar()->setSelectedDate(d);
}

void MainWindow::dateChosen(SerialDateTime day)
{
    if (!viewCanShow(m_view.kind, day, m_settings.startOfWeek())) {
        (void)m_navigator->calendar()->setSelectedDate(m_shownDate);
        return;
    }
    if (m_viewDates.hasSelection()) clearGridSelections();
    m_shownDate = day;
    refresh();
}

void MainWindow::stepPrevious()
{
    if (m_view.kind == ViewTasks) return;
    setSelectedDate(ViewSpans::navigationStep(m_view.kind, selectedDate(), -1));
}

void MainWindow::stepNext()
{
    if (m_view.kind == ViewTasks) return;
    setSelectedDate(ViewSpans::navigationStep(m_view.kind, selectedDate(), 1));
}

void MainWindow::selectToday()
{
    setSelectedDate(m_clock.today());
}

void MainWindow::zoomIn()
{
    if (!ViewState::usesTimeGrid(m_view.kind)) return;
    m_timePanelLayout->zoomIn();
    layoutTimeRows();
}

void MainWindow::zoomOut()
{
    if (!ViewState::usesTimeGrid(m_view.kind)) return;
    m_timePanelLayout->zoomOut();
    layoutTimeRows();
}

void MainWindow::setTimeScale(int scaleIndex)
{
    if (!ViewState::usesTimeGrid(m_view.kind) || scaleIndex < 0 || scaleIndex > 5) return;
    m_scaleIndex = scaleIndex;
    m_menus->checkTimeScale(scaleIndex);
    m_timePanelLayout->setMinutesPerRow(minutesPerRow());
    m_timeGrid->clearSelections();
    m_viewDates.clearSelection();
    layoutTimeRows();
    collectTimeGrid();
}

// ---------------------------------------------------------------------------------------------
// Keys and events.

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    const bool timeView = ViewState::usesTimeGrid(m_view.kind);
    switch (event->key()) {
    case Qt::Key_Left:
        if (!m_previousRepeatTimer.isActive()) {
            stepPrevious();
            m_previousRepeatTimer.start();
        }
        break;
    case Qt::Key_Right:
        if (!m_nextRepeatTimer.isActive()) {
            stepNext();
            m_nextRepeatTimer.start();
        }
        break;
    case Qt::Key_Up:
        if (timeView) scrollToHour(scrollHour() - 1);
        if (m_view.kind == ViewTasks) m_tasksGrid->setFirstRow(m_tasksGrid->firstRow() - 1);
        break;
    case Qt::Key_Down:
        if (timeView) scrollToHour(scrollHour() + 1);
        if (m_view.kind == ViewTasks &&
            m_tasksGrid->firstRow() + m_tasksGrid->pageRows() <= m_tasksGrid->taskRowCount())
            m_tasksGrid->setFirstRow(m_tasksGrid->firstRow() + 1);
        break;
    default:
        break;
    }
    event->ignore();
}

void MainWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_Left) m_previousRepeatTimer.stop();
        if (event->key() == Qt::Key_Right) m_nextRepeatTimer.stop();
    }
    event->ignore();
}

void MainWindow::changeEvent(QEvent *event)
{
    // A key released while another window has the focus never reaches this window: stop the
    // repeat instead of stepping on forever.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        m_previousRepeatTimer.stop();
        m_nextRepeatTimer.stop();
    }
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panels->client() && event->type() == QEvent::Resize) {
        layoutWindow();
    } else if (watched == m_panels->yearPanel()) {
        if (event->type() != QEvent::Wheel) return QMainWindow::eventFilter(watched, event);
        const int notches = m_yearWheel.add(static_cast<QWheelEvent *>(event)->angleDelta().y());
        for (int n = notches; n != 0; n += n > 0 ? -1 : 1)
            n > 0 ? stepPrevious() : stepNext();
        return true;
    } else if (event->type() == QEvent::MouseButtonPress) {
        // A click on the empty background of the bars or the navigator column.
        refresh();
    }
    return QMainWindow::eventFilter(watched, event);
}
