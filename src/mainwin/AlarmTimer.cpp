#include "mainwin/AlarmTimer.h"

#include "core/Clock.h"
#include "core/DateTextHelpers.h"
#include "core/Settings.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorColumn.h"
#include "store/EventsStore.h"
#include "store/LastCheckFile.h"
#include "store/TasksStore.h"
#include "views/FlatButton.h"
#include "views/NavigatorCalendar.h"
#include "views/TimeGrid.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef DAYLOOM_HAVE_MULTIMEDIA
#include <QSoundEffect>
#endif

namespace
{
AlarmTimer::SoundPlayer platformSoundPlayer(QObject *owner)
{
#ifdef DAYLOOM_HAVE_MULTIMEDIA
    auto *effect = new QSoundEffect(owner);
    return [effect](const QString &path, std::function<void(const QString &)> failed) {
        const QFileInfo file(path);
        if (!file.isFile() || !file.isReadable()) {
            failed(QStringLiteral("the file does not exist or cannot be read"));
            return;
        }
        // One failure per play: the report of an earlier play is no longer wanted.
        QObject::disconnect(effect, &QSoundEffect::statusChanged, nullptr, nullptr);
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, failed] {
            if (effect->status() == QSoundEffect::Error)
                failed(QStringLiteral("it is not a wave file that can be played"));
        });
        const QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
        if (effect->source() != source) effect->setSource(source);
        if (effect->status() == QSoundEffect::Error) {
            failed(QStringLiteral("it is not a wave file that can be played"));
            return;
        }
        effect->play(); // a sound still loading plays once it is loaded
    };
#else
    Q_UNUSED(owner);
    return [](const QString &, std::function<void(const QString &)>) { QApplication::beep(); };
#endif
}
} // namespace

AlarmTimer::AlarmTimer(const Clock &clock, Settings &settings, EventsStore &events,
                       TasksStore &tasks, MainWindow &window, QString programDir,
                       SoundPlayer player, ProgramStarter starter)
    : m_clock(clock), m_settings(settings), m_events(events), m_tasks(tasks), m_window(window),
      m_programDir(std::move(programDir)), m_player(std::move(player)),
      m_starter(std::move(starter)), m_lastDay(clock.today()), m_lastCheck(settings.dataPath())
{
    if (!m_player) m_player = platformSoundPlayer(this);
    if (!m_starter)
        m_starter = [](const QString &path, const QStringList &arguments) {
            return QProcess::startDetached(path, arguments);
        };
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &AlarmTimer::tick);
    m_hourTimer.setSingleShot(true);
    connect(&m_hourTimer, &QTimer::timeout, this, &AlarmTimer::repaintHourAxis);

    const SerialDateTime now = clock.nowValue();
    if (const auto lastCheck = m_lastCheck.read(); lastCheck && *lastCheck < now) {
        m_missed = MissedWindow{*lastCheck, now};
        m_events.forgetAlarmsRungBy(*lastCheck);
    }
}

void AlarmTimer::start()
{
    m_timer.start();
    armHourRepaint();
}

void AlarmTimer::armHourRepaint()
{
    constexpr qint64 MsPerHour = 3600 * 1000;
    const qint64 intoHour = m_clock.now().time().msecsSinceStartOfDay() % MsPerHour;
    // A little past the hour, so that the clock reads the new hour when the grid paints.
    m_hourTimer.start(int(MsPerHour - intoHour) + 20);
}

void AlarmTimer::repaintHourAxis()
{
    if (m_window.isVisible() && ViewState::usesTimeGrid(m_window.viewKind())) {
        TimeGrid *grid = m_window.timeGrid();
        if (grid && grid->rowCount() > 0) {
            const QRect top = grid->cellRect(0, 0);
            grid->update(QRect(top.left(), 0, top.width(), grid->height()));
        }
    }
    armHourRepaint();
}

QString AlarmTimer::reminderProgramPath() const
{
    return QDir(m_programDir).filePath(QString::fromLatin1(ReminderProgramName));
}

QStringList AlarmTimer::reminderProgramArguments() const
{
    return ReminderArguments{m_settings.dataPath(), m_missed}.toList();
}

