#include "mainwin/MainWindow.h"

#include "core/Clock.h"
#include "core/Settings.h"
#include "mainwin/EventsStoreGridModel.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/OldDataConversion.h"
#include "store/TasksStore.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTextStream>

MainWindow::MainWindow(Settings &reg, LayersStore &layers, EventsStore &events, TasksStore &tasks, ViewDates &time,
                       const Clock &clock, const QString &pendingImport, QWidget *parent)
    : QMainWindow(parent), m_reg(reg), m_layers(layers), m_events(events), m_tasks(tasks),
      m_clock(clock), m_time(time), m_font(UiFont::fromPlatform(QApplication::font("QMenu")))
{
    QDir::setCurrent(m_reg.dataPath());
    m_format.buildDateFormat(m_reg.dateFormat(), m_reg.dateSeparator());
    m_format.buildTimeFormat(m_reg.timeFormat(), m_reg.timeSeparator());
    m_selected = m_clock.today();

    for (QTimer *t : {&m_timerLeft, &m_timerRight})
        t->setInterval(KeyRepeatMs);
    for (QTimer *t : {&m_timerUp, &m_timerDown})
        t->setInterval(AutoScrollMs);
    connect(&m_timerLeft, &QTimer::timeout, this, &MainWindow::stepPrevious);
    connect(&m_timerRight, &QTimer::timeout, this, &MainWindow::stepNext);
    connect(&m_timerUp, &QTimer::timeout, this, [this] { autoScroll(true); });
    connect(&m_timerDown, &QTimer::timeout, this, [this] { autoScroll(false); });

    resize(800, 600);
    buildWidgets();
    buildMenus();
    buildPopups();
    buildTimeGrid();
    applyStartupView();

    m_backupErrors = backUpLoadedTables();

    if (m_reg.firstTime()) OldDataConversion::convert(m_events, m_layers, m_reg);

    if (!m_tasks.setIndexName(m_reg.tasksIndexName())) {
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

    m_timerMain.setInterval(MainTimerMs);
    connect(&m_timerMain, &QTimer::timeout, this, &MainWindow::onMainTimer);
    m_timerMain.start();

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
    const QString dir = m_reg.dataPath();
    QStringList errors;
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

bool MainWindow::saveTables()
{
    const bool layersSaved = m_layers.save().ok();
    const bool eventsSaved = m_events.save().ok();
    const bool tasksSaved = m_tasks.save().ok();
    return layersSaved && eventsSaved && tasksSaved;
}

void MainWindow::onMainTimer() {}

void MainWindow::setMessageHandler(std::function<void(const QString &)> handler)
{
    m_messageHandler = std::move(handler);
}

void MainWindow::showMessage(const QString &text)
{
    if (m_messageHandler) {
        m_messageHandler(text);
        return;
    }
    QMessageBox::warning(this, QString::fromLatin1(Caption).trimmed(), text);
}

void MainWindow::setPendingImport(const QString &path)
{
    m_pendingImport = !path.isEmpty();
    m_pendingImportPath = path;
}

void MainWindow::wakeUp(int param)
{
    for (QWidget *d : m_wakeUpDialogs) {
        if (d && d->isVisible()) {
            d->close();
            break;
        }
    }
    if (param == 1) {
        const QString file = m_reg.dataPath() + "import.dat";
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            showMessage(
                QStringLiteral("Cannot open file \"%1\".").arg(QDir::toNativeSeparators(file)));
            return;
        }
        QTextStream in(&f);
        setPendingImport(in.readLine());
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
    return m_reg.useTrayIcon() && !m_shutdownRequested && m_trayIcon && m_trayIcon->isVisible() &&
           QSystemTrayIcon::isSystemTrayAvailable();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (closeHidesToTray()) {
        event->ignore();
        hide();
        return;
    }
    event->accept();
}

void MainWindow::setLayerFilterHandler(std::function<void(const QString &)> handler)
{
    m_layerFilterHandler = std::move(handler);
}

void MainWindow::reFilter()
{
    const QString filter = m_layers.shownLayersFilter();
    // The layers store writes only filters the tables parse.
    (void)m_events.setFilterText(filter);
    (void)m_tasks.setFilterText(filter);
    if (m_layerFilterHandler) m_layerFilterHandler(filter);
    refresh();
}

QAction *MainWindow::action(const QString &name) const
{
    return findChild<QAction *>(name);
}
