#include "store/TasksStore.h"

#include "core/FileText.h"
#include "store/CursorGuard.h"
#include "store/LayersStore.h"
#include "store/UndoLog.h"

#include <QSet>

namespace
{
const char Keys[3] = {'S', 'P', 'F'};

QString boolText(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

constexpr int field(TaskField f)
{
    return int(f);
}

TableResult noSuchTask()
{
    return {false, false, QStringLiteral("The task does not exist.")};
}

// The index of one name: parentId, then each key with its direction. subject "+" ascending,
// Priority "+" descending, Finished "+" ascending.
IndexDef indexOf(const QString &name)
{
    IndexDef def{name, {{QStringLiteral("ParentID")}}};
    for (int i = 0; i < 3; ++i) {
        const QChar key = name[2 * i];
        const bool plus = name[2 * i + 1] == u'+';
        if (key == u'S')
            def.fields.append({QStringLiteral("Subject"), !plus});
        else if (key == u'P')
            def.fields.append({QStringLiteral("Priority"), plus});
        else
            def.fields.append({QStringLiteral("Finished"), !plus});
    }
    return def;
}
} // namespace

TableSchema TasksStore::schema()
{
    TableSchema s;
    s.fields = {{"ID", FieldType::AutoInc},        {"ParentID", FieldType::Integer},
                {"Level", FieldType::Integer},     {"Children", FieldType::Boolean},
                {"Open", FieldType::Boolean},      {"Layer", FieldType::Integer},
                {"AlarmSet", FieldType::Boolean},  {"AlarmTime", FieldType::DateTime},
                {"Subject", FieldType::Text, 256}, {"Description", FieldType::Memo},
                {"Priority", FieldType::Integer},  {"Finished", FieldType::Boolean},
                {"Updates", FieldType::Blob}};
    for (const QString &name : indexNames())
        s.indexes.append(indexOf(name));
    return s;
}

QStringList TasksStore::indexNames()
{
    static const QStringList names = [] {
        QStringList out;
        const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
        for (const auto &o : orders)
            for (int signs = 0; signs < 8; ++signs) {
                QString name;
                for (int i = 0; i < 3; ++i) {
                    name += QChar(Keys[o[i]]);
                    name += QChar((signs >> (2 - i)) & 1 ? '-' : '+');
                }
                out << name;
            }
        return out;
    }();
    return names;
}

QString TasksStore::sortedIndexName(const QString &current, QChar key)
{
    if (key != u'S' && key != u'P' && key != u'F') return current;
    const QString name =
        indexNames().contains(current) ? current : QString::fromLatin1(DefaultIndexName);
    QString pairs[3] = {name.mid(0, 2), name.mid(2, 2), name.mid(4, 2)};
    if (pairs[0][0] == key) {
        pairs[0][1] = pairs[0][1] == u'+' ? u'-' : u'+';
        return pairs[0] + pairs[1] + pairs[2];
    }
    if (pairs[1][0] == key) return pairs[1] + pairs[0] + pairs[2];
    return pairs[2] + pairs[0] + pairs[1];
}

TasksStore::TasksStore(const QString &dataDir, LayersStore &layers, const Clock &clock)
    : m_table(schema()), m_dataDir(dataDir), m_layers(layers), m_clock(clock)
{
    m_table.setClock(&clock);
    // The default index is in the schema, so neither call can fail.
    (void)m_table.setActiveIndex(QString::fromLatin1(DefaultIndexName));
    m_load = m_table.load(m_dataDir + FileName);
    (void)m_table.setActiveIndex(QString::fromLatin1(DefaultIndexName));
    m_table.setAfterPost([this](Table &) {
        if (m_afterPostHook) m_afterPostHook();
    });
    m_table.first();
    rebuildAlarms();
}

TasksStore::~TasksStore()
{
    // Nothing is left to tell at destruction; the window saves (and reports) before it.
    (void)save();
}

TaskRow TasksStore::rowInSlot(int slot) const
{
    const auto integer = [&](TaskField f) { return m_table.column(field(f)).ints[slot]; };
    TaskRow t;
    t.id = integer(TaskField::Id);
    t.parentId = integer(TaskField::ParentId);
    t.level = integer(TaskField::Level);
    t.hasChildren = integer(TaskField::HasChildren) != 0;
    t.open = integer(TaskField::Open) != 0;
    t.layer = integer(TaskField::Layer);
    t.alarmSet = integer(TaskField::AlarmSet) != 0;
    t.alarmTime = m_table.column(field(TaskField::AlarmTime)).reals[slot];
    t.subject = m_table.column(field(TaskField::Subject)).texts[slot];
    t.description = m_table.column(field(TaskField::Description)).texts[slot];
    t.priority = integer(TaskField::Priority);
    t.finished = integer(TaskField::Finished) != 0;
    return t;
}

std::optional<TaskRow> TasksStore::task(int id) const
{
    const int slot = m_table.slotOfId(id);
    if (slot < 0) return std::nullopt;
    return rowInSlot(slot);
}

std::optional<TaskRow> TasksStore::listTask(int position) const
{
    if (position < 0 || position >= m_rows.size()) return std::nullopt;
    const int slot = m_table.slotAt(m_rows[position]);
    if (slot < 0) return std::nullopt;
    return rowInSlot(slot);
}

InsertResult TasksStore::insertTask(int parentID, int level, int layer, const QString &subject,
                                    int priority, bool finished, bool alarmSet,
                                    SerialDateTime alarmTime, const QString &description)
{
    InsertResult r;
    const int id = m_table.nextAutoIncValue();
    r.table = m_table.insertRow({QVariant(), parentID, level, false, false, layer, alarmSet,
                                 alarmSet ? QVariant(alarmTime) : QVariant(), subject, description,
                                 priority, finished, QVariant()});
    if (r.table.applied) {
        r.id = id;
        if (alarmSet) refreshAlarm(id);
    }
    return r;
}

TableResult TasksStore::updateTask(const TaskRow &task)
{
    const TableResult r = setFields(
        task.id, {{TaskField::ParentId, task.parentId},
                  {TaskField::Level, task.level},
                  {TaskField::HasChildren, task.hasChildren},
                  {TaskField::Open, task.open},
                  {TaskField::Layer, task.layer},
                  {TaskField::AlarmSet, task.alarmSet},
                  {TaskField::AlarmTime, task.alarmSet ? QVariant(task.alarmTime) : QVariant()},
                  {TaskField::Subject, task.subject},
                  {TaskField::Description, task.description},
                  {TaskField::Priority, task.priority},
                  {TaskField::Finished, task.finished}});
    if (r.applied) refreshAlarm(task.id);
    return r;
}

TableResult TasksStore::deleteTask(int id)
{
    if (!locate(id)) return noSuchTask();
    const TableResult r = m_table.deleteRow();
    refreshAlarm(id);
    return r;
}

QString TasksStore::sortByKey(QChar key)
{
    const QString name = sortedIndexName(m_table.activeIndex(), key);
    // sortedIndexName() gives one of the 48 names, which are all in the schema.
    (void)m_table.setActiveIndex(name);
    return m_table.activeIndex();
}

// ---- walks ----------------------------------------------------------------------------------

QList<TasksStore::TreeNode> TasksStore::allNodes() const
{
    QList<TreeNode> out;
    out.reserve(m_table.recordCount());
    for (int n = 1; n <= m_table.recordCount(); ++n) {
        const int slot = m_table.slotAt(n);
        const auto integer = [&](TaskField f) { return m_table.column(field(f)).ints[slot]; };
        out.append({integer(TaskField::Id), integer(TaskField::ParentId), integer(TaskField::Layer),
                    n, integer(TaskField::Open) != 0});
    }
    return out;
}

QHash<int, QList<int>> TasksStore::childMap() const
{
    QHash<int, QList<int>> children;
    for (const TreeNode &n : allNodes())
        children[n.parentID].append(n.id);
    return children;
}

void TasksStore::buildRowList()
{
    m_rows.clear();
    const CursorGuard keep(m_table);
    // One walk through the filters collects the visible tasks grouped by parent, in index
    // order; the pre-order is then built from the groups.
    struct Visible {
        int id;
        int recNo;
        bool open;
    };
    QHash<int, QList<Visible>> byParent;
    for (bool ok = m_table.findFirst(); ok; ok = m_table.findNext())
        byParent[m_table.asInteger(field(TaskField::ParentId))].append(
            {m_table.asInteger(field(TaskField::Id)), m_table.recNo(),
             m_table.asBoolean(field(TaskField::Open))});

    QSet<int> seen; // guards against a parent chain that loops in a hand-made file
    std::vector<Visible> stack;
    const auto pushChildren = [&](int parent) {
        const auto it = byParent.constFind(parent);
        if (it == byParent.constEnd()) return;
        for (auto c = it->crbegin(); c != it->crend(); ++c)
            stack.push_back(*c);
    };
    pushChildren(-1);
    while (!stack.empty()) {
        const Visible v = stack.back();
        stack.pop_back();
        if (seen.contains(v.id)) continue;
        seen.insert(v.id);
        m_rows.append(v.recNo);
        if (v.open) pushChildren(v.id);
    }
}

// ---- tree changes ---------------------------------------------------------------------------

TableResult TasksStore::setFields(int id,
                                  std::initializer_list<std::pair<TaskField, QVariant>> values)
{
    if (!locate(id) || !m_table.edit()) return noSuchTask();
    for (const auto &[f, value] : values)
        (void)m_table.setValue(field(f), value); // a field of the schema other than the id
    return m_table.post();
}

bool TasksStore::isDescendantOrSelf(int candidate, int ancestor) const
{
    QSet<int> seen;
    for (int id = candidate; id != -1 && !seen.contains(id);) {
        if (id == ancestor) return true;
        seen.insert(id);
        const auto t = task(id);
        if (!t) break;
        id = t->parentId;
    }
    return false;
}

bool TasksStore::moveInTree(int from, int to)
{
    if (from < 0 || from >= m_rows.size() || to < 0 || to == from) return false;
    const auto source = listTask(from);
    if (!source) return false;

    const auto writeUndo = [&] {
        m_undoError.clear();
        return UndoLog::write(m_dataDir, UndoLog::Section::MovedTasks,
                              {UndoLog::movedTaskRow(source->id, source->parentId)}, &m_undoError);
    };
    // Below, a write that fails stays in memory and is retried by the table's next write or
    // save, which report it; the move itself is made.
    if (to >= m_rows.size()) {
        if (!writeUndo()) return false;
        (void)setFields(source->id, {{TaskField::ParentId, -1}, {TaskField::Level, 1}});
    } else {
        const auto target = listTask(to);
        if (!target) return false;
        if (target->layer != source->layer || isDescendantOrSelf(target->id, source->id))
            return false;
        if (!writeUndo()) return false;
        (void)setFields(target->id, {{TaskField::HasChildren, true}, {TaskField::Open, true}});
        (void)setFields(source->id,
                        {{TaskField::ParentId, target->id}, {TaskField::Level, target->level + 1}});
    }
    if (m_movedHook) m_movedHook({source->id, source->parentId});
    renumberSubtreeLevels(source->id);
    clearParentIfChildless(source->parentId);
    return true;
}

void TasksStore::renumberSubtreeLevels(int id)
{
    const QHash<int, QList<int>> children = childMap();
    const auto top = task(id);
    if (!top) return;
    QList<std::pair<int, int>> queue{{id, top->level}}; // task, its level
    QSet<int> seen{id};
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const auto [parent, level] = queue[i];
        for (int child : children.value(parent)) {
            if (seen.contains(child)) continue;
            seen.insert(child);
            const auto t = task(child);
            // A failed write stays in memory and is retried by the table's next write or save.
            if (t && t->level != level + 1) (void)setFields(child, {{TaskField::Level, level + 1}});
            queue.append({child, level + 1});
        }
    }
}

