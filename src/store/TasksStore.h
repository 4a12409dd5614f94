#pragma once
// The tasks store: the task tree in "Tasks.cds", its visible rows, sibling orders, moves within
// the tree and between layers, and the pending task alarms.
//
// Tasks are read and changed by id, or by their 0-based position in the row list; no function
// moves the table's cursor as far as a caller can tell.
#include "store/AlarmRules.h"
#include "store/InsertResult.h"
#include "store/RecordLines.h"
#include "store/StoreResult.h"
#include "store/Table.h"
#include "store/TableWrites.h"
#include "store/TaskRow.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class LayersStore;

// What undoing a move in the tree needs: the moved task and its former parent (-1: it was a
// top-level task).
struct MovedTask {
    int id = -1;
    int oldParentId = -1;
    bool operator==(const MovedTask &) const = default;
};

class TasksStore
{
public:
    static constexpr const char *FileName = "Tasks.cds";
    static constexpr const char *DefaultIndexName = "S+P+F+";
    static TableSchema schema();
    // The 48 index names ("S+P+F+", "S+P+F-", ...), each the fields parentId and then the keys.
    static QStringList indexNames();
    // The index after a click on key 'S', 'P' or 'F': the first pair's sign flips when the key
    // leads; otherwise the key's pair moves to the front unchanged. A name that is not one of
    // the 48 starts from "S+P+F+"; an unknown key returns `current` unchanged.
    static QString sortedIndexName(const QString &current, QChar key);

    // Loads `dataDir` + "Tasks.cds" (dataDir ends with "/") with the index "S+P+F+" and fills
    // the pending task alarms. The layers give alarm lines their layer name and colour.
    TasksStore(const QString &dataDir, LayersStore &layers, const Clock &clock);
    // Saves the table into the data directory.
    ~TasksStore();
    TasksStore(const TasksStore &) = delete;
    TasksStore &operator=(const TasksStore &) = delete;

    const TableLoadResult &loadResult() const { return m_load; }
    const QString &dataDir() const { return m_dataDir; }

    // ---- reading ------------------------------------------------------------------------
    int count() const { return m_table.recordCount(); }
    // The task with this id; nullopt when there is none.
    std::optional<TaskRow> task(int id) const;
    // The task at this position of the row list; nullopt outside the list.
    std::optional<TaskRow> listTask(int position) const;
    // Calls `visit` for every task in the active index order (filters not applied). `visit`
    // must not change the store.
    void forEachTask(const std::function<void(const TaskRow &)> &visit) const;

    // ---- changes ------------------------------------------------------------------------
    // Inserts a task (the table assigns its id); an alarm before the coming midnight joins the
    // pending task alarms.
    InsertResult insertTask(int parentID, int level, int layer, const QString &subject,
                            int priority = 0, bool finished = false, bool alarmSet = false,
                            SerialDateTime alarmTime = 0, const QString &description = {});
    // Writes every field of `task` but the id to the task with id task.id (alarmTime is
    // written only with alarmSet). applied false when there is no such task. The pending
    // alarm follows.
    TableResult updateTask(const TaskRow &task);
    // Deletes one task (not its subtree) and its pending alarm. applied false when there is
    // no such task.
    TableResult deleteTask(int id);

    // ---- index and filters --------------------------------------------------------------
    // False (index unchanged) for a name that is not one of the 48.
    [[nodiscard]] bool setIndexName(const QString &name) { return m_table.setActiveIndex(name); }
    QString indexName() const { return m_table.activeIndex(); }
    // Applies sortedIndexName() to the active index; returns the new name.
    QString sortByKey(QChar key);
    // The shown-layers filter text of the layers store. False, keeping the previous filter,
    // when the text does not parse.
    [[nodiscard]] bool setFilterText(const QString &text) { return m_table.setFilterText(text); }
    QString filterText() const { return m_table.filterText(); }

