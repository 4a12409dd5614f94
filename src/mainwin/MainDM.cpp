#include "mainwin/MainDM.h"

#include "core/Clock.h"
#include "core/DRegDM.h"
#include "store/DLayersDM.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTextStream>

TForm_Main::TForm_Main(TDReg &reg, TDLayers &layers, const Clock &clock, QWidget *parent)
    : QMainWindow(parent), m_reg(reg), m_layers(layers), m_clock(clock), m_time(clock),
      m_font(TDFont::fromPlatform(QApplication::font("QMenu")))
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
    applyStartupView();

    // Daily copy of the table files; a store not built yet has no file to copy here.
    m_layers.CDS.backupTo(m_reg.Path() + "Layers.bak");

    reFilter();
    setWindowTitle(QString::fromLatin1(Caption));
}

TForm_Main::~TForm_Main() = default;

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
    return m_reg.UseTrayIcon() && !m_shutdownRequested && QSystemTrayIcon::isSystemTrayAvailable();
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
    if (m_layerFilterHandler) m_layerFilterHandler(m_layers.shownLayersFilter());
    refresh();
}

QAction *TForm_Main::action(const QString &name) const
{
    return findChild<QAction *>(name);
}
