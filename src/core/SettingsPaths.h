#pragma once
#include <QString>

// Where the settings store reads and writes; tests build their own.
struct SettingsPaths {
    QString settingsFile;  // the INI file
    QString dataDir;       // becomes the data path; created when missing
    QString autostartFile; // the desktop entry that starts the program at logon
    QString programPath;   // the running program, for the autostart entry

    // The per-user locations of the XDG environment for the given program path.
    static SettingsPaths fromEnvironment(const QString &programPath);
};
