#include "mainwin/MainDM.h"

#include "core/DRegDM.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTextStream>

TForm_Main::TForm_Main(TDReg &reg, QWidget *parent) : QMainWindow(parent), m_reg(reg)
{
    QDir::setCurrent(m_reg.Path());
    setWindowTitle(QString::fromLatin1(Caption));
    resize(1000, 700);
}

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
            showMessage(QStringLiteral("Cannot open file \"%1\".").arg(QDir::toNativeSeparators(file)));
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
    if (!isMinimized())
        update();
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
