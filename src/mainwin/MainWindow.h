#pragma once
// The main window. It owns the views and steers them; the data lives in the stores handed in
// by the program entry. It holds the navigation state of the current view (view number,
// span in ViewDates, time scale) and hands it to the grids; the selected date is held by the
// navigator calendar. Its parts: MainPanels (the client area's bars, buttons, tabs and family
// panels), NavigatorColumn (calendar, week, month, year and layer lists), MainMenus (the menu
// bar and the popups with their actions), for the time views the TimeGrid laid out by
// TimePanelLayout, for the month and weeks views the MonthGrid laid out by MonthPanelLayout and
// for the year and months views the YearGrid laid out by YearPanelLayout.
//
// ViewDates belongs to the program entry, which creates it before the events store (the store
// reads its collection window from it) and hands the same object to the window.
#include "core/DateTimeFormat.h"
#include "core/UiFont.h"
#include "core/ViewDates.h"
#include "core/ViewSpan.h"
#include "core/ViewState.h"
#include "mainwin/TimeFamilyLayout.h"
#include "views/WheelSteps.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class Clock;
class CalendarFileCommands;
class EventCommands;
class EventGrid;
class EventEditing;
class EventsStore;
class EventsStoreGridModel;
class EventsStoreYearModel;
class HelpCommands;
class LayerCommands;
class LayersStore;
class MainMenus;
class MainPanels;
class MonthGrid;
class MonthPanelLayout;
class NavigatorColumn;
class PrintCommands;
class OptionsCommand;
class QScrollBar;
class QSystemTrayIcon;
class Settings;
class TasksStore;
class TasksGrid;
class TasksHeader;
class TasksPanelLayout;
class TasksStoreGridModel;
class TaskCommands;
class TimeGrid;
class UnsavedChangesBar;
class TimePanelLayout;
class YearGrid;
class YearPanelLayout;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr const char *Caption = "Dayloom LE  ";
    static constexpr int KeyRepeatMs = 150;

    // Runs the creation steps in order: the time grid and all-day strip over the events store,
    // the start-up view, hour and scale from the settings (the selected date is the clock's
    // today), the one-time conversion of an old data file when FirstTime is on, the tasks' sort
    // order, the visible-layer filter and a refresh, the pending import (`pendingImport`, empty:
    // none) and the caption. Every reference must outlive the window.
    MainWindow(Settings &settings, LayersStore &layers, EventsStore &events, TasksStore &tasks,
               ViewDates &viewDates, const Clock &clock, const QString &pendingImport = {},
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Saves the layers, events and tasks tables into the data directory (run whenever the
    // program loses activation). False when any of them could not be written.
    bool saveTables();
    // Makes the daily ".bak" copies of the tables that loaded (the program entry runs it once
    // at start-up, after the window first painted) and keeps the failures for backupErrors().
    void makeDailyCopies() { m_backupErrors = backUpLoadedTables(); }
    // The ".bak" copies that failed, one "Name.bak: why" per table; empty when every copy was
    // made (or none was tried yet).
    const QStringList &backupErrors() const { return m_backupErrors; }

    // --- Start-up and wake-up ---------------------------------------------------------------
    // Wake-up from another start of the program: 0 shows the window, 1 also takes the layer
    // file named in "import.dat" as the pending import. A missing "import.dat" is reported and
    // ends that wake-up without showing the window.
    void wakeUp(int param);

    // The layer file an import is pending for; empty when none. A calendar file (by its
    // content, IcsReader::isCalendarFile) is not kept pending: it is imported into a new layer
    // on the next turn of the event loop.
    QString pendingImportPath() const { return m_pendingImport ? m_pendingImportPath : QString(); }
    bool importPending() const { return m_pendingImport; }
    void setPendingImport(const QString &path);

    // Set by the tray's shut-down command: the next close ends the program.
    void setShutdownRequested(bool on) { m_shutdownRequested = on; }

    // Shows a message to the user: a modal message box, or what the sink set here does with
    // the text instead (tests, which a modal box would block). An empty sink: the box again.
    void showMessage(const QString &text);
    // The same for news that is no problem (an information box).
    void showInformation(const QString &text);
    using MessageSink = std::function<void(const QString &text)>;
    void setMessageSink(MessageSink sink) { m_messageSink = std::move(sink); }
    // Asks the user a yes-or-no question: a modal message box, or the sink set here (tests).
    // True for yes.
    bool askUser(const QString &text);
    using QuestionSink = std::function<bool(const QString &text)>;
    void setQuestionSink(QuestionSink sink) { m_questionSink = std::move(sink); }

    // --- Unsaved changes and read-only calendars --------------------------------------------
    // The bar that tells the user when changes are not reaching the table files.
    UnsavedChangesBar &unsavedChangesBar() const { return *m_unsavedBar; }
    // Writes the changes that wait for their table files again (every tick of the main timer);
    // the bar goes once they are all written.
    void retryFailedWrites();
    // Some table file can be read but not written: every editing command is off.
    bool isReadOnly() const;
    // After a table's rows were replaced by its ".bak" copy: alarms, filters and views follow.
    void tablesRestored();

    // Dialogs closed by a wake-up, first visible one only, in this order; the modal windows
    // open over it (a dialog it opened, a message box) close before it, innermost first.
    void setWakeUpDialogs(QList<QWidget *> dialogs) { m_wakeUpDialogs = std::move(dialogs); }
    // Puts `dialog` last in that order.
    void addWakeUpDialog(QWidget *dialog) { m_wakeUpDialogs << dialog; }
    const QList<QWidget *> &wakeUpDialogs() const { return m_wakeUpDialogs; }

    // True when closing hides to the tray instead of ending the program: only while a tray
    // icon is shown on a desktop that has a tray (and no shut-down was asked for), so the
    // window is never hidden where nothing can bring it back.
    bool closeHidesToTray() const;
    // The tray icon the window hides to; null (the default) or a hidden icon: none.
    void setTrayIcon(QSystemTrayIcon *icon) { m_trayIcon = icon; }

    // --- Services and navigation state ------------------------------------------------------
    ViewDates &viewDates() { return m_viewDates; }
    const DateTimeFormat &format() const { return m_format; }
    const UiFont &font() const { return m_font; }
    // The current view.
    const ViewState &currentView() const { return m_view; }
    ViewState &currentView() { return m_view; }
    int viewKind() const { return m_view.kind; }

    // The selected date (whole day), held by the navigator calendar.
    SerialDateTime selectedDate() const;
    // Changing the selected date: drops a selected time range, then refreshes. A date whose
    // view span would leave the supported years is refused.
    void setSelectedDate(SerialDateTime day);
    // The span ViewDates holds for the current view (first inclusive, end exclusive).
    ViewSpan span() const { return {m_viewDates.spanStart(), m_viewDates.spanEnd()}; }
    QString dateLabelText() const;

    int timeScaleIndex() const { return m_scaleIndex; }
    int minutesPerRow() const { return TimeFamily::minutesForScale(m_scaleIndex); }
    int stepsPerDay() const { return TimeFamily::stepsPerDay(minutesPerRow()); }
    // The row height the zoom commands work on; the grid may show taller rows when a whole
    // day fits (rowLayout().rowHeight).
    int zoomRowHeight() const;
    const TimeFamily::RowLayout &rowLayout() const;
    const std::vector<int> &dayColumnWidths() const;
    // First visible hour (timeScrollBar position).
    int scrollHour() const;
    bool navigatorShown() const { return m_navigatorShown; }

    // --- Commands ---------------------------------------------------------------------------
    // Switching to a view (tabs, menus); the same view again does nothing. Numbers outside
    // 0-19 are refused (false).
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
    // Hands the layers store's visible-layer filter to the stores, announces it
    // (layerFilterChanged) and refreshes.
    void reFilter();
    // Enables the commands for the current view and selection.
    void updateCommands();
    // Puts the settings the options dialog wrote into effect: shows or hides the tasks columns
    // whose boxes differed from their settings, rebuilds the date and time formats and the today
    // button, applies the week start and the week list to the navigator, lays out and refreshes;
    // asks for the tray icon (trayIconWanted) when UseTrayIcon differs from `trayWasOn`.
    void applySettings(bool trayWasOn, bool togglePriority, bool toggleFinished);
    // Lays out columns and rows of the time-grid panel for the current size.
    void layoutTimePanel();

    // --- Parts ------------------------------------------------------------------------------
    MainMenus &menus() const { return *m_menus; }
    MainPanels &panels() const { return *m_panels; }
    // Delete, occurrences, cut, copy, paste and undo of events.
    EventCommands &eventCommands() const { return *m_eventCommands; }
    HelpCommands &helpCommands() const { return *m_helpCommands; }
    // "Print Current View..." and the bottom bar's print button.
    PrintCommands &printCommands() const { return *m_printCommands; }
    OptionsCommand &optionsCommand() const { return *m_optionsCommand; }
    // Import and export of calendar files (.ics).
    CalendarFileCommands &calendarFileCommands() const { return *m_calendarFileCommands; }
    LayersStore &layers() const { return m_layers; }
    NavigatorColumn &navigator() const { return *m_navigator; }
    // The time grid of views 0-8 (its strip is timeGrid()->allDayStrip()).
    TimeGrid *timeGrid() const { return m_timeGrid; }
    // Creating and editing events (the new and edit commands).
    EventEditing &eventEditing() const { return *m_eventEditing; }
    QScrollBar *timeScrollBar() const;
    // The month grid of views 9-14.
    MonthGrid *monthGrid() const { return m_monthGrid; }
    // The year grid of views 15-18.
    YearGrid *yearGrid() const { return m_yearGrid; }
    // The tasks list of view 19, its header and its commands.
    TasksGrid *tasksGrid() const { return m_tasksGrid; }
    TasksHeader *tasksHeader() const { return m_tasksHeader; }
    TaskCommands &taskCommands() const { return *m_taskCommands; }
    // What shows the current view: its grid, or the tasks list.
    QWidget *currentViewWidget() const;
    // Repeat stepPrevious() / stepNext() every 150 ms while Left / Right is held.
    QTimer &previousRepeatTimer() { return m_previousRepeatTimer; }
    QTimer &nextRepeatTimer() { return m_nextRepeatTimer; }

signals:
    // reFilter() handed this visible-layer filter to the stores.
    void layerFilterChanged(const QString &filter);
    // The window was closed for good (not hidden to the tray): the program ends.
    void closedForGood();
    // UseTrayIcon was changed: the tray icon is to be shown (on) or removed.
    void trayIconWanted(bool on);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Makes the ".bak" copies of the tables that loaded; returns the failures.
    QStringList backUpLoadedTables();
    void connectPanels();
    void connectMenus();
    void buildTimeGrid();
    void buildMonthGrid();
    void buildYearGrid();
    void buildTasksGrid();
    // The popups and command states every event grid asks the window for.
    void connectEventGrid(EventGrid *grid);
    // Drops the selected days and events of every grid and ViewDates' selection.
    void clearGridSelections();
    void layoutWindow();
    void layoutTimeRows();
    // Collects the time grid and its strip; lays the rows out again when the strip's height
    // changed with what it holds.
    void collectTimeGrid();
    // Lays out, collects and heads the month grid for the current month or weeks view.
    void refreshMonthFamily();
    // Lays out, collects and heads the year grid for the current year or months view.
    void refreshYearFamily();
    // Rebuilds the task rows (keeping the selected tasks) and heads them.
    void refreshTasksFamily();
    // The tasks header after a change of the columns or the sort order.
    void showTasksHeader();
    void eventsPosted();
    void applyStartupView();
    // Fills the view state for view `kind` and checks its menu item.
    void describeView(int kind);
    void markTab(int kind);
    void showViewFamily(int kind);
    // The calendar's date changed: the views follow it, or it is put back when the view
    // cannot show it.
    void dateChosen(SerialDateTime day);
    void chooseFromTab(int family, int choice);
    static int tabFamily(int kind);

    Settings &m_settings;
    LayersStore &m_layers;
    EventsStore &m_events;
    TasksStore &m_tasks;
    const Clock &m_clock;
    ViewDates &m_viewDates;
    DateTimeFormat m_format;
    UiFont m_font;
    ViewState m_view;
    int m_appliedViewKind = ViewDay; // the view last switched to

    SerialDateTime m_shownDate = 0; // the selected date the views were last refreshed for
    int m_dayChoice = 0;
    int m_monthChoice = 0;
    int m_yearChoice = 0;
    int m_scaleIndex = TimeFamily::DefaultScaleIndex;
    bool m_navigatorShown = true;
    bool m_refreshPending = false;

    bool m_pendingImport = false;
    QString m_pendingImportPath;
    QStringList m_backupErrors;
    bool m_shutdownRequested = false;
    QList<QWidget *> m_wakeUpDialogs;
    MessageSink m_messageSink;
    QuestionSink m_questionSink;
    UnsavedChangesBar *m_unsavedBar = nullptr; // owned by the client area
    QSystemTrayIcon *m_trayIcon = nullptr;

    QTimer m_previousRepeatTimer;
    QTimer m_nextRepeatTimer;

    std::unique_ptr<MainPanels> m_panels;
    std::unique_ptr<MainMenus> m_menus;
    NavigatorColumn *m_navigator = nullptr; // owned by the navigator column's middle panel
    std::unique_ptr<EventsStoreGridModel> m_gridModel;
    TimeGrid *m_timeGrid = nullptr;                 // owned by the time panel
    TimePanelLayout *m_timePanelLayout = nullptr;   // owned by the time panel
    MonthGrid *m_monthGrid = nullptr;               // owned by the month panel
    MonthPanelLayout *m_monthPanelLayout = nullptr; // owned by the month panel
    std::unique_ptr<EventsStoreYearModel> m_yearModel;
    YearGrid *m_yearGrid = nullptr;               // owned by the year panel
    YearPanelLayout *m_yearPanelLayout = nullptr; // owned by the year panel
    WheelSteps m_yearWheel; // the wheel over the year grid, which passes it to its panel
    std::unique_ptr<TasksStoreGridModel> m_tasksModel;
    TasksGrid *m_tasksGrid = nullptr;                       // owned by the tasks panel
    TasksPanelLayout *m_tasksPanelLayout = nullptr;         // owned by the tasks panel
    TasksHeader *m_tasksHeader = nullptr;                   // owned by the date bar
    TaskCommands *m_taskCommands = nullptr;                 // owned by the window
    EventCommands *m_eventCommands = nullptr;               // owned by the window
    CalendarFileCommands *m_calendarFileCommands = nullptr; // owned by the window
    HelpCommands *m_helpCommands = nullptr;                 // owned by the window
    PrintCommands *m_printCommands = nullptr;               // owned by the window
    OptionsCommand *m_optionsCommand = nullptr;             // owned by the window
    LayerCommands *m_layerCommands = nullptr;               // owned by the window
    EventEditing *m_eventEditing = nullptr;                 // owned by the window
};
