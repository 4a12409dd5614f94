#pragma once
// One pending alarm as the alarm lists and "alarm.dat" carry it.
#include "core/DateTimeValue.h"

#include <QString>

#include <optional>

struct AlarmEntry {
    int id = -1; // event (or task) id; -1 for a snoozed reminder tied to no event
    // Start and end of the occurrence the alarm belongs to; nullopt for a task, which has
    // neither (its line carries empty values there).
    std::optional<SerialDateTime> startTime;
    std::optional<SerialDateTime> endTime;
    SerialDateTime alarmTime = 0;
    // Held in quoted file text ('It''s'), as the files carry them.
    QString subject = QStringLiteral("''");
    QString description = QStringLiteral("''");
    QString layerName = QStringLiteral("''");
    int colorNumber = 0; // the layer's colour number; 0 when the layer was not found

    bool operator==(const AlarmEntry &) const = default;
};
