#pragma once
// The running program: builds the settings, the stores, the main window and the dialogs in
// that order and destroys them in reverse order (member order below).
#include "core/Clock.h"
#include "core/CommandLine.h"
#include "core/DRegDM.h"

#include <QString>
#include <memory>

class TDLayers;
class TForm_Main;

class DayloomApp
{
public:
    DayloomApp(const RegLocations &where, const CommandLine &cmd);
    ~DayloomApp();

    // Answers a message of another start of the program (see SingleInstance).
    QString handleMessage(const QString &message);

    TDReg &reg() { return *m_reg; }
    TForm_Main &mainWindow() { return *m_main; }
    TDLayers &layers() { return *m_layers; }
    const Clock &clock() const { return m_clock; }

private:
    Clock m_clock;
    std::unique_ptr<TDReg> m_reg;
    std::unique_ptr<TDLayers> m_layers;
    std::unique_ptr<TForm_Main> m_main;
};

// Writes "import.dat" (one line: `path`) into `dataDir`. False when it cannot be written.
bool writeImportFile(const QString &dataDir, const QString &path);