    // ---- visible tree -------------------------------------------------------------------
    // Fills the row list: the pre-order of the tree in index order, with the descendants of
    // closed tasks and the tasks of hidden layers left out.
    void buildRowList();
    // The row list: 1-based row numbers in the active index (see listTask()).
    const QList<int> &rowList() const { return m_rows; }

    // ---- tree changes -------------------------------------------------------------------
    // Drag of the task at row-list position `from` onto the task at position `to`: it becomes
    // that task's child (the target gets Children and Open); `to` at or past the end of the
    // list makes it top-level. Refused (false, nothing changes) when `from` is outside the
    // list, `to` is negative or equal to `from`, the tasks are of different layers, the
    // target is the task itself or one of its descendants, or "undo.dat" cannot be written
    // (undoError() says why). Before the move "undo.dat" gets "MOVED TASKS" with the task
    // and its former parent. On a move the subtree's levels are renumbered, the old parent
    // loses Children and Open when it has no child left, and the move hook gets the undo
    // record. The row list is not rebuilt.
    [[nodiscard]] bool moveInTree(int from, int to);
    // Why the last move or delete could not write "undo.dat"; empty when it could.
    const QString &undoError() const { return m_undoError; }
    // Called after every move with what undoing it needs.
    void setMovedTaskHook(std::function<void(const MovedTask &)> hook)
    {
        m_movedHook = std::move(hook);
    }
    // Every listed task whose layer differs moves, with its whole tree from the top-level
    // task down, to `layerID`; true when any moved.
    [[nodiscard]] bool moveTasksToLayer(const QList<int> &ids, int layerID);
    // Sets the levels below task `id`: each child one deeper than its parent, breadth-first.
    void renumberSubtreeLevels(int id);
    // When no task has `id` as parent, clears that task's Children and Open.
    void clearParentIfChildless(int id);
    // id of the top-level task above `id` (`id` itself when top-level); -1 when `id` does not
    // exist. A broken parent chain (cycle, missing parent) ends at the last task reached.
    int topLevelTaskOf(int id) const;

    // ---- undo log and imports ------------------------------------------------------------
    // Deletes the listed tasks with their whole subtrees, writing them first into "undo.dat"
    // as "DELETED TASKS" (parents before children). When the file cannot be written nothing
    // is deleted and the result carries the error. A surviving former parent without a child
    // left loses Children and Open. count: tasks deleted.
    StoreResult deleteWithUndo(const QList<int> &ids);
    // Inserts the tasks of a "DELETED TASKS" undo file as new rows with the tree shape they
    // had: children under their restored parents, a restored subtree under its former parent
    // when that still exists, else top-level (parentId -1, level 1). Levels are renumbered,
    // parents get Children and Open, a task whose layer is gone goes to the layer at position
    // 1 and a subtree takes its parent's layer. A missing, other or damaged file changes
    // nothing. count: tasks restored.
    StoreResult restoreDeletedTasks();
    // Puts the task of a "MOVED TASKS" undo file back under its former parent (its levels
    // renumbered, the parent it leaves losing Children and Open when childless). A former
    // parent that no longer exists, or that is now the task itself or below it, makes it a
    // top-level task. Fails (nothing changes) when the file is missing, of another section,
    // damaged, or the task is gone.
    StoreResult restoreMovedTask();
    // Inserts parsed task lines of a layer file: layers through `layerMap` (file number ->
    // layer id; unknown: the layer at position 1), each task under the task of the file that
    // was its parent; a task whose parent is not in the file becomes top-level. Returns how
    // many were inserted; `newIDs` (when given) receives their new IDs.
    int importTasks(const QList<RecordLines::TaskLine> &lines, const QHash<int, int> &layerMap,
                    QList<int> *newIDs = nullptr);
    // The tasks of these layers as task lines of a layer file: tree pre-order (siblings in
    // the active index order), IDs renumbered 1, 2, ... in that order, layers as
    // `layerNumbers` gives them. A task whose parent is missing is written as top-level.
    // `counts` receives the number of tasks per layer id.
    QStringList layerFileTaskLines(const QHash<int, int> &layerNumbers,
                                   QHash<int, int> *counts = nullptr) const;

