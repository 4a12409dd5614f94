#pragma once
// The tasks grid's model over the tasks store and the layers store.
#include "views/TasksGridModel.h"

class LayersStore;
class TasksStore;

class TasksStoreGridModel : public TasksGridModel
{
public:
    // Both stores must outlive the model.
    TasksStoreGridModel(TasksStore &tasks, const LayersStore &layers)
        : m_tasks(tasks), m_layers(layers)
    {
    }

    int visibleCount() const override;
    std::optional<TaskRow> visibleTask(int row) const override;
    void rebuildRows() override;
    QColor layerColor(int layerId) const override;
    bool writeTask(const TaskRow &task) override;
    bool moveTask(int from, int to) override;
    // A read-only calendar: writeTask() and moveTask() refuse.
    void setReadOnly(bool on) { m_readOnly = on; }

private:
    TasksStore &m_tasks;
    const LayersStore &m_layers;
    bool m_readOnly = false;
};
