#include "store/IcsImport.h"

#include "core/LayerPalette.h"
#include "store/EventsStore.h"
#include "store/LayerFileFormat.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "store/TextFileLines.h"
#include "store/UndoLog.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace
{

// The first palette colour no layer uses yet (1 when all are taken).
int freeColor(const LayersStore &layers)
{
    QSet<int> used;
    for (const LayerRow &l : layers.layers())
        used.insert(l.color);
    for (int c = 1; c <= LayerPalette::ColorCount; ++c)
        if (!used.contains(c)) return c;
    return 1;
}

// The tasks as task lines: IDs 1, 2, ... in file order, parents by UID (a parent that is
// missing, or the task itself, makes a top-level task).
QList<RecordLines::TaskLine> taskLines(const QList<IcsTask> &tasks, int layerId)
{
    QHash<QString, int> number;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        if (!tasks[i].uid.isEmpty() && !number.contains(tasks[i].uid))
            number.insert(tasks[i].uid, int(i) + 1);
    QList<RecordLines::TaskLine> lines;
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        const IcsTask &t = tasks[i];
        RecordLines::TaskLine line;
        line.fileId = -(int(i) + 1);
        const int parent = t.parentUid.isEmpty() ? 0 : number.value(t.parentUid, 0);
        const bool hasParent = parent > 0 && parent != int(i) + 1;
        line.fileParentId = hasParent ? -parent : -1;
        line.level = hasParent ? 2 : 1;
        line.open = true;
        line.layer = layerId;
        line.alarmSet = t.alarm.has_value();
        line.alarmTime = t.alarm;
        line.subject = t.subject;
        line.description = t.description;
        line.priority = t.priority;
        line.finished = t.finished;
        lines.append(line);
    }
    return lines;
}

IcsImport::Summary refused(const QString &why)
{
    IcsImport::Summary s;
    s.error = why;
    return s;
}

} // namespace