void TasksStore::clearParentIfChildless(int id)
{
    if (id < 0) return;
    const auto t = task(id);
    if (t && (t->hasChildren || t->open) && !childMap().contains(id)) {
        // A failed write stays in memory and is retried by the table's next write or save.
        (void)setFields(id, {{TaskField::HasChildren, false}, {TaskField::Open, false}});
    }
}

int TasksStore::topLevelTaskOf(int id) const
{
    auto t = task(id);
    if (!t) return -1;
    QSet<int> seen{id};
    int top = id;
    while (t->parentId != -1 && !seen.contains(t->parentId)) {
        const auto parent = task(t->parentId);
        if (!parent) break;
        t = parent;
        top = t->id;
        seen.insert(top);
    }
    return top;
}

void TasksStore::setTreeLayer(int anyTaskID, int layerID)
{
    const int top = topLevelTaskOf(anyTaskID);
    if (top < 0) return;
    const QHash<int, QList<int>> children = childMap();
    QList<int> queue{top};
    QSet<int> seen{top};
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const auto t = task(queue[i]);
        // A failed write stays in memory and is retried by the table's next write or save.
        if (t && t->layer != layerID) (void)setFields(queue[i], {{TaskField::Layer, layerID}});
        for (int child : children.value(queue[i]))
            if (!seen.contains(child)) {
                seen.insert(child);
                queue.append(child);
            }
    }
}

