// Deleting tasks with undo, restoring deleted and moved tasks, and the task lines of layer
// files.
#include "store/TasksStore.h"

#include "store/LayersStore.h"
#include "store/UndoLog.h"

#include <QSet>

StoreResult TasksStore::deleteWithUndo(const QList<int> &ids)
{
    const QHash<int, QList<int>> children = childMap();
    QList<int> order = ids; // grows while it is walked: whole subtrees, parents first
    QList<int> found;
    QSet<int> seen;
    QStringList lines;
    QList<int> parents;
    for (qsizetype i = 0; i < order.size(); ++i) {
        const int id = order[i];
        if (seen.contains(id)) continue;
        seen.insert(id);
        const auto t = task(id);
        if (!t) continue;
        found.append(id);
        parents.append(t->parentId);
        lines.append(taskLine(id));
        order += children.value(id);
    }
    m_undoError.clear();
    if (!UndoLog::write(m_dataDir, UndoLog::Section::DeletedTasks, lines, &m_undoError))
        return StoreResult::failure(m_undoError);
    StoreResult result;
    for (int id : found) {
        const TableResult r = deleteTask(id);
        if (r.applied) ++result.count;
        if (!r.ok() && result.ok) {
            result.ok = false;
            result.error = r.error;
        }
    }
    for (int parent : parents)
        if (!seen.contains(parent)) clearParentIfChildless(parent);
    return result;
}

int TasksStore::insertTaskLines(const QList<RecordLines::TaskLine> &lines,
                             const std::function<int(int fileLayer)> &layerOf,
                             bool keepOutsideParents)
{
    const qsizetype n = lines.size();
    QHash<int, qsizetype> indexOfOld;
    for (qsizetype i = 0; i < n; ++i)
        if (!indexOfOld.contains(lines[i].oldID())) indexOfOld.insert(lines[i].oldID(), i);

    // Parents among the lines, or outside them (existing tasks, only when kept).
    std::vector<qsizetype> parentIdx(n, -1);
    std::vector<int> outsideParent(n, -1);
    for (qsizetype i = 0; i < n; ++i) {
        const auto old = lines[i].oldParentID();
        if (!old) continue;
        if (const auto it = indexOfOld.constFind(*old); it != indexOfOld.constEnd())
            parentIdx[i] = *it;
        else if (keepOutsideParents && task(*old))
            outsideParent[i] = *old;
    }
    // A parent chain that loops (a hand-made file) is cut where it closes.
    std::vector<char> state(n, 0);
    for (qsizetype i = 0; i < n; ++i) {
        std::vector<qsizetype> path;
        qsizetype j = i;
        while (j != -1 && state[j] == 0) {
            state[j] = 1;
            path.push_back(j);
            j = parentIdx[j];
        }
        if (j != -1 && state[j] == 1) parentIdx[j] = -1;
        for (qsizetype p : path)
            state[p] = 2;
    }

    // Levels and layers from each root down: a tree shares its root's layer.
    std::vector<std::vector<qsizetype>> kids(n);
    std::vector<qsizetype> queue;
    for (qsizetype i = 0; i < n; ++i)
        (parentIdx[i] == -1 ? queue : kids[parentIdx[i]]).push_back(i);
    std::vector<int> level(n, 1), layer(n, 0);
    for (qsizetype q = 0; q < qsizetype(queue.size()); ++q) {
        const qsizetype i = queue[q];
        if (parentIdx[i] != -1) {
            level[i] = level[parentIdx[i]] + 1;
            layer[i] = layer[parentIdx[i]];
        } else if (const auto parent = outsideParent[i] != -1 ? task(outsideParent[i]) : std::nullopt) {
            level[i] = parent->level + 1;
            layer[i] = parent->layer;
        } else {
            layer[i] = layerOf(lines[i].layer);
        }
        for (qsizetype k : kids[i])
            queue.push_back(k);
    }

    std::vector<int> newID(n, -1);
    int inserted = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const RecordLines::TaskLine &t = lines[i];
        const bool hasChild = !kids[i].empty();
        const int id = m_table.nextAutoIncValue();
        const TableResult r = m_table.insertRow(
            {QVariant(), outsideParent[i], level[i], hasChild, hasChild && t.open, layer[i],
             t.alarmSet, t.alarmTime ? QVariant(*t.alarmTime) : QVariant(), t.subject,
             t.description, t.priority ? QVariant(*t.priority) : QVariant(), t.finished,
             QVariant()});
        if (!r.applied) continue;
        newID[i] = id;
        ++inserted;
    }
    // A failed write below stays in memory and is retried by the table's next write or save,
    // which report it.
    for (qsizetype i = 0; i < n; ++i) {
        if (newID[i] == -1) continue;
        if (parentIdx[i] != -1 && newID[parentIdx[i]] != -1)
            (void)setFields(newID[i], {{TaskField::ParentId, newID[parentIdx[i]]}});
        else if (outsideParent[i] != -1)
            (void)setFields(outsideParent[i], {{TaskField::HasChildren, true}, {TaskField::Open, true}});
        refreshAlarm(newID[i]);
    }
    return inserted;
}

