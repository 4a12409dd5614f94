#include "mainwin/DayloomApp.h"

#include "mainwin/MainDM.h"
#include "store/DLayersDM.h"

#include <QGuiApplication>

#include <QFile>
#include <QSaveFile>

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

DayloomApp::DayloomApp(const RegLocations &where, const CommandLine &cmd)
{
    initResources();
    m_reg = std::make_unique<TDReg>(where);
    provideAlarmSound(m_reg->Path());

    m_layers = std::make_unique<TDLayers>(m_reg->Path(), &m_clock);
    m_main = std::make_unique<TForm_Main>(*m_reg, *m_layers, m_clock);
    // The tables are saved whenever the program loses activation.
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, m_main.get(),
                     [this](Qt::ApplicationState state) {
                         if (state != Qt::ApplicationActive) m_layers->save();
                     });
    if (m_reg->writeFailed())
        m_main->showMessage(
            QStringLiteral("The settings file \"%1\" cannot be written. Dayloom runs on the "
                           "current settings, but changes will not be kept.")
                .arg(where.settingsFile));
    m_main->setPendingImport(cmd.kind == CommandLine::Kind::Import ? cmd.importPath : QString());
    if (cmd.kind != CommandLine::Kind::Auto) m_main->showMaximized();
}

DayloomApp::~DayloomApp() = default;

QString DayloomApp::handleMessage(const QString &message)
{
    if (message == QLatin1String("wake 0")) {
        m_main->wakeUp(0);
    } else if (message == QLatin1String("wake 1")) {
        m_main->wakeUp(1);
    } else if (message == QLatin1String("state")) {
        return QStringLiteral("visible=%1 import=%2")
            .arg(m_main->isVisible() ? 1 : 0)
            .arg(m_main->pendingImportPath());
    }
    return QStringLiteral("ok");
}
