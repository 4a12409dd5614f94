#pragma once
#include "core/DateTimeValue.h"

// Pending task alarm: the task's id and when it rings.
struct TaskAlarmEntry {
    SerialDateTime alarmTime = 0;
    int id = -1;
    bool operator==(const TaskAlarmEntry &) const = default;
};