bool TasksStore::moveTasksToLayer(const QList<int> &ids, int layerID)
{
    bool moved = false;
    for (int id : ids) {
        const auto t = task(id);
        if (!t || t->layer == layerID) continue;
        setTreeLayer(id, layerID);
        moved = true;
    }
    return moved;
}

// ---- counts and lines -----------------------------------------------------------------------

StoreResult TasksStore::deleteTasksOfLayers(const QList<int> &layerIds)
{
    QList<int> ids;
    for (const TreeNode &node : allNodes())
        if (layerIds.contains(node.layer)) ids.append(node.id);
    StoreResult result;
    m_table.beginBulk();
    for (int id : ids)
        if (deleteTask(id).applied) ++result.count;
    const TableResult written = m_table.endBulk();
    result.noteFailure(written.ok(), written.error);
    return result;
}

void TasksStore::forEachTask(const std::function<void(const TaskRow &)> &visit) const
{
    for (int n = 1; n <= m_table.recordCount(); ++n)
        visit(rowInSlot(m_table.slotAt(n)));
}

int TasksStore::countTasksOfLayer(int layerID) const
{
    int n = 0;
    for (const TreeNode &node : allNodes())
        n += node.layer == layerID;
    return n;
}

QString TasksStore::taskLine(int id, std::optional<int> layerNumber) const
{
    const int slot = m_table.slotOfId(id);
    return slot < 0 ? QString() : taskLineOfSlot(slot, layerNumber);
}

