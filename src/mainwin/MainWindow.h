#pragma once
// The main window. It owns the views and steers them; the data lives in the stores handed in
// by the program entry. It holds the navigation state of the current view (view number,
// selected date, span in ViewDates, scale, zoom, scroll) and hands it to the grids.
//
// ViewDates belongs to the program entry, which creates it before the events store (the store
// reads its collection window from it) and hands the same object to the window.
#include "core/UiFont.h"
#include "core/DateTimeFormat.h"
#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "core/ViewSpan.h"
#include "mainwin/TimeFamilyLayout.h"
#include "mainwin/TimeGridHooks.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class Clock;
class DateHeaderGrid;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollBar;
class EventsStoreGridModel;
class QSystemTrayIcon;
class EventsStore;
class LayersStore;
class Settings;
class TasksStore;
class FlatButton;
class TimeGrid;
class ViewTab;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr const char *Caption = "Dayloom LE  ";
    static constexpr int NavigatorWidth = 170;
    static constexpr int TopBarHeight = 58;
    static constexpr int BottomBarHeight = 29;
    static constexpr int KeyRepeatMs = 150;
    static constexpr int AutoScrollMs = 60;
    static constexpr int MainTimerMs = 45000;

    // Runs the creation steps in order: the time grid and all-day strip over the events store,
    // the start-up view, hour and scale from the settings (the selected date is the clock's
    // today), the ".bak" copies of the tables that loaded, the one-time conversion of an old
    // data file when FirstTime is on, the tasks' sort order, the visible-layer filter and a
    // refresh, the main timer, the pending import (`pendingImport`, empty: none) and the
    // caption. Every reference must outlive the window.
    MainWindow(Settings &reg, LayersStore &layers, EventsStore &events, TasksStore &tasks, ViewDates &time,
               const Clock &clock, const QString &pendingImport = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Saves the layers, events and tasks tables into the data directory (run whenever the
    // program loses activation). False when any of them could not be written.
    bool saveTables();
    // The start-up ".bak" copies that failed, one "Name.bak: why" per table; empty when every
    // copy was made.
    const QStringList &backupErrors() const { return m_backupErrors; }
    // The 45 s main timer; its tick is onMainTimer().
    QTimer &mainTimer() { return m_timerMain; }

    // --- Start-up and wake-up ---------------------------------------------------------------
    // Wake-up from another start of the program: 0 shows the window, 1 also takes the layer
    // file named in "import.dat" as the pending import. A missing "import.dat" is reported and
    // ends that wake-up without showing the window.
    void wakeUp(int param);

    // The layer file an import is pending for; empty when none.
    QString pendingImportPath() const { return m_pendingImport ? m_pendingImportPath : QString(); }
    bool importPending() const { return m_pendingImport; }
    void setPendingImport(const QString &path);

    // Set by the tray's shut-down command: the next close ends the program.
    void setShutdownRequested(bool on) { m_shutdownRequested = on; }

    // Shows a message to the user (a message box unless replaced, e.g. by tests).
    void showMessage(const QString &text);
    void setMessageHandler(std::function<void(const QString &)> handler);

    // Dialogs closed by a wake-up, first visible one only, in this order.
    void setWakeUpDialogs(QList<QWidget *> dialogs) { m_wakeUpDialogs = std::move(dialogs); }

    // True when closing hides to the tray instead of ending the program: only while a tray
    // icon is shown on a desktop that has a tray (and no shut-down was asked for), so the
    // window is never hidden where nothing can bring it back.
    bool closeHidesToTray() const;
    // The tray icon the window hides to; null (the default) or a hidden icon: none.
    void setTrayIcon(QSystemTrayIcon *icon) { m_trayIcon = icon; }

    // --- Services and navigation state ------------------------------------------------------
    ViewDates &time() { return m_time; }
    const DateTimeFormat &format() const { return m_format; }
    const UiFont &font() const { return m_font; }
    // The current view and a copy of the state last applied.
    const ViewState &currentView() const { return m_view; }
    ViewState &currentView() { return m_view; }
    const ViewState &previousView() const { return m_prevView; }
    int viewKind() const { return m_view.kind; }

    // The selected date (whole day). Until the navigator calendar exists the window keeps it.
    SerialDateTime selectedDate() const { return m_selected; }
    // Changing the selected date: drops a selected time range, then refreshes.
    void setSelectedDate(SerialDateTime day);
    // The span ViewDates holds for the current view (first inclusive, end exclusive).
    ViewSpan span() const { return {m_time.spanStart(), m_time.spanEnd()}; }
    QString dateLabelText() const;

    int timeScaleIndex() const { return m_scaleIndex; }
    int minutesPerRow() const { return TimeFamily::minutesForScale(m_scaleIndex); }
    int stepsPerDay() const { return TimeFamily::stepsPerDay(minutesPerRow()); }
    // The row height the zoom commands work on; the grid may show taller rows when a whole
    // day fits (rowLayout().rowHeight).
    int zoomRowHeight() const { return m_zoomRowHeight; }
    const TimeFamily::RowLayout &rowLayout() const { return m_rows; }
    const std::vector<int> &dayColumnWidths() const { return m_dayWidths; }
    // First visible hour (timeScrollBar position).
    int scrollHour() const;
    bool navigatorShown() const { return m_navigatorShown; }

    // --- Commands ---------------------------------------------------------------------------
    // Switching to a view (tabs, menus); the same view again does nothing. Views of families
    // that do not exist yet are refused (false).
    bool switchToView(int kind);
    void stepPrevious();
    void stepNext();
    void selectToday();
    void zoomIn();
    void zoomOut();
    // Time-scale choice 0-5 (5, 6, 10, 15, 30, 60 minutes); ignored outside views 0-8.
    void setTimeScale(int scaleIndex);
    void setNavigatorShown(bool on);
    void scrollToHour(int hour);

    // Recomputes the span and date label, lays out and re-collects the current view, repaints
    // and updates which commands are enabled.
    void refresh();
    // Hands the layers store's visible-layer filter to the stores (through the handler) and
    // refreshes.
    void reFilter();
    void setLayerFilterHandler(std::function<void(const QString &)> handler);
    // Enables the commands for the current view and selection.
    void updateCommands();
    // Lays out columns and rows of the time-grid panel for the current size.
    void layoutTimePanel();

    // --- Plug-in points of the time grid and the all-day strip ------------------------------
    void setTimeGridHooks(TimeGridHooks hooks) { m_hooks = std::move(hooks); }
    // Replaces the two placeholders inside timePanel by the real widgets (reparented into the
    // panel; the window lays them out from then on). Null keeps the placeholder.
    void installTimeGrid(QWidget *grid, QWidget *allDay);
    // The real time grid the window created (its strip is timeGrid()->allDayStrip()).
    TimeGrid *timeGrid() const { return m_dw; }
    QWidget *timePanel() const { return m_panelDW; }
    QWidget *timeGridWidget() const { return m_timeGrid; }
    QWidget *allDayWidget() const { return m_allDay; }
    QScrollBar *timeScrollBar() const { return m_scrollDW; }
    DateHeaderGrid *dateHeader() const { return m_gridDateDW; }
    QTimer &autoScrollUpTimer() { return m_timerUp; }
    QTimer &autoScrollDownTimer() { return m_timerDown; }
    QTimer &keyLeftTimer() { return m_timerLeft; }
    QTimer &keyRightTimer() { return m_timerRight; }
    QMenu *eventMenu() const { return m_popupEvent; }
    QMenu *selectionMenu() const { return m_popupSelect; }
    QMenu *taskMenu() const { return m_popupTask; }
    QMenu *tasksMenu() const { return m_popupTasks; }
    QMenu *tasksHeaderMenu() const { return m_popupTasksHeader; }
    QMenu *layerMenu() const { return m_popupLayer; }

    // A menu or popup item by its control name ("MenuItem_ZoomIn", "Popup_Paste"); null when
    // there is none.
    QAction *action(const QString &name) const;
    ViewTab *tab(int family) const { return m_tabs[std::size_t(family)]; }
    QLabel *dateLabel() const { return m_labelDate; }

public slots:
    // One tick of the main timer. Empty for now: alarms, the change of hour and the change of
    // day come with the alarm timer.
    void onMainTimer();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Makes the ".bak" copies of the tables that loaded; returns the failures.
    QStringList backUpLoadedTables();
    // MainDM_Menus.cpp
    void buildMenus();
    void buildPopups();
    QAction *addItem(QMenu *menu, const char *name, const QString &text,
                     const QKeySequence &shortcut = {}, bool enabled = true);
    // MainDM_Layout.cpp
    void buildWidgets();
    void layoutWindow();
    void layoutTimeColumns();
    void layoutTimeRows();
    void scrollBarChanged(int hour);
    // MainDM_TimeGrid.cpp
    void buildTimeGrid();
    void eventsPosted();
    // MainDM_Views.cpp
    void applyStartupView();
    void fillDescriptor(int kind);
    void markTab(int kind);
    void showFamilyPanel(int kind);
    void chooseFromTab(int family, int choice);
    void autoScroll(bool up);
    int tabFamily(int kind) const;
    int clientHeight() const;

    Settings &m_reg;
    LayersStore &m_layers;
    EventsStore &m_events;
    TasksStore &m_tasks;
    const Clock &m_clock;
    ViewDates &m_time;
    DateTimeFormat m_format;
    UiFont m_font;
    ViewState m_view;
    ViewState m_prevView;

    SerialDateTime m_selected = 0;
    int m_dayChoice = 0;
    int m_monthChoice = 0;
    int m_yearChoice = 0;
    int m_scaleIndex = TimeFamily::DefaultScaleIndex;
    int m_zoomRowHeight = TimeFamily::DefaultRowHeight;
    TimeFamily::RowLayout m_rows;
    std::vector<int> m_dayWidths;
    bool m_navigatorShown = true;
    bool m_settingScroll = false;
    TimeGridHooks m_hooks;
    std::unique_ptr<EventsStoreGridModel> m_gridModel;
    TimeGrid *m_dw = nullptr; // owned by timePanel
    bool m_refreshPending = false;
    std::function<void(const QString &)> m_layerFilterHandler;

    bool m_pendingImport = false;
    QString m_pendingImportPath;
    QStringList m_backupErrors;
    bool m_shutdownRequested = false;
    QList<QWidget *> m_wakeUpDialogs;
    std::function<void(const QString &)> m_messageHandler;

    QTimer m_timerLeft;
    QTimer m_timerRight;
    QTimer m_timerUp;
    QTimer m_timerDown;
    QTimer m_timerMain;
    QSystemTrayIcon *m_trayIcon = nullptr;

    // Widgets, owned by their Qt parents.
    QWidget *m_client = nullptr;
    QWidget *m_panelNavigate = nullptr;
    QWidget *m_panelNavigateTop = nullptr;
    QWidget *m_panelNavigateScroll = nullptr;
    QWidget *m_panelNavigateBottom = nullptr;
    FlatButton *m_buttonHideNavigator = nullptr;
    FlatButton *m_buttonToday = nullptr;
    FlatButton *m_buttonColumnUp = nullptr;
    FlatButton *m_buttonColumnDown = nullptr;
    QWidget *m_panelTop = nullptr;
    FlatButton *m_buttonNew = nullptr;
    FlatButton *m_buttonDelete = nullptr;
    FlatButton *m_buttonShowNavigator = nullptr;
    FlatButton *m_buttonPrev = nullptr;
    FlatButton *m_buttonNext = nullptr;
    QLabel *m_labelDate = nullptr;
    // Tabs in family order: Day, Work Week, Week, Month, Year, Tasks.
    std::array<ViewTab *, 6> m_tabs{};
    QWidget *m_panelDate = nullptr;
    DateHeaderGrid *m_gridDateDW = nullptr;
    QWidget *m_panelDW = nullptr;
    QWidget *m_timeGrid = nullptr;
    QWidget *m_allDay = nullptr;
    QScrollBar *m_scrollDW = nullptr;
    QWidget *m_panelMonth = nullptr;
    QWidget *m_panelYear = nullptr;
    QWidget *m_panelTasks = nullptr;
    QWidget *m_panelBottom = nullptr;
    FlatButton *m_buttonPrint = nullptr;

    std::array<QAction *, 20> m_viewActions{};
    std::array<QAction *, 6> m_scaleActions{};
    std::array<QAction *, 6> m_popupScaleActions{};
    QActionGroup *m_viewGroup = nullptr;
    QMenu *m_popupEvent = nullptr;
    QMenu *m_popupSelect = nullptr;
    QMenu *m_popupTask = nullptr;
    QMenu *m_popupTasks = nullptr;
    QMenu *m_popupTasksHeader = nullptr;
    QMenu *m_popupLayer = nullptr;
};
