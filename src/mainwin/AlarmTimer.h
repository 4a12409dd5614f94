#pragma once
// The main timer: every 45 s it hands the due event and task alarms to "alarm.dat", rings the
// alarm sound and starts the reminder program once for whatever fell due in that tick, and
// runs the change of day on the first tick of a new date (also after a suspend or a clock
// change that skipped midnight). It also takes back the reminders the reminder program
// snoozed. The sound and the program start are handed in, so tests watch them instead.
//
// Each tick records its time in "lastcheck.dat". Alarms that fell due between that time and
// the next start rang while no program ran: the first tick after the start hands them on marked
// as missed, a recurring event's for every occurrence in that time (EventsStore's
// missedOccurrenceAlarms), not only today's. A second timer repaints the time grid's hour axis
// on every full hour.
#include "core/DateTimeValue.h"
#include "core/ReminderArguments.h"
#include "store/LastCheckFile.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

class Clock;
class EventsStore;
class MainWindow;
class Settings;
class TasksStore;

class AlarmTimer : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 45000;
    // A tick this long after the one before it finds the machine was suspended in between.
    static constexpr qint64 SuspendGapMs = 15 * 60 * 1000;
    static constexpr const char *ReminderProgramName = "dayloom-alarm";

    // Plays the wave file at `path` once, without waiting for it; calls `failed` with the
    // reason when the file cannot be played (now or later, on the event loop).
    using SoundPlayer =
        std::function<void(const QString &path, std::function<void(const QString &)> failed)>;
    // Starts the program at `path` with `arguments`, detached; false when it could not start.
    using ProgramStarter = std::function<bool(const QString &path, const QStringList &arguments)>;

    // Empty player or starter: the platform's (a sound effect; a detached process). The
    // reminder program is looked for in `programDir` (the running program's own folder). The
    // timer does not run until start(). Every reference must outlive the timer. Reads
    // "lastcheck.dat": recurring alarms listed for a time up to it rang before and are dropped.
    AlarmTimer(const Clock &clock, Settings &settings, EventsStore &events, TasksStore &tasks,
               MainWindow &window, QString programDir, SoundPlayer player = {},
               ProgramStarter starter = {});

    // Starts the 45-second timer and the hourly repaint.
    void start();
    bool isActive() const { return m_timer.isActive(); }
    // Milliseconds until the hourly repaint; -1 while it is not armed.
    int msUntilHourRepaint() const { return m_hourTimer.isActive() ? m_hourTimer.interval() : -1; }
    // Repaints the hour axis of the time grid when the window is shown in a time view, then
    // arms the next repaint for the next full hour of the clock.
    void repaintHourAxis();

    // One tick of the timer: the window's failed table writes tried again, the change of day
    // when the date moved on, then the due alarms. A tick more than SuspendGapMs after the
    // one before hands on the alarms of the time between as missed, as the first tick after
    // a start does.
    void tick();
    // The reminder program wrote "snooze.dat": its reminders join the pending alarms and the
    // views refresh on the next turn of the event loop.
    void takeSnoozedReminders();

    // The date whose change of day ran last (at construction: the clock's today).
    SerialDateTime lastDay() const { return m_lastDay; }
    QString reminderProgramPath() const;
    // What the reminder program is started with: the data folder it shares with this program.
    // With "--missed" after a start that found "lastcheck.dat" or after a suspend, until the
    // missed alarms were written.
    QStringList reminderProgramArguments() const;
    // The alarms the next tick hands on as missed; nullopt once they were written to
    // "alarm.dat", or when nothing was missed (a first start, ticks on time).
    const std::optional<MissedWindow> &missedWindow() const { return m_missed; }

signals:
    // After every tick: what shows the current time repaints.
    void ticked();

private:
    // Writes the due alarms of both stores, events first. True when a line was written.
    bool fireDueAlarms();
    void changeOfDay(SerialDateTime previousDay, SerialDateTime today);
    void ringAndRemind();
    void playSound();
    void armHourRepaint();

    const Clock &m_clock;
    Settings &m_settings;
    EventsStore &m_events;
    TasksStore &m_tasks;
    MainWindow &m_window;
    QString m_programDir;
    SoundPlayer m_player;
    ProgramStarter m_starter;
    QTimer m_timer;
    QTimer m_hourTimer;
    std::optional<MissedWindow> m_missed;
    std::optional<SerialDateTime> m_lastTick; // none before the first tick
    // The missed occurrences of recurring events were handed to the events store.
    bool m_missedTaken = false;
    SerialDateTime m_lastDay = 0;
    LastCheckFile m_lastCheck;
    // The sound file whose failure was told; told again only for another file.
    QString m_soundProblemTold;
    // A write failure of "alarm.dat" or a failed start is told once until it works again.
    bool m_writeProblemTold = false;
    bool m_startProblemTold = false;
};