QString TasksStore::taskLineOfSlot(int slot, std::optional<int> layerNumber) const
{
    const auto isNull = [&](TaskField f) { return m_table.column(field(f)).isNull(slot); };
    const auto integerOf = [&](TaskField f) { return m_table.column(field(f)).ints[slot]; };
    const auto integer = [&](TaskField f) {
        return isNull(f) ? QString() : QString::number(integerOf(f));
    };
    const auto boolean = [&](TaskField f) { return boolText(integerOf(f) != 0); };
    const TaskRow t = rowInSlot(slot);
    const QString parent = isNull(TaskField::ParentId)
                               ? QString()
                               : QString::number(t.parentId == -1 ? -1 : -qint64(t.parentId));
    const QString alarm =
        isNull(TaskField::AlarmTime) ? QString() : FileText::fileDateTimeText(t.alarmTime);
    const QStringList values = {
        QString::number(-qint64(t.id)),
        parent,
        integer(TaskField::Level),
        boolean(TaskField::HasChildren),
        boolean(TaskField::Open),
        layerNumber ? QString::number(*layerNumber) : integer(TaskField::Layer),
        boolean(TaskField::AlarmSet),
        alarm,
        FileText::quoteFileText(t.subject),
        FileText::quoteFileText(t.description),
        integer(TaskField::Priority),
        boolean(TaskField::Finished),
        QString::fromUtf8(m_table.column(field(TaskField::Updates)).bytes[slot])};
    return values.join(u';');
}

// ---- alarms ---------------------------------------------------------------------------------

