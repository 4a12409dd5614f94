#include "mainwin/MainDM.h"

#include "core/Clock.h"
#include "core/DRegDM.h"
#include "mainwin/EventsGridModel.h"
#include "store/DEventsDM.h"
#include "store/DLayersDM.h"
#include "store/DTasksDM.h"
#include "views/GridsDM.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTextStream>

TForm_Main::TForm_Main(TDReg &reg, TDLayers &layers, TDEvents &events, TDTasks &tasks, TDTime &time,
                       const Clock &clock, const QString &pendingImport, QWidget *parent)
    : QMainWindow(parent), m_reg(reg), m_layers(layers), m_events(events), m_tasks(tasks),
      m_clock(clock), m_time(time), m_font(TDFont::fromPlatform(QApplication::font("QMenu")))
{
    QDir::setCurrent(m_reg.Path());
    m_format.BuildDateFormat(m_reg.DateFormat(), m_reg.DateSeparator());
    m_format.BuildTimeFormat(m_reg.TimeFormat(), m_reg.TimeSeparator());
    m_selected = m_clock.today();

    for (QTimer *t : {&m_timerLeft, &m_timerRight})
        t->setInterval(KeyRepeatMs);
    for (QTimer *t : {&m_timerUp, &m_timerDown})
        t->setInterval(AutoScrollMs);
    connect(&m_timerLeft, &QTimer::timeout, this, &TForm_Main::stepPrevious);
    connect(&m_timerRight, &QTimer::timeout, this, &TForm_Main::stepNext);
    connect(&m_timerUp, &QTimer::timeout, this, [this] { autoScroll(true); });
    connect(&m_timerDown, &QTimer::timeout, this, [this] { autoScroll(false); });

    resize(800, 600);
    buildWidgets();
    buildMenus();
    buildPopups();
    buildTimeGrid();
    applyStartupView();

    // Daily copies. Only a table read from its file is copied: after a table file was set
    // aside (or could not be opened) its store is empty, and copying that would overwrite the
    // last good ".bak".
    const QString dir = m_reg.Path();
    if (m_layers.loadResult().status == TableLoadResult::Loaded)
        m_layers.CDS.backupTo(dir + "Layers.bak");
    if (m_events.loadResult().status == TableLoadResult::Loaded)
        m_events.CDS.backupTo(dir + "Events.bak");
    if (m_tasks.loadResult().status == TableLoadResult::Loaded)
        m_tasks.CDS.backupTo(dir + "Tasks.bak");

    if (m_reg.FirstTime()) m_events.convertOldDataFile(m_reg);

    if (!m_tasks.setIndexName(m_reg.TasksIndexName()))
        m_tasks.setIndexName(QString::fromLatin1(TDTasks::DefaultIndexName));

    // Posts from elsewhere than the grid's own drags (editors, commands) show on the next
    // turn of the event loop, once for any number of posts.
    m_events.setAfterPostHook([this] { eventsPosted(); });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive) saveTables();
            });

    reFilter();

    m_timerMain.setInterval(MainTimerMs);
    connect(&m_timerMain, &QTimer::timeout, this, &TForm_Main::Timer_MainTimer);
    m_timerMain.start();

    setPendingImport(pendingImport);
    setWindowTitle(QString::fromLatin1(Caption));
}

TForm_Main::~TForm_Main()
{
    m_events.setAfterPostHook(nullptr);
}

bool TForm_Main::saveTables()
{
    const bool layersSaved = m_layers.save().ok();
    const bool eventsSaved = m_events.save().ok();
    const bool tasksSaved = m_tasks.save().ok();
    return layersSaved && eventsSaved && tasksSaved;
}

void TForm_Main::Timer_MainTimer() {}

void TForm_Main::setMessageHandler(std::function<void(const QString &)> handler)
{
    m_messageHandler = std::move(handler);
}

void TForm_Main::showMessage(const QString &text)
{
    if (m_messageHandler) {
        m_messageHandler(text);
        return;
    }
    QMessageBox::warning(this, QString::fromLatin1(Caption).trimmed(), text);
}

void TForm_Main::setPendingImport(const QString &path)
{
    m_pendingImport = !path.isEmpty();
    m_pendingImportPath = path;
}

void TForm_Main::wakeUp(int param)
{
    for (QWidget *d : m_wakeUpDialogs) {
        if (d && d->isVisible()) {
            d->close();
            break;
        }
    }
    if (param == 1) {
        const QString file = m_reg.Path() + "import.dat";
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

bool TForm_Main::closeHidesToTray() const
{
    return m_reg.UseTrayIcon() && !m_shutdownRequested && m_trayIcon && m_trayIcon->isVisible() &&
           QSystemTrayIcon::isSystemTrayAvailable();
}

void TForm_Main::closeEvent(QCloseEvent *event)
{
    if (closeHidesToTray()) {
        event->ignore();
        hide();
        return;
    }
    event->accept();
}

void TForm_Main::setLayerFilterHandler(std::function<void(const QString &)> handler)
{
    m_layerFilterHandler = std::move(handler);
}

void TForm_Main::reFilter()
{
    const QString filter = m_layers.shownLayersFilter();
    m_events.CDS.setFilterText(filter);
    m_tasks.setFilterText(filter);
    if (m_layerFilterHandler) m_layerFilterHandler(filter);
    refresh();
}

QAction *TForm_Main::action(const QString &name) const
{
    return findChild<QAction *>(name);
}
