#pragma once
// What the tasks grid needs from the task data: the visible rows in tree order, the layer
// colour of a task, and the few field changes a click on a row makes.
#include "store/TaskRow.h"

#include <QColor>
#include <optional>

class TasksGridModel
{
public:
    virtual ~TasksGridModel() = default;
    // Number of visible rows (tasks of closed parents and hidden layers left out).
    virtual int visibleCount() const = 0;
    // The task at visible row `row`; nullopt outside 0..visibleCount() - 1.
    virtual std::optional<TaskRow> visibleTask(int row) const = 0;
    // Fills the visible rows again from the data.
    virtual void rebuildRows() = 0;
    // The colour of layer `layerId`; white for a layer that does not exist.
    virtual QColor layerColor(int layerId) const = 0;
    // Writes the task back (its id says which); false when it no longer exists.
    virtual bool writeTask(const TaskRow &task) = 0;
    // Moves the task of visible row `from` under the task of row `to` (to at or past the end:
    // to the top level); false, nothing changed, when the tree refuses it.
    virtual bool moveTask(int from, int to) = 0;
};
