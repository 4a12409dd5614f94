#pragma once
// One pending alarm as the alarm lists and "alarm.dat" carry it.
#include "core/DateTimeValue.h"

#include <QString>

#include <optional>

struct TAlarm_Rec {
    int ID = -1; // event (or task) ID; -1 for a snoozed reminder tied to no event
    // Start and end of the occurrence the alarm belongs to; nullopt for a task, which has
    // neither (its line carries empty values there).
    std::optional<TDateTime> StartTime;
    std::optional<TDateTime> EndTime;
    TDateTime AlarmTime = 0;
    // Held in quoted file text ('It''s'), as the files carry them.
    QString Subject = QStringLiteral("''");
    QString Description = QStringLiteral("''");
    QString LayerName = QStringLiteral("''");
    int ColorNr = 0; // the layer's colour number; 0 when the layer was not found

    bool operator==(const TAlarm_Rec &) const = default;
};
