#pragma once
// The settings store: one in-memory copy of every setting, loaded at construction (a missing
// value is written with its default), and one setter per setting that writes the file at once.
// `dataPath()` (key "Path") is the data directory of this start and has no setter.
#include "core/SettingsFile.h"
#include "core/SettingsPaths.h"

#include <QString>

// Every setting in load order: type, key in the settings file, getter, setter, default.
// Defaults may use `m_dataPath`.
#define DAYLOOM_SETTINGS(X)                                                                        \
    X(Str, LayerPath, layerPath, setLayerPath, m_dataPath + QStringLiteral("My Layers/"))          \
    X(Bool, Autostart, autostart, setAutostart, false)                                             \
    X(Bool, UseTrayIcon, useTrayIcon, setUseTrayIcon, true)                                        \
    X(Bool, AlarmSoundOn, alarmSoundOn, setAlarmSoundOn, true)                                     \
    X(Str, AlarmSound, alarmSound, setAlarmSound, m_dataPath + QStringLiteral("Alarm.wav"))        \
    X(Int, StartOfWeek, startOfWeek, setStartOfWeek, 0)                                            \
    X(Bool, WeeksOn, weeksOn, setWeeksOn, false)                                                   \
    X(Int, DateFormat, dateFormat, setDateFormat, 0)                                               \
    X(Int, DateSeparator, dateSeparator, setDateSeparator, 0)                                      \
    X(Int, TimeFormat, timeFormat, setTimeFormat, 0)                                               \
    X(Int, TimeSeparator, timeSeparator, setTimeSeparator, 0)                                      \
    X(Int, View, startView, setStartView, 0)                                                       \
    X(Int, Time, startHour, setStartHour, 8)                                                       \
    X(Int, TimeScale, timeScale, setTimeScale, 3)                                                  \
    X(Bool, ShowNavigator, showNavigator, setShowNavigator, true)                                  \
    X(Int, PrintWidth, printWidth, setPrintWidth, 5)                                               \
    X(Int, PrintHeight, printHeight, setPrintHeight, 5)                                            \
    X(Int, PrintFontSize, printFontSize, setPrintFontSize, 4)                                      \
    X(Int, PrintColor, printColor, setPrintColor, 0)                                               \
    X(Bool, PrintHeading, printHeading, setPrintHeading, true)                                     \
    X(Int, StartPrintingTime, printStartTime, setPrintStartTime, 0)                                \
    X(Int, StopPrintingTime, printStopTime, setPrintStopTime, 0)                                   \
    X(Str, Orientation, printOrientations, setPrintOrientations,                                   \
      QStringLiteral("11000000000000000000"))                                                      \
    X(Bool, ShowAlarmDW, showAlarmDayWeek, setShowAlarmDayWeek, true)                              \
    X(Bool, ShowAlarmMonth, showAlarmMonth, setShowAlarmMonth, true)                               \
    X(Bool, ShowAlarmYear, showAlarmYear, setShowAlarmYear, true)                                  \
    X(Bool, ShowAlarmTasks, showAlarmTasks, setShowAlarmTasks, true)                               \
    X(Bool, ShowStartDW, showStartDayWeek, setShowStartDayWeek, true)                              \
    X(Bool, ShowEndDW, showEndDayWeek, setShowEndDayWeek, false)                                   \
    X(Bool, ShowStartMonth, showStartMonth, setShowStartMonth, true)                               \
    X(Bool, ShowEndMonth, showEndMonth, setShowEndMonth, false)                                    \
    X(Bool, ShowStartYear, showStartYear, setShowStartYear, true)                                  \
    X(Bool, ShowEndYear, showEndYear, setShowEndYear, false)                                       \
    X(Str, TasksIndexName, tasksIndexName, setTasksIndexName, QStringLiteral("S+P+F+"))            \
    X(Bool, Priority, showPriority, setShowPriority, true)                                         \
    X(Bool, Finished, showFinished, setShowFinished, true)                                         \
    X(Str, TasksCol, tasksColumns, setTasksColumns, QStringLiteral("210"))                         \
    X(Bool, FirstTime, firstTime, setFirstTime, false)

class Settings
{
public:
    using Str = QString;
    using Int = int;
    using Bool = bool;

    static constexpr const char *Section = "DayloomLE";
    static constexpr int ValueCount = 39;

    explicit Settings(SettingsPaths where);

    const QString &dataPath() const { return m_dataPath; }

#define DAYLOOM_DECLARE(type, key, getter, setter, def)                                            \
    const type &getter() const                                                                     \
    {                                                                                              \
        return m_##getter;                                                                         \
    }                                                                                              \
    void setter(const type &v);
    DAYLOOM_SETTINGS(DAYLOOM_DECLARE)
#undef DAYLOOM_DECLARE

    // True once any write of the settings file or the autostart entry has failed; the
    // in-memory values stay in effect.
    bool writeFailed() const
    {
        return m_writeFailed;
    }
    const SettingsPaths &locations() const
    {
        return m_where;
    }

    // Writes (on) or removes (off) the autostart entry for the program path. False on failure.
    bool applyAutostart(bool on);
    // Whether the last write or removal of the autostart entry (at load or by setAutostart)
    // succeeded.
    bool autostartApplied() const
    {
        return m_autostartApplied;
    }
    // The desktop entry text that starts `programPath` with the single argument "auto".
    static QString autostartEntryText(const QString &programPath);

private:
    void writeText(const char *name, const QString &text);
    // Side effects of a setter beyond writing its value (the autostart entry).
    void afterSet(const char *name);
    QString readOrDefault(const char *name, const QString &def);
    int readOrDefault(const char *name, int def);
    bool readOrDefault(const char *name, bool def);

    SettingsPaths m_where;
    SettingsFile m_file;
    bool m_writeFailed = false;
    bool m_autostartApplied = true;
    QString m_dataPath;
#define DAYLOOM_MEMBER(type, key, getter, setter, def) type m_##getter{};
    DAYLOOM_SETTINGS(DAYLOOM_MEMBER)
#undef DAYLOOM_MEMBER
};
