#pragma once
// The running program: builds the clock, the settings, the date module, the stores, the main
// window and the dialogs in that order and destroys them in reverse order (member order below).
// The date module ViewDates is created here, before the events store that reads its collection
// window, and handed to the store and the main window alike.
#include "core/Clock.h"
#include "core/CommandLine.h"
#include "core/Settings.h"
#include "store/Table.h"

#include <QString>
#include <memory>

class EventsStore;
class LayersStore;
class TasksStore;
class ViewDates;
class MainWindow;
class AlarmTimer;
class TrayIcon;

class DayloomApp
{
public:
    // Table files that could not be read or opened, and a settings file that cannot be
    // written, are reported through the main window's showMessage() once, on the first turn
    // of the event loop.
    DayloomApp(const SettingsPaths &where, const CommandLine &cmd);
    ~DayloomApp();

    // Answers a message of another start of the program (see SingleInstance): "wake 0",
    // "wake 1", "snooze" and "state"; "alarms" answers the pending event alarms in list order
    // as "<id> <alarm time as file date-time text>", joined by ", " (empty when none). The
    // snoozed reminders are taken on the next turn of the event loop, after the answer.
    QString handleMessage(const QString &message);

    Settings &settings() { return *m_settings; }
    MainWindow &mainWindow() { return *m_main; }
    LayersStore &layers() { return *m_layers; }
    EventsStore &events() { return *m_events; }
    TasksStore &tasks() { return *m_tasks; }
    AlarmTimer &alarmTimer() { return *m_alarmTimer; }
    // Null when no icon is shown.
    TrayIcon *trayIcon() { return m_trayIcon.get(); }
    // Adds the tray icon (on; only where the desktop has a tray) or removes it. Showing an
    // icon that is shown, or removing one that is not, changes nothing.
    void setTrayShown(bool on);
    const Clock &clock() const { return m_clock; }

private:
    // Tells the user, in one message, what went wrong while starting: a data folder that could
    // not be made, tables set aside or not opened, daily copies not made, old events not
    // archived. A table set aside whose ".bak" copy is readable is asked about first, in a
    // question of its own, and restored from that copy when the user says yes.
    void reportStartupProblems();

    Clock m_clock;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<ViewDates> m_viewDates;
    std::unique_ptr<LayersStore> m_layers;
    std::unique_ptr<EventsStore> m_events;
    std::unique_ptr<TasksStore> m_tasks;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<AlarmTimer> m_alarmTimer;
    // Only while UseTrayIcon is on and the desktop has a tray.
    std::unique_ptr<TrayIcon> m_trayIcon;
};

// The text that reports a table file's load to the user; empty when it loaded or was missing.
// A table set aside whose ".bak" copy can be restored (`backupRestorable`) gets a question
// that offers it; otherwise the text says that there is no copy.
QString tableLoadMessage(const QString &fileName, const TableLoadResult &load,
                         bool backupRestorable);
// "Events.bak" for "Events.cds".
QString backupFileName(const QString &tableFileName);

// Writes "import.dat" (one line: `path`) into `dataDir`. False when it cannot be written.
bool writeImportFile(const QString &dataDir, const QString &path);
