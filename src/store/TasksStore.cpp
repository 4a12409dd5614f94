#include "store/TasksStore.h"

#include "core/FileText.h"
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
    : CDS(schema()), m_dataDir(dataDir), m_layers(layers), m_clock(clock)
{
    CDS.setClock(&clock);
    CDS.setActiveIndex(QString::fromLatin1(DefaultIndexName));
    m_load = CDS.load(m_dataDir + FileName);
    CDS.setActiveIndex(QString::fromLatin1(DefaultIndexName));
    CDS.setRecordFilter([this](const Table &t) {
        return m_walkAll || m_allTasks || t.asInteger(F_ParentID) == m_parentFilter;
    });
    CDS.setAfterPost([this](Table &t) {
        t.mergeChangeLog();
        if (m_afterPostHook) m_afterPostHook();
    });
    CDS.first();
    rebuildAlarms();
}

TasksStore::~TasksStore()
{
    CDS.mergeChangeLog();
    save();
}

TableResult TasksStore::insertTask(int parentID, int level, int layer, const QString &subject,
                                int priority, bool finished, bool alarmSet, SerialDateTime alarmTime,
                                const QString &description)
{
    return CDS.insertRow({QVariant(), parentID, level, false, false, layer, alarmSet,
                          alarmSet ? QVariant(alarmTime) : QVariant(), subject, description,
                          priority, finished, QVariant()});
}

QString TasksStore::sortByKey(QChar key)
{
    const QString name = sortedIndexName(CDS.activeIndex(), key);
    CDS.setActiveIndex(name);
    return CDS.activeIndex();
}

// ---- walks ----------------------------------------------------------------------------------

QList<TasksStore::TreeNode> TasksStore::allNodes()
{
    QList<TreeNode> out;
    out.reserve(CDS.recordCount());
    for (CDS.first(); !CDS.isEmpty() && !CDS.eof(); CDS.next())
        out.append({currentId(), currentParentId(), currentLayer(), CDS.recNo(), currentIsOpen()});
    return out;
}

QHash<int, QList<int>> TasksStore::childMap()
{
    const Table::Bookmark here = CDS.bookmark();
    QHash<int, QList<int>> children;
    for (const TreeNode &n : allNodes())
        children[n.parentID].append(n.id);
    CDS.gotoBookmark(here);
    return children;
}

void TasksStore::buildRowList()
{
    m_rows.clear();
    const Table::Bookmark here = CDS.bookmark();
    // One walk through the filters collects the visible tasks grouped by parent, in index
    // order; the pre-order is then built from the groups.
    struct Visible {
        int id;
        int recNo;
        bool open;
    };
    QHash<int, QList<Visible>> byParent;
    m_walkAll = true;
    for (bool ok = CDS.findFirst(); ok; ok = CDS.findNext())
        byParent[currentParentId()].append({currentId(), CDS.recNo(), currentIsOpen()});
    m_walkAll = false;
    m_parentFilter = -2;

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
    CDS.gotoBookmark(here);
}

bool TasksStore::gotoListPosition(int position)
{
    if (position < 0 || position >= m_rows.size()) return false;
    return CDS.setRecNo(m_rows[position]);
}

// ---- tree changes ---------------------------------------------------------------------------

bool TasksStore::setFields(int id, std::initializer_list<std::pair<int, QVariant>> values)
{
    if (!locateID(id) || !CDS.edit()) return false;
    for (const auto &[field, value] : values)
        CDS.setValue(field, value);
    return CDS.post().applied;
}

bool TasksStore::isDescendantOrSelf(int candidate, int ancestor)
{
    const Table::Bookmark here = CDS.bookmark();
    QSet<int> seen;
    bool found = false;
    for (int id = candidate; id != -1 && !seen.contains(id);) {
        if (id == ancestor) {
            found = true;
            break;
        }
        seen.insert(id);
        if (!locateID(id)) break;
        id = currentParentId();
    }
    CDS.gotoBookmark(here);
    return found;
}

bool TasksStore::moveInTree(int from, int to)
{
    if (from < 0 || from >= m_rows.size() || to < 0 || to == from) return false;
    if (!CDS.setRecNo(m_rows[from])) return false;
    const int source = currentId();
    const int oldParent = currentParentId();
    const int sourceLayer = currentLayer();

    const auto writeUndo = [&] {
        m_undoError.clear();
        return UndoLog::write(m_dataDir, UndoLog::Section::MovedTasks,
                              {UndoLog::movedTaskRow(source, oldParent)}, &m_undoError);
    };
    if (to >= m_rows.size()) {
        if (!writeUndo()) return false;
        setFields(source, {{F_ParentID, -1}, {F_Level, 1}});
    } else {
        if (!CDS.setRecNo(m_rows[to])) return false;
        const int target = currentId();
        const int targetLevel = currentLevel();
        if (currentLayer() != sourceLayer || isDescendantOrSelf(target, source)) return false;
        if (!writeUndo()) return false;
        setFields(target, {{F_Children, true}, {F_Open, true}});
        setFields(source, {{F_ParentID, target}, {F_Level, targetLevel + 1}});
    }
    if (m_movedHook) m_movedHook({source, oldParent});
    renumberSubtreeLevels(source);
    clearParentIfChildless(oldParent);
    locateID(source);
    return true;
}

