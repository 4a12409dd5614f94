#pragma once
// One row of the tasks table.
#include "core/DateTimeValue.h"

#include <QString>

// Fields of the tasks table, in schema order.
enum class TaskField {
    Id,
    ParentId,
    Level,
    HasChildren,
    Open,
    Layer,
    AlarmSet,
    AlarmTime,
    Subject,
    Description,
    Priority,
    Finished,
    Updates
};

struct TaskRow {
    int id = -1;
    int parentId = -1; // -1: a top-level task
    int level = 1;     // 1 for a top-level task, one more per parent
    bool hasChildren = false;
    bool open = false; // children shown in the row list
    int layer = 0;
    bool alarmSet = false;
    SerialDateTime alarmTime = 0;
    QString subject;
    QString description;
    int priority = 0;
    bool finished = false;
    bool operator==(const TaskRow &) const = default;
};