void TasksStore::rebuildAlarms()
{
    m_alarms.clear();
    const SerialDateTime today = m_clock.today();
    for (int n = 1; n <= m_table.recordCount(); ++n) {
        const TaskRow t = rowInSlot(m_table.slotAt(n));
        if (t.alarmSet && AlarmRules::beforeComingMidnight(t.alarmTime, today))
            m_alarms.add({t.alarmTime, t.id});
    }
}

void TasksStore::refreshAlarm(int id)
{
    m_alarms.removeFirst(id);
    const auto t = task(id);
    if (t && t->alarmSet && AlarmRules::beforeComingMidnight(t->alarmTime, m_clock.today()))
        m_alarms.add({t->alarmTime, id});
}

AlarmRules::DueWriteResult TasksStore::writeDueAlarms()
{
    AlarmRules::DueWriteResult result;
    const QList<TaskAlarmEntry> due = m_alarms.due(m_clock.nowValue());
    if (due.isEmpty()) return result;
    QList<AlarmEntry> lines;
    QList<int> ringing;
    for (const TaskAlarmEntry &a : due) {
        const auto t = task(a.id);
        if (!t) continue;
        AlarmEntry rec;
        rec.id = a.id;
        rec.alarmTime = t->alarmTime;
        rec.subject = FileText::quoteFileText(t->subject);
        rec.description = FileText::quoteFileText(t->description);
        if (const auto layer = m_layers.layer(t->layer)) {
            rec.layerName = FileText::quoteFileText(layer->name);
            rec.colorNumber = layer->color;
        }
        lines.append(rec);
        ringing.append(a.id);
    }
    if (!lines.isEmpty()) {
        const auto written = AlarmFiles::appendAlarms(m_dataDir, lines);
        if (!written) {
            result.ok = false;
            result.error = written.error;
            return result;
        }
        result.wrote = true;
    }
    m_alarms.removeLeading(due.size());
    for (int id : ringing) {
        // The lines are in "alarm.dat" already; a failed write of the flag stays in memory and
        // the table retries it at its next write or save, which report it.
        (void)setFields(id, {{TaskField::AlarmSet, false}});
    }
    return result;
}

TableResult TasksStore::saveTo(const QString &dir)
{
    return m_table.save(dir + FileName);
}

// ---- undo log and imports -------------------------------------------------------------------
// Deleting tasks with undo, restoring deleted and moved tasks, and the task lines of layer
// files.

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
        result.noteFailure(r.ok(), r.error);
    }
    for (int parent : parents)
        if (!seen.contains(parent)) clearParentIfChildless(parent);
    return result;
}

int TasksStore::insertTaskLines(const QList<RecordLines::TaskLine> &lines,
                                const std::function<int(int fileLayer)> &layerOf,
                                bool keepOutsideParents, QList<int> *newIDs)
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
        } else if (const auto parent =
                       outsideParent[i] != -1 ? task(outsideParent[i]) : std::nullopt) {
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
        if (newIDs) newIDs->append(id);
        ++inserted;
    }
    // A failed write below stays in memory and is retried by the table's next write or save,
    // which report it.
    for (qsizetype i = 0; i < n; ++i) {
        if (newID[i] == -1) continue;
        if (parentIdx[i] != -1 && newID[parentIdx[i]] != -1)
            (void)setFields(newID[i], {{TaskField::ParentId, newID[parentIdx[i]]}});
        else if (outsideParent[i] != -1)
            (void)setFields(outsideParent[i],
                            {{TaskField::HasChildren, true}, {TaskField::Open, true}});
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
    const auto note = [&result](const TableResult &r) { result.noteFailure(r.ok(), r.error); };
    int parent = -1, level = 1, parentLayer = 0;
    if (const auto formerTask =
            former != -1 && !isDescendantOrSelf(former, id) ? task(former) : std::nullopt) {
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
                            const QHash<int, int> &layerMap, QList<int> *newIDs)
{
    return insertTaskLines(
        lines, [&](int number) { return m_layers.layerOrFirst(layerMap.value(number, 0)); }, false,
        newIDs);
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
            const QString line = taskLineOfSlot(m_table.slotAt(item.node.recNo),
                                                layerNumbers.value(item.node.layer));
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