namespace IcsImport
{

QString Summary::message() const
{
    if (!ok) return error;
    const auto counted = [](int n, const char *one, const char *many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    QString text = QStringLiteral("Imported %1 (%2 recurring) and %3 into layer \"%4\".")
                       .arg(counted(events, "event", "events"))
                       .arg(recurringEvents)
                       .arg(counted(tasks, "task", "tasks"))
                       .arg(layerName);
    if (expandedRules == 1)
        text += QStringLiteral("\n1 recurrence rule was added as single events.");
    else if (expandedRules > 1)
        text +=
            QStringLiteral("\n%1 recurrence rules were added as single events.").arg(expandedRules);
    if (!skipped.isEmpty())
        text += QStringLiteral("\nLeft out: ") + skipped.join(QStringLiteral(", ")) + u'.';
    if (!undoError.isEmpty()) text += QStringLiteral("\nThe import cannot be undone: ") + undoError;
    return text;
}

Summary importFile(const QString &path, int layerId, LayersStore &layers, EventsStore &events,
                   TasksStore &tasks, const IcsReader::Options &options)
{
    QString error;
    const auto bytes = TextFileLines::readFile(path, IcsReader::MaxFileBytes, &error);
    if (!bytes) return refused(error);
    return importBytes(*bytes, QFileInfo(path).completeBaseName(), layerId, layers, events, tasks,
                       options);
}

Summary importBytes(const QByteArray &bytes, const QString &fileName, int layerId,
                    LayersStore &layers, EventsStore &events, TasksStore &tasks,
                    const IcsReader::Options &options)
{
    QString error;
    auto content = IcsReader::read(bytes, options, &error);
    if (!content) return refused(error);
    if (layerId != 0 && !layers.exists(layerId))
        return refused(QStringLiteral("The chosen layer no longer exists."));
    if (layerId == 0 && layers.count() >= LayerFileFormat::MaxLayers)
        return refused(QStringLiteral("No layer can be added: there are %1 layers already.")
                           .arg(LayerFileFormat::MaxLayers));

    Summary s;
    QList<UndoLog::ImportedItem> added;
    if (layerId == 0) {
        int nextRow = 0;
        for (const LayerRow &layer : layers.layers())
            nextRow = qMax(nextRow, layer.row + 1);
        s.layerName = content->calendarName.isEmpty() ? fileName : content->calendarName;
        if (s.layerName.isEmpty()) s.layerName = QStringLiteral("Calendar");
        const InsertResult made =
            layers.insertLayer(nextRow, s.layerName, true, freeColor(layers), 1, 30);
        if (!made.applied())
            return refused(
                QStringLiteral("The layer could not be added.\n%1").arg(made.table.error));
        layerId = made.id;
        s.newLayer = true;
        added.append({UndoLog::ImportedItem::Kind::Layer, layerId});
    } else {
        s.layerName = layers.layer(layerId)->name;
    }
    s.layerId = layerId;

    events.beginBulk();
    for (EventRow &row : content->events) {
        row[EventField::Layer] = layerId;
        const bool recurring = row.isRecurring();
        const InsertResult r = events.insertEvent(std::move(row));
        if (!r.applied()) continue;
        ++s.events;
        if (recurring) ++s.recurringEvents;
        added.append({UndoLog::ImportedItem::Kind::Event, r.id});
    }
    const TableResult eventsWritten = events.endBulk();

    QList<int> taskIDs;
    tasks.beginBulk();
    s.tasks = tasks.importTasks(taskLines(content->tasks, layerId), {{layerId, layerId}}, &taskIDs);
    const TableResult tasksWritten = tasks.endBulk();
    for (int id : taskIDs)
        added.append({UndoLog::ImportedItem::Kind::Task, id});

    s.ok = true;
    s.expandedRules = content->expandedRules;
    s.skipped = content->skipped;
    s.unstored = int(content->events.size() + content->tasks.size()) - s.events - s.tasks;
    if (s.unstored > 0)
        s.skipped.append(QStringLiteral("entries that could not be stored (%1)").arg(s.unstored));
    for (const TableResult &w : {eventsWritten, tasksWritten})
        if (!w.ok()) {
            s.unsaved = true;
            s.skipped.append(QStringLiteral("not yet saved: %1").arg(w.error));
        }

    QStringList rows;
    for (const UndoLog::ImportedItem &item : added)
        rows.append(UndoLog::importedItemRow(item));
    QString undoError;
    if (!UndoLog::write(events.dataDir(), UndoLog::Section::ImportedCalendar, rows, &undoError))
        s.undoError = undoError;
    return s;
}

StoreResult undoImport(LayersStore &layers, EventsStore &events, TasksStore &tasks)
{
    QString error;
    const auto content = UndoLog::read(events.dataDir(), &error);
    if (!content) return StoreResult::failure(error);
    if (content->section != UndoLog::Section::ImportedCalendar)
        return StoreResult::failure(QStringLiteral("The undo file holds no imported calendar."));

    StoreResult result;
    const auto note = [&result](const TableResult &r) { result.noteFailure(r.ok(), r.error); };
    QList<int> madeLayers;
    events.beginBulk();
    tasks.beginBulk();
    for (const UndoLog::ImportedItem &item : content->imported) {
        switch (item.kind) {
        case UndoLog::ImportedItem::Kind::Event: {
            const TableResult r = events.deleteEvent(item.id);
            if (r.applied) ++result.count;
            break;
        }
        case UndoLog::ImportedItem::Kind::Task: {
            const TableResult r = tasks.deleteTask(item.id);
            if (r.applied) ++result.count;
            break;
        }
        case UndoLog::ImportedItem::Kind::Layer:
            madeLayers.append(item.id);
            break;
        }
    }
    note(events.endBulk());
    note(tasks.endBulk());
    for (int id : madeLayers)
        if (layers.exists(id) && events.countLayerEvents(id) == 0 &&
            tasks.countTasksOfLayer(id) == 0)
            note(layers.deleteLayer(id));
    return result;
}

} // namespace IcsImport