void AlarmTimer::tick()
{
    m_window.retryFailedWrites();
    const SerialDateTime now = m_clock.nowValue();
    // Ticks that did not come (a suspended machine) leave alarms missed as a stopped program
    // does.
    if (!m_missed && m_lastTick &&
        DateTimeValue::toMs(now) - DateTimeValue::toMs(*m_lastTick) > SuspendGapMs) {
        m_missed = MissedWindow{*m_lastTick, now};
        m_missedTaken = false;
    }
    m_lastTick = now;
    // Alarms still pending from the day that ended ring before its list is rebuilt; the
    // rebuilt list may hold alarms of the new day that are already due (after a suspend).
    // Both count as one ring.
    bool fired = false;
    const SerialDateTime today = m_clock.today();
    if (today != m_lastDay) {
        fired = fireDueAlarms();
        const SerialDateTime previous = m_lastDay;
        m_lastDay = today;
        changeOfDay(previous, today);
    }
    // The pending list holds only the current occurrence of a recurring event; those of the
    // days no tick came are looked for once, after the list of the day is in place.
    if (m_missed && !m_missedTaken) {
        (void)m_events.takeMissedOccurrenceAlarms(*m_missed);
        m_missedTaken = true;
    }
    fired = fireDueAlarms() || fired;
    if (fired) ringAndRemind();
    // Alarms that could not be written yet keep their mark until they are.
    if (!m_writeProblemTold) m_missed.reset();
    // Without the file the next start misses nothing; the alarms themselves are not at risk.
    (void)m_lastCheck.write(now);
    emit ticked();
}

bool AlarmTimer::fireDueAlarms()
{
    const AlarmRules::DueWriteResult events = m_events.writeDueAlarms();
    const AlarmRules::DueWriteResult tasks = m_tasks.writeDueAlarms();
    if (events.ok && tasks.ok) {
        m_writeProblemTold = false;
    } else if (!m_writeProblemTold) {
        m_writeProblemTold = true;
        m_window.showMessage(
            QStringLiteral("The due alarms could not be written to \"%1\" (%2). They stay "
                           "pending and are written at the next try.")
                .arg(QString::fromLatin1(AlarmFiles::AlarmFileName),
                     events.ok ? tasks.error : events.error));
    }
    return events.wrote || tasks.wrote;
}

void AlarmTimer::changeOfDay(SerialDateTime previousDay, SerialDateTime today)
{
    // A view that showed the day that ended follows to the new one.
    if (m_window.selectedDate() == previousDay) m_window.setSelectedDate(today);
    m_window.panels().todayButton()->setCaption(QStringLiteral("Today: ") +
                                                dateText(m_window.format(), today));
    m_window.navigator().calendar()->update();

    QStringList problems;
    if (const StoreResult archived = m_events.archiveOldEvents(); !archived.ok)
        problems << QStringLiteral("Old events could not be archived (%1). They stay in the "
                                   "calendar and are archived again at the next change of day.")
                        .arg(archived.error);
    m_events.fillPendingAlarms();
    m_tasks.rebuildAlarms();
    m_window.refresh();

    m_window.makeDailyCopies();
    if (!m_window.backupErrors().isEmpty())
        problems << QStringLiteral("The daily copies of the tables could not all be made:\n%1")
                        .arg(m_window.backupErrors().join(QLatin1Char('\n')));
    if (!m_window.saveTables())
        problems << QStringLiteral("The tables could not all be saved. Dayloom keeps the "
                                   "changes and saves them again later.");
    if (!problems.isEmpty()) m_window.showMessage(problems.join(QStringLiteral("\n\n")));
}

void AlarmTimer::ringAndRemind()
{
    if (m_settings.alarmSoundOn()) playSound();
    // One-time alarms that rang lose their alarm symbol.
    m_window.refresh();
    const QString program = reminderProgramPath();
    if (m_starter(program, reminderProgramArguments())) {
        m_startProblemTold = false;
    } else if (!m_startProblemTold) {
        m_startProblemTold = true;
        m_window.showMessage(QStringLiteral("The reminder program \"%1\" could not be started. "
                                            "The due alarms stay in \"%2\".")
                                 .arg(QDir::toNativeSeparators(program),
                                      QString::fromLatin1(AlarmFiles::AlarmFileName)));
    }
}

void AlarmTimer::playSound()
{
    const QString path = m_settings.alarmSound();
    // The failure may come later, from the event loop; the platform's player belongs to
    // this timer, so it cannot call back after the timer is gone.
    m_player(path, [this, path](const QString &why) {
        if (m_soundProblemTold == path) return;
        m_soundProblemTold = path;
        m_window.showMessage(QStringLiteral("The alarm sound \"%1\" cannot be played: %2.")
                                 .arg(QDir::toNativeSeparators(path), why));
    });
}

void AlarmTimer::takeSnoozedReminders()
{
    if (const StoreResult taken = m_events.readSnoozeFile(); !taken.ok)
        m_window.showMessage(
            QStringLiteral("The snoozed reminders in \"%1\" could not be read (%2).")
                .arg(QString::fromLatin1(AlarmFiles::SnoozeFileName), taken.error));
    QTimer::singleShot(0, this, [this] { m_window.refresh(); });
}
