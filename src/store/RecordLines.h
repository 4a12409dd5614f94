#pragma once
// The event and task lines of the undo log and the layer files.
//
// Event line: 23 values joined by ";" (no ";" at the end): Layer;startTime;endTime;AllDay;
// alarmSet;alarmAdvance;alarmAdvanceUnit;'subject';'description';recurrent; the ten rule
// integers and Weekdays as stored (RecurrenceColumns::IntegerFields, WeekdaysField);
// ExceptionList;Updates. A null integer or date-time is empty text; booleans are "True"/"False".
//
// Task line: 13 values: -id;-parentId (-1 for a top-level task);Level;Children;Open;Layer;
// alarmSet;alarmTime;'subject';'description';Priority;Finished;Updates.
//
// Parsers check the whole line: the value count, every integer, date-time and quoted text.
#include "core/DateTimeValue.h"

#include <QString>
#include <QStringView>
#include <QVariant>

#include <optional>

namespace RecordLines
{

inline constexpr const char *EventHeader =
    "LAYER;STARTTIME;ENDTIME;ALLDAY;ALARMSET;ALARMADVTIME;ALARMADVUNIT;SUBJECT;DESCRIPTION;"
    "RECURRENT;RADIOBUTTON1;RADIOBUTTON2;RADIOBUTTON3;EDIT1;EDIT2;EDIT3;COMBOBOX1;COMBOBOX2;"
    "COMBOBOX3;COMBOBOX4;WEEKDAYS;EXCEPTIONLIST;UPDATES";
inline constexpr const char *TaskHeader = "ID;PARENTID;LEVEL;CHILDREN;OPEN;LAYER;ALARMSET;"
                                          "ALARMTIME;SUBJECT;DESCRIPTION;PRIORITY;FINISHED;"
                                          "UPDATES";
inline constexpr int EventValueCount = 23;
inline constexpr int TaskValueCount = 13;

// Raw values (Weekdays, ExceptionList, Updates) lose ";", CR and LF, which would split the
// line; the program never stores those characters there.
QString rawValueText(QStringView raw);

// The event line of a row given in the events table's field order (id first, 24 values);
// `layerValue` goes into the Layer column (the layer id, or a layer file's layer number).
QString eventLine(const QVariantList &row, int layerValue);

// The values of an event line in the events table's field order (id null). The Layer column
// holds the line's layer value as written. When recurrent is not "True" every rule field and
// ExceptionList are null; Updates is never read back and is null. nullopt when the line is
// not an event line.
std::optional<QVariantList> parseEventLine(QStringView line);

struct TaskLine {
    int fileId = 0;        // the id as written (negative)
    int fileParentId = -1; // the parent as written (negative; -1 also for a top-level task)
    int level = 1;
    bool children = false;
    bool open = false;
    int layer = 0; // as written: layer id or layer file layer number
    bool alarmSet = false;
    std::optional<SerialDateTime> alarmTime;
    QString subject;
    QString description;
    std::optional<int> priority;
    bool finished = false;

    int oldID() const { return -fileId; }
    // The old id of the parent; nullopt for a top-level task. "-1" names a top-level task and
    // also a child of task 1: the level tells them apart (a top-level task has level 1).
    std::optional<int> oldParentID() const
    {
        if (fileParentId == -1 && level <= 1) return std::nullopt;
        return -fileParentId;
    }
};

// nullopt when the line is not a task line, or its id or parent is not negative.
std::optional<TaskLine> parseTaskLine(QStringView line);

} // namespace RecordLines
