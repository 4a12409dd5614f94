#pragma once
// The settings store: one in-memory copy of every setting, loaded at construction (a missing
// value is written with its default), and one setter per setting that writes the file at once.
// `Path` is the data directory of this start and has no setter.
#include "core/SettingsFile.h"

#include <QString>

// Every setting in load order: type, name, default. Defaults may use `m_Path`.
#define DAYLOOM_SETTINGS(X)                                                                        \
    X(Str, LayerPath, m_Path + QStringLiteral("My Layers/"))                                       \
    X(Bool, Autostart, false)                                                                      \
    X(Bool, UseTrayIcon, true)                                                                     \
    X(Bool, AlarmSoundOn, true)                                                                    \
    X(Str, AlarmSound, m_Path + QStringLiteral("Alarm.wav"))                                       \
    X(Int, StartOfWeek, 0)                                                                         \
    X(Bool, WeeksOn, false)                                                                        \
    X(Int, DateFormat, 0)                                                                          \
    X(Int, DateSeparator, 0)                                                                       \
    X(Int, TimeFormat, 0)                                                                          \
    X(Int, TimeSeparator, 0)                                                                       \
    X(Int, View, 0)                                                                                \
    X(Int, Time, 8)                                                                                \
    X(Int, TimeScale, 3)                                                                           \
    X(Bool, ShowNavigator, true)                                                                   \
    X(Int, PrintWidth, 5)                                                                          \
    X(Int, PrintHeight, 5)                                                                         \
    X(Int, PrintFontSize, 4)                                                                       \
    X(Int, PrintColor, 0)                                                                          \
    X(Bool, PrintHeading, true)                                                                    \
    X(Int, StartPrintingTime, 0)                                                                   \
    X(Int, StopPrintingTime, 0)                                                                    \
    X(Str, Orientation, QStringLiteral("11000000000000000000"))                                    \
    X(Bool, ShowAlarmDW, true)                                                                     \
    X(Bool, ShowAlarmMonth, true)                                                                  \
    X(Bool, ShowAlarmYear, true)                                                                   \
    X(Bool, ShowAlarmTasks, true)                                                                  \
    X(Bool, ShowStartDW, true)                                                                     \
    X(Bool, ShowEndDW, false)                                                                      \
    X(Bool, ShowStartMonth, true)                                                                  \
    X(Bool, ShowEndMonth, false)                                                                   \
    X(Bool, ShowStartYear, true)                                                                   \
    X(Bool, ShowEndYear, false)                                                                    \
    X(Str, TasksIndexName, QStringLiteral("S+P+F+"))                                               \
    X(Bool, Priority, true)                                                                        \
    X(Bool, Finished, true)                                                                        \
    X(Str, TasksCol, QStringLiteral("210"))                                                        \
    X(Bool, FirstTime, false)

// Where the settings store reads and writes; tests build their own.
struct RegLocations {
    QString settingsFile;  // the INI file
    QString dataDir;       // becomes `Path`; created when missing
    QString autostartFile; // the desktop entry that starts the program at logon
    QString programPath;   // the running program, for the autostart entry

    // The per-user locations of the XDG environment for the given program path.
    static RegLocations fromEnvironment(const QString &programPath);
};

class TDReg {
public:
    using Str = QString;
    using Int = int;
    using Bool = bool;

    static constexpr const char *Section = "DayloomLE";
    static constexpr int ValueCount = 39;

    explicit TDReg(RegLocations where);

    const QString &Path() const { return m_Path; }

#define DAYLOOM_DECLARE(type, name, def)                                                           \
    const type &name() const { return m_##name; }                                                  \
    void set##name(const type &v);
    DAYLOOM_SETTINGS(DAYLOOM_DECLARE)
#undef DAYLOOM_DECLARE

    // True once any write of the settings file or the autostart entry has failed; the
    // in-memory values stay in effect.
    bool writeFailed() const { return m_writeFailed; }
    const RegLocations &locations() const { return m_where; }

    // Writes (on) or removes (off) the autostart entry for the program path. False on failure.
    bool applyAutostart(bool on);
    // The desktop entry text that starts `programPath` with the single argument "auto".
    static QString autostartEntryText(const QString &programPath);

private:
    void writeText(const char *name, const QString &text);
    // Side effects of a setter beyond writing its value (the autostart entry).
    void afterSet(const char *name);
    QString readOrDefault(const char *name, const QString &def);
    int readOrDefault(const char *name, int def);
    bool readOrDefault(const char *name, bool def);

    RegLocations m_where;
    SettingsFile m_file;
    bool m_writeFailed = false;
    QString m_Path;
#define DAYLOOM_MEMBER(type, name, def) type m_##name{};
    DAYLOOM_SETTINGS(DAYLOOM_MEMBER)
#undef DAYLOOM_MEMBER
};