StoreResult TasksStore::restoreDeletedTasks()
{
    QString error;
    const auto content = UndoLog::read(m_dataDir, &error);
    if (!content) return StoreResult::failure(error);
    if (content->section != UndoLog::Section::DeletedTasks)
        return StoreResult::failure(QStringLiteral("The undo file holds no deleted tasks."));
    StoreResult result;
    result.count = insertTaskLines(
        content->tasks, [this](int layer) { return m_layers.layerOrFirst(layer); }, true);
    return result;
}

StoreResult TasksStore::restoreMovedTask()
{
    QString error;
    const auto content = UndoLog::read(m_dataDir, &error);
    if (!content) return StoreResult::failure(error);
    if (content->section != UndoLog::Section::MovedTasks || !content->movedTask)
        return StoreResult::failure(QStringLiteral("The undo file holds no moved task."));
    const int id = content->movedTask->id;
    const int former = content->movedTask->oldParentId;
    const auto moved = task(id);
    if (!moved) return StoreResult::failure(QStringLiteral("The moved task is gone."));
    const int current = moved->parentId;

    StoreResult result;
    const auto note = [&result](const TableResult &r) {
        if (!r.ok() && result.ok) {
            result.ok = false;
            result.error = r.error;
        }
    };
    int parent = -1, level = 1, parentLayer = 0;
    if (const auto formerTask = former != -1 && !isDescendantOrSelf(former, id) ? task(former)
                                                                                : std::nullopt) {
        parent = former;
        level = formerTask->level + 1;
        parentLayer = formerTask->layer;
        note(setFields(former, {{TaskField::HasChildren, true}, {TaskField::Open, true}}));
    }
    note(setFields(id, {{TaskField::ParentId, parent}, {TaskField::Level, level}}));
    renumberSubtreeLevels(id);
    if (parent != -1 && task(id) && task(id)->layer != parentLayer) setTreeLayer(id, parentLayer);
    if (current != parent) clearParentIfChildless(current);
    result.count = 1;
    return result;
}

int TasksStore::importTasks(const QList<RecordLines::TaskLine> &lines,
                         const QHash<int, int> &layerMap)
{
    return insertTaskLines(
        lines, [&](int number) { return m_layers.layerOrFirst(layerMap.value(number, 0)); }, false);
}

QStringList TasksStore::layerFileTaskLines(const QHash<int, int> &layerNumbers,
                                        QHash<int, int> *counts) const
{
    QList<TreeNode> nodes;
    for (const TreeNode &node : allNodes())
        if (layerNumbers.contains(node.layer)) nodes.append(node);
    QSet<int> chosen;
    for (const TreeNode &node : nodes)
        chosen.insert(node.id);
    QHash<int, QList<TreeNode>> kids;
    QList<TreeNode> roots;
    for (const TreeNode &node : nodes) {
        if (node.parentID != -1 && chosen.contains(node.parentID) && node.parentID != node.id)
            kids[node.parentID].append(node);
        else
            roots.append(node);
    }

    QStringList out;
    QHash<int, int> fileID; // task id -> number in the file
    QSet<int> seen;
    struct Item {
        TreeNode node;
        int parentFileID; // -1: top-level
        int level;
    };
    const auto visit = [&](const TreeNode &root) {
        std::vector<Item> stack{{root, -1, 1}};
        while (!stack.empty()) {
            const Item item = stack.back();
            stack.pop_back();
            if (seen.contains(item.node.id)) continue;
            seen.insert(item.node.id);
            const int number = int(out.size()) + 1;
            fileID.insert(item.node.id, number);
            // The first three values are rewritten: file IDs and the level in the file.
            const QString line =
                taskLineOfSlot(m_table.slotAt(item.node.recNo), layerNumbers.value(item.node.layer));
            const QString rest = line.section(u';', 3);
            out.append(QStringLiteral("%1;%2;%3;")
                           .arg(-number)
                           .arg(item.parentFileID < 0 ? -1 : -item.parentFileID)
                           .arg(item.level) +
                       rest);
            if (counts) (*counts)[item.node.layer] += 1;
            const QList<TreeNode> children = kids.value(item.node.id);
            for (auto c = children.crbegin(); c != children.crend(); ++c)
                stack.push_back({*c, number, item.level + 1});
        }
    };
    for (const TreeNode &root : roots)
        visit(root);
    // What a loop in the parent chains keeps out of reach is written as top-level.
    for (const TreeNode &node : nodes)
        if (!seen.contains(node.id)) visit(node);
    return out;
}