void TasksStore::renumberSubtreeLevels(int id)
{
    const QHash<int, QList<int>> children = childMap();
    if (!locateID(id)) return;
    QList<std::pair<int, int>> queue{{id, currentLevel()}}; // task, its level
    QSet<int> seen{id};
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const auto [parent, level] = queue[i];
        for (int child : children.value(parent)) {
            if (seen.contains(child)) continue;
            seen.insert(child);
            if (locateID(child) && currentLevel() != level + 1) setFields(child, {{F_Level, level + 1}});
            queue.append({child, level + 1});
        }
    }
    locateID(id);
}

void TasksStore::clearParentIfChildless(int id)
{
    if (id < 0) return;
    const Table::Bookmark here = CDS.bookmark();
    if (!childMap().contains(id) && locateID(id) && (currentHasChildren() || currentIsOpen()))
        setFields(id, {{F_Children, false}, {F_Open, false}});
    CDS.gotoBookmark(here);
}

int TasksStore::topLevelTaskOf(int id)
{
    if (!locateID(id)) return -1;
    QSet<int> seen{id};
    int top = id;
    while (currentParentId() != -1 && !seen.contains(currentParentId()) && locateID(currentParentId())) {
        top = currentId();
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
        if (locateID(queue[i]) && currentLayer() != layerID) setFields(queue[i], {{F_Layer, layerID}});
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
        if (!locateID(id) || currentLayer() == layerID) continue;
        setTreeLayer(id, layerID);
        moved = true;
    }
    return moved;
}

// ---- counts and lines -----------------------------------------------------------------------

int TasksStore::countTasksOfLayer(int layerID)
{
    const Table::Bookmark here = CDS.bookmark();
    int n = 0;
    for (const TreeNode &node : allNodes())
        n += node.layer == layerID;
    CDS.gotoBookmark(here);
    return n;
}

QString TasksStore::taskLine(std::optional<int> layerNumber) const
{
    const auto integer = [this](int f) {
        return CDS.isNull(f) ? QString() : QString::number(CDS.asInteger(f));
    };
    const auto boolean = [this](int f) { return boolText(CDS.asBoolean(f)); };
    const QString parent = CDS.isNull(F_ParentID)
                               ? QString()
                               : QString::number(currentParentId() == -1 ? -1 : -qint64(currentParentId()));
    const QString alarm =
        CDS.isNull(F_AlarmTime) ? QString() : FileText::fileDateTimeText(currentAlarmTime());
    const QStringList values = {QString::number(-qint64(currentId())),
                                parent,
                                integer(F_Level),
                                boolean(F_Children),
                                boolean(F_Open),
                                layerNumber ? QString::number(*layerNumber) : integer(F_Layer),
                                boolean(F_AlarmSet),
                                alarm,
                                FileText::quoteFileText(currentSubject()),
                                FileText::quoteFileText(currentDescription()),
                                integer(F_Priority),
                                boolean(F_Finished),
                                QString::fromUtf8(CDS.asBytes(F_Updates))};
    return values.join(u';');
}

// ---- alarms ---------------------------------------------------------------------------------

void TasksStore::rebuildAlarms()
{
    m_alarms.clear();
    const Table::Bookmark here = CDS.bookmark();
    const SerialDateTime today = m_clock.today();
    for (CDS.first(); !CDS.isEmpty() && !CDS.eof(); CDS.next())
        if (currentAlarmSet() && AlarmRules::beforeComingMidnight(currentAlarmTime(), today))
            m_alarms.add({currentAlarmTime(), currentId()});
    CDS.gotoBookmark(here);
}

void TasksStore::refreshAlarm(int id)
{
    m_alarms.removeFirst(id);
    const Table::Bookmark here = CDS.bookmark();
    if (locateID(id) && currentAlarmSet() &&
        AlarmRules::beforeComingMidnight(currentAlarmTime(), m_clock.today()))
        m_alarms.add({currentAlarmTime(), id});
    CDS.gotoBookmark(here);
}

AlarmRules::DueWriteResult TasksStore::writeDueAlarms()
{
    AlarmRules::DueWriteResult result;
    const QList<TaskAlarmEntry> due = m_alarms.due(m_clock.nowValue());
    if (due.isEmpty()) return result;
    const Table::Bookmark here = CDS.bookmark();
    QList<AlarmEntry> lines;
    QList<int> ringing;
    for (const TaskAlarmEntry &a : due) {
        if (!locateID(a.id)) continue;
        AlarmEntry rec;
        rec.id = a.id;
        rec.alarmTime = currentAlarmTime();
        rec.subject = FileText::quoteFileText(currentSubject());
        rec.description = FileText::quoteFileText(currentDescription());
        const int layer = currentLayer();
        const Table::Bookmark layerHere = m_layers.CDS.bookmark();
        if (m_layers.locateID(layer)) {
            rec.layerName = FileText::quoteFileText(m_layers.currentName());
            rec.colorNumber = m_layers.currentColor();
        }
        m_layers.CDS.gotoBookmark(layerHere);
        lines.append(rec);
        ringing.append(a.id);
    }
    if (!lines.isEmpty()) {
        const auto written = AlarmFiles::appendAlarms(m_dataDir, lines);
        if (!written) {
            CDS.gotoBookmark(here);
            result.ok = false;
            result.error = written.error;
            return result;
        }
        result.wrote = true;
    }
    m_alarms.removeLeading(due.size());
    for (int id : ringing)
        setFields(id, {{F_AlarmSet, false}});
    CDS.gotoBookmark(here);
    return result;
}

TableResult TasksStore::saveTo(const QString &dir)
{
    CDS.mergeChangeLog();
    return CDS.save(dir + FileName);
}
