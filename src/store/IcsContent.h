#pragma once
// What a calendar file (.ics) holds, read and checked, before anything reaches the stores.
#include "core/DateTimeValue.h"
#include "store/EventRow.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A to-do of the file. `uid` and `parentUid` tie the tree together; an empty parentUid (or one
// that names no to-do of the file) makes a top-level task.
struct IcsTask {
    QString uid;
    QString parentUid;
    QString subject;
    QString description;
    int priority = 1; // 0 low, 1 normal, 2 high
    bool finished = false;
    std::optional<SerialDateTime> alarm; // DUE, when it is still ahead
};

struct IcsContent {
    QString calendarName;    // X-WR-CALNAME; empty when the file names none
    QList<EventRow> events;  // every field but Id and Layer set
    int recurringEvents = 0; // events among them that keep a rule of ours
    int expandedRules = 0;   // rules listed as one-time events instead
    QList<IcsTask> tasks;    // parents before or after children, as in the file
    QStringList skipped;     // one line per kind of thing left out: "why (count)"
};
