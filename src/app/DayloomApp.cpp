#include "app/DayloomApp.h"

#include "core/FileText.h"
#include "core/ViewDates.h"
#include "mainwin/AlarmTimer.h"
#include "mainwin/MainWindow.h"
#include "mainwin/TrayIcon.h"
#include "platform/ProgramIcon.h"
#include "store/AlarmFiles.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "views/TimeGrid.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QSaveFile>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <tuple>

namespace
{
// The alarm sound ships inside the program and is put into the data folder when missing.
void provideAlarmSound(const QString &dataDir)
{
    const QString target = dataDir + "Alarm.wav";
    if (QFile::exists(target)) return;
    QFile src(":/Alarm.wav");
    QSaveFile out(target);
    if (src.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) {
        out.write(src.readAll());
        out.commit();
    }
}

// Runs `then` once, on the turn of the event loop after `widget` first painted. A widget that
// never paints runs it after FallbackMs all the same. Deletes itself after running.
class AfterFirstPaint : public QObject
{
public:
    static constexpr int FallbackMs = 3000;

    AfterFirstPaint(QWidget &widget, std::function<void()> then)
        : QObject(&widget), m_then(std::move(then))
    {
        widget.installEventFilter(this);
        QTimer::singleShot(FallbackMs, this, [this] { run(); });
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) QTimer::singleShot(0, this, [this] { run(); });
        return false;
    }

private:
    void run()
    {
        if (m_done) return;
        m_done = true;
        m_then();
        deleteLater();
    }

    std::function<void()> m_then;
    bool m_done = false;
};
} // namespace

bool writeImportFile(const QString &dataDir, const QString &path)
{
    QSaveFile f(dataDir + "import.dat");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    f.write((path + "\n").toUtf8());
    return f.commit();
}

static void initResources()
{
    Q_INIT_RESOURCE(dayloom);
}

DayloomApp::DayloomApp(const SettingsPaths &where, const CommandLine &cmd)
{
    initResources();
    // The platform adds the display name to every window title that does not already end with
    // it: the main window's caption is the display name itself, so it shows once.
    QGuiApplication::setApplicationDisplayName(QString::fromLatin1(MainWindow::Caption));
    QGuiApplication::setDesktopFileName(QStringLiteral("dayloom"));
    QApplication::setWindowIcon(programIcon());
    m_settings = std::make_unique<Settings>(where);
    provideAlarmSound(m_settings->dataPath());

    const QString dir = m_settings->dataPath();
    m_viewDates = std::make_unique<ViewDates>(m_clock);
    m_layers = std::make_unique<LayersStore>(dir, m_clock);
    m_events = std::make_unique<EventsStore>(dir, *m_layers, *m_viewDates, m_clock);
    m_tasks = std::make_unique<TasksStore>(dir, *m_layers, m_clock);
    m_main = std::make_unique<MainWindow>(
        *m_settings, *m_layers, *m_events, *m_tasks, *m_viewDates, m_clock,
        cmd.kind == CommandLine::Kind::Import ? cmd.importPath : QString());
    m_alarmTimer = std::make_unique<AlarmTimer>(m_clock, *m_settings, *m_events, *m_tasks, *m_main,
                                                QCoreApplication::applicationDirPath());
    QObject::connect(m_alarmTimer.get(), &AlarmTimer::ticked, m_main->timeGrid(),
                     &TimeGrid::refreshNowLine);
    m_alarmTimer->start();
    setTrayShown(m_settings->useTrayIcon());
    QObject::connect(m_main.get(), &MainWindow::trayIconWanted, m_main.get(),
                     [this](bool on) { setTrayShown(on); });
    // The program ends when the main window closes for good, never because the last visible
    // window (a message box, the help window) closed while the main window sits in the tray or
    // was started hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(m_main.get(), &MainWindow::closedForGood, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (cmd.kind != CommandLine::Kind::Auto) m_main->showMaximized();
    // The daily copies wait until the user sees the calendar (its view has painted); problems found
    // while starting are told after them, once, so that the message boxes come over the window. A
    // window started hidden does both on the first turn of the event loop.
    const QString settingsFile = where.settingsFile;
    const auto finishStart = [this, settingsFile] {
        m_main->makeDailyCopies();
        reportStartupProblems();
        // Reminders snoozed while no Dayloom was running to take the message.
        if (QFile::exists(m_settings->dataPath() + AlarmFiles::SnoozeFileName))
            m_alarmTimer->takeSnoozedReminders();
        // Alarms due while no Dayloom ran ring now rather than at the end of the first period.
        m_alarmTimer->tick();
        if (m_settings->writeFailed())
            m_main->showMessage(
                QStringLiteral("The settings file \"%1\" cannot be written. Dayloom runs on the "
                               "current settings, but changes will not be kept.")
                    .arg(settingsFile));
    };
    if (m_main->isVisible())
        new AfterFirstPaint(*m_main->currentViewWidget(), finishStart);
    else
        QTimer::singleShot(0, m_main.get(), finishStart);
}