    // Deletes every task of these layers with its pending alarm, in one write. count: tasks
    // deleted. Not ok, with the error, when the write failed (the tasks are gone from memory
    // all the same and the table retries the write).
    StoreResult deleteTasksOfLayers(const QList<int> &layerIds);

    // ---- counts and lines ---------------------------------------------------------------
    int countTasksOfLayer(int layerID) const;
    // The task as a task line of the undo and layer files: -id;-parentId (or -1 when
    // top-level);Level;Children;Open;Layer;alarmSet;alarmTime;'subject';'description';
    // Priority;Finished;Updates (no ";" at the end). `layerNumber` replaces the layer id.
    // Empty when there is no such task.
    QString taskLine(int id, std::optional<int> layerNumber = std::nullopt) const;

    // ---- alarms -------------------------------------------------------------------------
    // Refills the pending task alarms: every task with alarmSet whose alarmTime is before the
    // coming midnight.
    void rebuildAlarms();
    // Refreshes the alarm of one task after it was saved or deleted.
    void refreshAlarm(int id);
    // Appends a line for every due task alarm to "alarm.dat", then clears those tasks'
    // alarmSet. A due alarm of a task that no longer exists is dropped without a line. When
    // the file cannot be written nothing changes.
    AlarmRules::DueWriteResult writeDueAlarms();
    const PendingTaskAlarms &pendingAlarms() const { return m_alarms; }

    // ---- saving -------------------------------------------------------------------------
    // Called after every post. Empty function: none.
    void setAfterPostHook(std::function<void()> hook) { m_afterPostHook = std::move(hook); }
    TableResult saveTo(const QString &dir);
    TableResult save() { return saveTo(m_dataDir); }
    // A consistent copy of the table file at `path` (see Table::backupTo).
    TableResult backupTo(const QString &path) { return m_table.backupTo(path); }
    // The table file's write state (see TableWrites).
    TableWrites writes() { return TableWrites(m_table); }
    // Bulk changes: see Table::beginBulk. endBulk() returns the one write's outcome.
    void beginBulk() { m_table.beginBulk(); }
    TableResult endBulk() { return m_table.inBulk() ? m_table.endBulk() : TableResult{}; }

private:
    struct TreeNode {
        int id;
        int parentID;
        int layer;
        int recNo;
        bool open;
    };
    // Every task in index order (filters not applied).
    QList<TreeNode> allNodes() const;
    // Children IDs per parent id, in index order.
    QHash<int, QList<int>> childMap() const;
    // Edits the task and posts. A write that fails stays in memory and is retried by the
    // table's next write or save, which report it; applied false when there is no such task.
    TableResult setFields(int id, std::initializer_list<std::pair<TaskField, QVariant>> values);
    bool isDescendantOrSelf(int candidate, int ancestor) const;
    void setTreeLayer(int anyTaskID, int layerID);
    bool locate(int id) { return m_table.locate(int(TaskField::Id), id); }
    TaskRow rowInSlot(int slot) const;
    QString taskLineOfSlot(int slot, std::optional<int> layerNumber) const;
    // Inserts task lines as new rows; `outsideParent(oldID)` says whether a parent that is
    // not among the lines still exists as that id.
    int insertTaskLines(const QList<RecordLines::TaskLine> &lines,
                        const std::function<int(int fileLayer)> &layerOf, bool keepOutsideParents,
                        QList<int> *newIDs = nullptr);

    Table m_table;
    QString m_dataDir;
    LayersStore &m_layers;
    const Clock &m_clock;
    TableLoadResult m_load;
    QList<int> m_rows;
    PendingTaskAlarms m_alarms;
    std::function<void(const MovedTask &)> m_movedHook;
    QString m_undoError;
    std::function<void()> m_afterPostHook;
};
