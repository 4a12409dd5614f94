#pragma once
// The print commands of the main window: "Print Current View..." (the print dialog) and the
// bottom bar's print button (at once, with the stored settings). Both print the current view
// on the window's printer, which keeps the printer set-up for the session, and report a
// failed job ("Printing failed." and why) instead of letting it pass for printed.
#include "core/PrintOptions.h"
#include "views/PrintJob.h"

#include <QObject>
#include <QPrinter>
#include <functional>

class Clock;
class EventsStoreGridModel;
class EventsStoreYearModel;
class MainWindow;
class PrintDialog;
class Settings;
class TasksStoreGridModel;

class PrintCommands : public QObject
{
    Q_OBJECT
public:
    // Connects the menu item and the button and enables them. Everything must outlive the
    // commands, which the window owns.
    PrintCommands(MainWindow &window, const Settings &settings, EventsStoreGridModel &gridModel,
                  EventsStoreYearModel &yearModel, TasksStoreGridModel &tasksModel,
                  const Clock &clock);

    QPrinter &printer() { return m_printer; }

    // Prints the current view with `options` (copies and the view's orientation set on the
    // printer first), then collects and places the view's grid for the screen again.
    [[nodiscard]] PrintResult printCurrentView(const PrintOptions &options);
    // The bottom bar's print: the stored settings, one copy; a failure is reported.
    void printWithSettings();
    // "Print Current View...": the print dialog, then the print; a failure is reported.
    void openPrintDialog();

    // Runs the print dialog (a test replaces the modal exec); returns QDialog's result.
    using DialogRunner = std::function<int(PrintDialog &)>;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

private:
    void report(const PrintResult &result);

    MainWindow &m_window;
    const Settings &m_settings;
    EventsStoreGridModel &m_gridModel;
    EventsStoreYearModel &m_yearModel;
    TasksStoreGridModel &m_tasksModel;
    const Clock &m_clock;
    QPrinter m_printer;
    DialogRunner m_runDialog;
};
