// Deleting tasks with undo, restoring deleted and moved tasks, and the task lines of layer
// files.
#include "store/TasksStore.h"

#include "store/LayersStore.h"
#include "store/UndoLog.h"

#include <QSet>

int TasksStore::layerOrFirst(int layerID)
{
    if (m_layers.exists(layerID)) return layerID;
    const Table::Bookmark at = m_layers.CDS.bookmark();
    const int first = m_layers.gotoPosition(1) ? m_layers.currentId() : 0;
    m_layers.CDS.gotoBookmark(at);
    return first;
}

StoreResult TasksStore::deleteWithUndo(const QList<int> &ids)
{
    const Table::Bookmark here = CDS.bookmark();
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
        if (!locateID(id)) continue;
        found.append(id);
        parents.append(currentParentId());
        lines.append(taskLine());
        order += children.value(id);
    }
    m_undoError.clear();
    if (!UndoLog::write(m_dataDir, UndoLog::Section::DeletedTasks, lines, &m_undoError)) {
        CDS.gotoBookmark(here);
        return StoreResult::failure(m_undoError);
    }
    StoreResult result;
    for (int id : found)
        if (locateID(id) && CDS.deleteRow().applied) {
            refreshAlarm(id);
            ++result.count;
        }
    for (int parent : parents)
        if (!seen.contains(parent)) clearParentIfChildless(parent);
    if (!CDS.gotoBookmark(here)) CDS.first();
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
        else if (keepOutsideParents && locateID(*old))
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
        } else if (outsideParent[i] != -1 && locateID(outsideParent[i])) {
            level[i] = currentLevel() + 1;
            layer[i] = currentLayer();
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
        const TableResult r = CDS.insertRow(
            {QVariant(), outsideParent[i], level[i], hasChild, hasChild && t.open, layer[i],
             t.alarmSet, t.alarmTime ? QVariant(*t.alarmTime) : QVariant(), t.subject,
             t.description, t.priority ? QVariant(*t.priority) : QVariant(), t.finished,
             QVariant()});
        if (!r.applied) continue;
        newID[i] = currentId();
        ++inserted;
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (newID[i] == -1) continue;
        if (parentIdx[i] != -1 && newID[parentIdx[i]] != -1)
            setFields(newID[i], {{F_ParentID, newID[parentIdx[i]]}});
        else if (outsideParent[i] != -1)
            setFields(outsideParent[i], {{F_Children, true}, {F_Open, true}});
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
        content->tasks, [this](int layer) { return layerOrFirst(layer); }, true);
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
    if (!locateID(id)) return StoreResult::failure(QStringLiteral("The moved task is gone."));
    const int current = currentParentId();

    int parent = -1, level = 1, parentLayer = 0;
    if (former != -1 && !isDescendantOrSelf(former, id) && locateID(former)) {
        parent = former;
        level = currentLevel() + 1;
        parentLayer = currentLayer();
        setFields(former, {{F_Children, true}, {F_Open, true}});
    }
    setFields(id, {{F_ParentID, parent}, {F_Level, level}});
    renumberSubtreeLevels(id);
    if (parent != -1 && locateID(id) && currentLayer() != parentLayer) setTreeLayer(id, parentLayer);
    if (current != parent) clearParentIfChildless(current);
    locateID(id);
    StoreResult result;
    result.count = 1;
    return result;
}

int TasksStore::importTasks(const QList<RecordLines::TaskLine> &lines,
                         const QHash<int, int> &layerMap)
{
    return insertTaskLines(
        lines, [&](int number) { return layerOrFirst(layerMap.value(number, 0)); }, false);
}

QStringList TasksStore::layerFileTaskLines(const QHash<int, int> &layerNumbers,
                                        QHash<int, int> *counts)
{
    const Table::Bookmark here = CDS.bookmark();
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
            CDS.setRecNo(item.node.recNo);
            // The first three values are rewritten: file IDs and the level in the file.
            const QString line = taskLine(layerNumbers.value(item.node.layer));
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
    CDS.gotoBookmark(here);
    return out;
}
