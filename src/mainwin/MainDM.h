#pragma once
// The main window. It owns the views and steers them; the data lives in the stores handed in
// by the program entry. It holds the navigation state of the current view (view number,
// selected date, span in TDTime, scale, zoom, scroll) and hands it to the grids.
//
// TDTime belongs to the program entry, which creates it before the events store (the store
// reads its collection window from it) and hands the same object to the window.
#include "core/DFontDM.h"
#include "core/DFormatDM.h"
#include "core/DTimeDM.h"
#include "core/DViewDM.h"
#include "core/ViewSpan.h"
#include "mainwin/TimeFamilyLayout.h"
#include "mainwin/TimeGridHooks.h"

#include <QMainWindow>
#include <QString>
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
class EventsGridModel;
class QSystemTrayIcon;
class TDEvents;
class TDLayers;
class TDReg;
class TDTasks;
class TLumButton;
class TLumGrid_DW;
class ViewTab;

class TForm_Main : public QMainWindow
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
    TForm_Main(TDReg &reg, TDLayers &layers, TDEvents &events, TDTasks &tasks, TDTime &time,
               const Clock &clock, const QString &pendingImport = {}, QWidget *parent = nullptr);
    ~TForm_Main() override;

    // Saves the layers, events and tasks tables into the data directory (run whenever the
    // program loses activation). False when any of them could not be written.
    bool saveTables();
    // The 45 s main timer; its tick is Timer_MainTimer().
    QTimer &MainTimer() { return m_timerMain; }

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
    TDTime &time() { return m_time; }
    const TDFormat &format() const { return m_format; }
    const TDFont &font() const { return m_font; }
    // The current view and a copy of the state last applied.
    const TDView &currentView() const { return m_view; }
    TDView &currentView() { return m_view; }
    const TDView &previousView() const { return m_prevView; }
    int viewKind() const { return m_view.ViewKind; }

    // The selected date (whole day). Until the navigator calendar exists the window keeps it.
    TDateTime selectedDate() const { return m_selected; }
    // Changing the selected date: drops a selected time range, then refreshes.
    void setSelectedDate(TDateTime day);
    // The span TDTime holds for the current view (first inclusive, end exclusive).
    ViewSpan span() const { return {m_time.FirstDate(), m_time.EndDate()}; }
    QString dateLabelText() const;

    int timeScaleIndex() const { return m_scaleIndex; }
    int minutesPerRow() const { return TimeFamily::minutesForScale(m_scaleIndex); }
    int stepsPerDay() const { return TimeFamily::stepsPerDay(minutesPerRow()); }
    // The row height the zoom commands work on; the grid may show taller rows when a whole
    // day fits (rowLayout().rowHeight).
    int zoomRowHeight() const { return m_zoomRowHeight; }
    const TimeFamily::RowLayout &rowLayout() const { return m_rows; }
    const std::vector<int> &dayColumnWidths() const { return m_dayWidths; }
    // First visible hour (ScrollBar_DW position).
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
    // Replaces the two placeholders inside Panel_DW by the real widgets (reparented into the
    // panel; the window lays them out from then on). Null keeps the placeholder.
    void installTimeGrid(QWidget *grid, QWidget *allDay);
    // The real time grid the window created (its strip is dayWeekGrid()->allDay()).
    TLumGrid_DW *dayWeekGrid() const { return m_dw; }
    QWidget *Panel_DW() const { return m_panelDW; }
    QWidget *timeGridWidget() const { return m_timeGrid; }
    QWidget *allDayWidget() const { return m_allDay; }
    QScrollBar *ScrollBar_DW() const { return m_scrollDW; }
    DateHeaderGrid *Grid_DateDW() const { return m_gridDateDW; }
    QTimer &Timer_Up() { return m_timerUp; }
    QTimer &Timer_Down() { return m_timerDown; }
    QTimer &Timer_Left() { return m_timerLeft; }
    QTimer &Timer_Right() { return m_timerRight; }
    QMenu *PopupMenu_Event() const { return m_popupEvent; }
    QMenu *PopupMenu_Select() const { return m_popupSelect; }
    QMenu *PopupMenu_Task() const { return m_popupTask; }
    QMenu *PopupMenu_Tasks() const { return m_popupTasks; }
    QMenu *PopupMenu_TasksHeader() const { return m_popupTasksHeader; }
    QMenu *PopupMenu_Layer() const { return m_popupLayer; }

    // A menu or popup item by its control name ("MenuItem_ZoomIn", "Popup_Paste"); null when
    // there is none.
    QAction *action(const QString &name) const;
    ViewTab *tab(int family) const { return m_tabs[std::size_t(family)]; }
    QLabel *Label_Date() const { return m_labelDate; }

public slots:
    // One tick of the main timer. Empty for now: alarms, the change of hour and the change of
    // day come with the alarm timer.
    void Timer_MainTimer();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
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

    TDReg &m_reg;
    TDLayers &m_layers;
    TDEvents &m_events;
    TDTasks &m_tasks;
    const Clock &m_clock;
    TDTime &m_time;
    TDFormat m_format;
    TDFont m_font;
    TDView m_view;
    TDView m_prevView;

    TDateTime m_selected = 0;
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
    std::unique_ptr<EventsGridModel> m_gridModel;
    TLumGrid_DW *m_dw = nullptr; // owned by Panel_DW
    bool m_refreshPending = false;
    std::function<void(const QString &)> m_layerFilterHandler;

    bool m_pendingImport = false;
    QString m_pendingImportPath;
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
    TLumButton *m_buttonHideNavigator = nullptr;
    TLumButton *m_buttonToday = nullptr;
    TLumButton *m_buttonColumnUp = nullptr;
    TLumButton *m_buttonColumnDown = nullptr;
    QWidget *m_panelTop = nullptr;
    TLumButton *m_buttonNew = nullptr;
    TLumButton *m_buttonDelete = nullptr;
    TLumButton *m_buttonShowNavigator = nullptr;
    TLumButton *m_buttonPrev = nullptr;
    TLumButton *m_buttonNext = nullptr;
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
    TLumButton *m_buttonPrint = nullptr;

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