void DayloomApp::setTrayShown(bool on)
{
    if (!on)
        m_trayIcon.reset();
    else if (!m_trayIcon && QSystemTrayIcon::isSystemTrayAvailable())
        m_trayIcon = std::make_unique<TrayIcon>(*m_main);
}

DayloomApp::~DayloomApp()
{
    // Reverse order of creation; each store saves its table as it goes.
    m_trayIcon.reset();
    m_alarmTimer.reset();
    m_main.reset();
    m_tasks.reset();
    m_events.reset();
    m_layers.reset();
    m_viewDates.reset();
    m_settings.reset();
}

QString backupFileName(const QString &tableFileName)
{
    return QString(tableFileName).replace(QStringLiteral(".cds"), QStringLiteral(".bak"));
}

QString tableLoadMessage(const QString &fileName, const TableLoadResult &load,
                         bool backupRestorable)
{
    switch (load.status) {
    case TableLoadResult::SetAside: {
        const QString told =
            QStringLiteral("The table file \"%1\" could not be read. It was renamed to \"%2\" "
                           "and Dayloom starts with an empty table.")
                .arg(fileName, QDir::toNativeSeparators(load.setAsidePath));
        return backupRestorable
                   ? told + QStringLiteral("\n\nRestore the last daily copy \"%1\" now?")
                                .arg(backupFileName(fileName))
                   : told + QStringLiteral(" There is no daily copy to restore it from.");
    }
    case TableLoadResult::Failed:
        return QStringLiteral("The table file \"%1\" could not be opened (%2). Dayloom runs on an "
                              "empty table, and changes to it will not be kept.")
            .arg(fileName, load.error);
    default:
        return {};
    }
}

void DayloomApp::reportStartupProblems()
{
    QStringList texts;
    const QString dataDir = m_settings->dataPath();
    const bool folderMade = QFileInfo(dataDir).isDir();
    if (!folderMade)
        texts << QStringLiteral("The data folder \"%1\" cannot be created. Dayloom runs on "
                                "empty tables, and changes to them will not be kept.")
                     .arg(QDir::toNativeSeparators(dataDir));
    bool restored = false;
    for (const auto &[name, load, writes] :
         {std::tuple{LayersStore::FileName, &m_layers->loadResult(), m_layers->writes()},
          std::tuple{EventsStore::FileName, &m_events->loadResult(), m_events->writes()},
          std::tuple{TasksStore::FileName, &m_tasks->loadResult(), m_tasks->writes()}}) {
        if (!folderMade && load->status == TableLoadResult::Failed) continue; // told above
        const QString fileName = QString::fromLatin1(name);
        const QString backup = dataDir + backupFileName(fileName);
        TableWrites table = writes;
        const bool restorable =
            load->status == TableLoadResult::SetAside && table.canRestoreFrom(backup);
        const QString text = tableLoadMessage(fileName, *load, restorable);
        if (!restorable) {
            if (!text.isEmpty()) texts << text;
            continue;
        }
        if (!m_main->askUser(text)) continue;
        // A copy that was read but not written stays in memory; the window's bar tells that.
        if (const TableResult r = table.restoreFrom(backup); r.applied)
            restored = true;
        else
            texts << QStringLiteral("The daily copy \"%1\" could not be restored (%2).")
                         .arg(backupFileName(fileName), r.error);
    }
    if (restored) m_main->tablesRestored();
    if (!m_main->backupErrors().isEmpty())
        texts << QStringLiteral("The daily copies of the tables could not all be made:\n%1")
                     .arg(m_main->backupErrors().join(QLatin1Char('\n')));
    if (const StoreResult &archive = m_events->startupArchiveResult(); !archive.ok)
        texts << QStringLiteral("Old events could not be archived (%1). They stay in the "
                                "calendar and are archived again at the next start.")
                     .arg(archive.error);
    if (!texts.isEmpty()) m_main->showMessage(texts.join(QStringLiteral("\n\n")));
}

QString DayloomApp::handleMessage(const QString &message)
{
    if (message == QLatin1String("wake 0")) {
        m_main->wakeUp(0);
    } else if (message == QLatin1String("wake 1")) {
        m_main->wakeUp(1);
    } else if (message == QLatin1String("snooze")) {
        // Not inside the socket's callback: a message box there would run a nested event loop
        // in which the reminder program's socket can go away under the callback.
        QTimer::singleShot(0, m_alarmTimer.get(), [this] { m_alarmTimer->takeSnoozedReminders(); });
    } else if (message == QLatin1String("alarms")) {
        QStringList entries;
        for (const AlarmEntry &e : m_events->pendingAlarms().items())
            entries << QString::number(e.id) + QLatin1Char(' ') +
                           FileText::fileDateTimeText(e.alarmTime);
        return entries.join(QStringLiteral(", "));
    } else if (message == QLatin1String("state")) {
        return QStringLiteral("visible=%1 import=%2")
            .arg(m_main->isVisible() ? 1 : 0)
            .arg(m_main->pendingImportPath());
    }
    return QStringLiteral("ok");
}
