#pragma once
// The command line the main program starts the reminder program with:
//   <data folder> [--missed <after> <up to>]
// The times are file date-time texts; alarms due after <after> and at or before <up to> fell
// due while no program was running and are shown as missed.
#include "core/DateTimeValue.h"

#include <QString>
#include <QStringList>

#include <optional>

struct MissedWindow {
    SerialDateTime after = 0; // exclusive
    SerialDateTime upTo = 0;  // inclusive
    // Compared to the second, as the files keep times.
    bool contains(SerialDateTime alarmTime) const;
};

struct ReminderArguments {
    QString dataDir; // as given; empty when none was given
    std::optional<MissedWindow> missed;

    QStringList toList() const;
    // The arguments after the program name. Unknown or malformed options are ignored.
    static ReminderArguments fromList(const QStringList &arguments);
};
