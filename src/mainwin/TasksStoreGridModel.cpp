#include "mainwin/TasksStoreGridModel.h"

#include "core/LayerPalette.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"

int TasksStoreGridModel::visibleCount() const
{
    return int(m_tasks.rowList().size());
}

std::optional<TaskRow> TasksStoreGridModel::visibleTask(int row) const
{
    return m_tasks.listTask(row);
}

void TasksStoreGridModel::rebuildRows()
{
    m_tasks.buildRowList();
}

QColor TasksStoreGridModel::layerColor(int layerId) const
{
    return LayerPalette::layerColor(m_layers.layerColor(layerId));
}

bool TasksStoreGridModel::writeTask(const TaskRow &task)
{
    if (m_readOnly) return false;
    return m_tasks.updateTask(task).applied;
}

bool TasksStoreGridModel::moveTask(int from, int to)
{
    if (m_readOnly) return false;
    return m_tasks.moveInTree(from, to);
}
