#pragma once
// The events store: one-time and recurring events in "Events.cds", walked in event order
// (index INDEX: startTime ascending, endTime descending, subject, id).
//
// The table may hold one hidden clipboard row, always first in index order: a copy of the
// copied event with Layer = -(its layer), startTime = its time of day - 200000 and
// endTime = its duration - 200000. clipboardCount() is 1 while it exists; every plain walk over
// all events skips that many rows at the start, and collections never show it.
//
// Changes go through CDS (edit/post, insertRow, deleteRow, emptyTable); the store hooks the
// table's callbacks itself to keep its walk index and clipboard count current, so callers must
// not replace CDS's after-post, before-delete or after-reset callbacks nor its record filter.
// They install their own after-post work with setAfterPostHook().
#include "store/AlarmList.h"
#include "store/EventWalkIndex.h"
#include "store/OccurrenceList.h"
#include "store/SpanCollections.h"
#include "store/StoreResult.h"
#include "store/Table.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class LayersStore;
class Settings;
class ViewDates;

class EventsStore
{
public:
    enum FieldNo {
        F_ID,
        F_Layer,
        F_StartTime,
        F_EndTime,
        F_AllDay,
        F_AlarmSet,
        F_AlarmAdvTime,
        F_AlarmAdvUnit,
        F_Subject,
        F_Description,
        F_Recurrent,
        F_RadioButton1,
        F_RadioButton2,
        F_RadioButton3,
        F_Edit1,
        F_Edit2,
        F_Edit3,
        F_ComboBox1,
        F_ComboBox2,
        F_ComboBox3,
        F_ComboBox4,
        F_Weekdays,
        F_ExceptionList,
        F_Updates
    };
    static constexpr const char *FileName = "Events.cds";
    static constexpr const char *OldDataFileName = "Data.cds";
    static constexpr const char *OldDataBackupName = "Data.bak";
    // Offset of the clipboard row's times, in days.
    static constexpr int ClipboardOffset = 200000;
    // A row whose startTime is below this is the clipboard row.
    static constexpr double ClipboardBelow = -199999;
    // Day of the layer header row in an old data file; layer b's row is at this day + b.
    static constexpr int OldLayerDay = -10000;

    static TableSchema schema();

    // Loads `dataDir` + "Events.cds" (dataDir ends with "/"), detects the clipboard row, then
    // runs the start-up steps (archive, pending alarms). The store reads the collection
    // window from `time` (windowStart..windowEnd) and the layers from `layers`; both must outlive
    // it.
    EventsStore(const QString &dataDir, LayersStore &layers, ViewDates &time, const Clock *clock = nullptr);
    // Saves the table into the data directory.
    ~EventsStore();
    EventsStore(const EventsStore &) = delete;
    EventsStore &operator=(const EventsStore &) = delete;

    Table CDS;

    // What the load at start found; SetAside/Failed are for the UI to report.
    const TableLoadResult &loadResult() const { return m_load; }
    const QString &dataDir() const { return m_dataDir; }

    // Values of the current row.
    int currentId() const { return CDS.asInteger(F_ID); }
    int currentLayer() const { return CDS.asInteger(F_Layer); }
    SerialDateTime currentStartTime() const { return CDS.asDateTime(F_StartTime); }
    SerialDateTime currentEndTime() const { return CDS.asDateTime(F_EndTime); }
    bool currentIsAllDay() const { return CDS.asBoolean(F_AllDay); }
    bool currentAlarmSet() const { return CDS.asBoolean(F_AlarmSet); }
    QString currentSubject() const { return CDS.asString(F_Subject); }
    QString currentDescription() const { return CDS.asString(F_Description); }
    bool currentIsRecurring() const { return CDS.asBoolean(F_Recurrent); }
    // The rule of the current row (RecurrenceColumns reads it).
    RecurrenceRule rule() const;
    // Every field of the current row in field order (for copies and text forms).
    QVariantList rowValues() const;

    // ---- filters ------------------------------------------------------------------------
    // 1 when the first row is the clipboard row, else 0.
    int clipboardCount() const { return m_clipboardCount; }
    // With the bypass set the record filter accepts every row.
    void setFilterBypass(bool on) { m_bypass = on; }
    bool filterBypass() const { return m_bypass; }
    // The record filter installed on CDS: accepts a row that starts before the window end and
    // ends at or after the window start (a recurring row: endTime + its rule's extraDays at
    // or after it). The window is the date module's windowStart..windowEnd.
    bool inCollectionWindow(const Table &t) const;
    // The record filter's test without the bypass: start before the window end and
    // end + extraDays at or after the window start (extraDays: the rule's of a recurring row,
    // 0 for a one-time row).
    bool reachesWindow(SerialDateTime start, SerialDateTime end, int extraDays) const;

    // Called after every post (after the store's own bookkeeping), with the cursor on the
    // posted row. The main window installs the re-collection of a dragging grid here. Empty
    // function: none.
    void setAfterPostHook(std::function<void()> hook) { m_afterPostHook = std::move(hook); }

    // ---- operations -----------------------------------------------------------------------
    // Rows whose Layer equals `layerId`, the clipboard row not counted. The cursor stays.
    int countLayerEvents(int layerId);
    // Sets Layer of each listed event (IDs in decimal text; unparsable or unknown IDs and
    // the clipboard row are skipped). True when at least one event was found.
    bool moveToLayer(const QStringList &ids, int layerId);
    // Inserts a copy of the current row (every field, ExceptionList and Updates included)
    // into `layerId`; the current row stays current. False with no current row, on the
    // clipboard row, or when the insert fails.
    bool duplicateToLayer(int layerId);
    // Replaces the clipboard row with a copy of event `id`. False, leaving the clipboard as it
    // was, when no such event exists (or `id` is the clipboard row itself).
    bool copyToClipboard(int id);

    enum class PasteMode {
        AtSelectedTime, // day and week views: the event starts at the selected date-time
        OnSelectedDay   // month and year views: the selected day at the copied time of day
    };
    // Inserts a new event from the clipboard row: in the copied layer, or the layer at
    // position 1 when that layer is gone; start from `selected` as `mode` says; the copied
    // duration; a recurring event's end of recurrence fixed again from the new start. The
    // clipboard row stays. Returns the new event's id; nullopt when there is no clipboard row
    // or the insert failed.
    std::optional<int> paste(SerialDateTime selected, PasteMode mode);

    // ---- occurrences and collections ---------------------------------------------------
    // Adds the occurrences of the current (recurring) row that belong to the displayed span
    // (the date module's spanStart .. spanEnd) to the occurrence list. Returns how many.
    int expandOccurrences();
    // The same for the span of days [firstDay, endDay).
    int expandOccurrences(int firstDay, int endDay);
    const OccurrenceList &occurrences() const { return m_occurrences; }

    // Fill the collections that the views read. Each sets the collection window in the date
    // module, clears the cells it covers and the occurrence list, and feeds every item of
    // the shown layers inside the window, in event order (occurrences merged in), to the
    // collection. Occurrences are expanded over the displayed span [F, S). The current row
    // is kept. Cost: the rows that start inside the window or at most the longest one-time
    // duration before it, plus the recurring rows.
    void collectDayView(const DaySpanCollection::Request &request);
    // F = firstDay (first shown day), S = spanEnd; week rows a..b.
    void collectMonthView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstWeek, int lastWeek);
    // firstDay: a day of the first shown month; S = spanEnd; month columns a..b.
    void collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstMonth, int lastMonth);
    // The items the collections would be fed for `window` (occurrences expanded over the days
    // [firstDay, endDay)), in event order, without any collection: for exports, checks and
    // comparisons. Sets the collection window in the date module like the collections do; the
    // current row is kept.
    void collectItems(const CollectionWindow &window, int firstDay, int endDay,
                      const std::function<void(const SpanSourceItem &)> &add);
    SpanCollections &collections() { return *m_spans; }
    const SpanCollections &collections() const { return *m_spans; }
    const EventWalkIndex &walkIndex() const { return m_index; }

    // ---- start-up, conversion, saving ----------------------------------------------------
    // When "Data.cds" exists in the data directory: takes its rows as the events table (the
    // file becomes "Data.bak"), rebuilds the layers from its layer rows at day -10000, maps
    // the events onto the new layers and clears FirstTime in `reg`. True when a conversion
    // ran; false (nothing changed) when there is no such file or it cannot be read.
    bool convertOldDataFile(Settings &reg);

    // Saves to `dir` + "Events.cds" (dir ends with "/").
    TableResult saveTo(const QString &dir);
    TableResult save() { return saveTo(m_dataDir); }

    // ---- undo log ---------------------------------------------------------------------------
    // The current row as an event line of the undo log and layer files; `layerNumber`
    // replaces the layer id (a layer file's layer number).
    QString eventLine(std::optional<int> layerNumber = std::nullopt) const;
    // Writes the listed events (IDs in decimal text; unparsable, unknown IDs and the clipboard
    // row skipped) into "undo.dat" as "DELETED EVENTS", then deletes them and drops their
    // pending alarms. The file is written first: when it cannot be written nothing is deleted
    // and the result carries the error. count: events deleted (0 still writes the file).
    StoreResult deleteWithUndo(const QStringList &ids);
    // Inserts the events of a "DELETED EVENTS" undo file as new rows (new IDs), each in its
    // layer or, when that layer is gone, in the layer at position 1; their alarms are
    // refreshed. A file that is missing, of another section or damaged changes nothing and
    // gives the error. count: events restored.
    StoreResult restoreDeletedEvents();
    // Inserts parsed event lines (RecordLines::parseEventLine) as new rows. A line's Layer
    // value is looked up in `layerMap` (layer-file number -> layer id); a value not in the map
    // (or an id of no existing layer) puts the event into the layer at position 1. Returns how
    // many were inserted.
    int importEvents(const QList<QVariantList> &rows, const QHash<int, int> &layerMap);

    // ---- archive ------------------------------------------------------------------------
    // Start-up step and at every change of day: moves the events of layers with Archiving 2
    // whose endTime is at or before today - Days + 1 (midnight) into "My Layers/Archive.dyl".
    // The archive is written (atomically) before the events leave the table; when it cannot
    // be written no event is removed and the result carries the error. An archive file that
    // cannot be read is renamed aside ("Archive.dyl.damaged-yyyyMMdd-HHmmss") and a new one
    // started. count: events archived.
    StoreResult archiveOldEvents();
    static QString archivePath(const QString &dataDir);

    // ---- alarms -------------------------------------------------------------------------
    // Start-up step and after every change of day: rebuilds the pending-alarm list from every
    // event with alarmSet (clipboard row skipped).
    void fillPendingAlarms();
    // Refreshes the pending alarm of one event: drops its entry and adds the current one when
    // the event exists with alarmSet. Runs after every post by itself.
    void refreshPendingAlarm(int id);
    const PendingAlarms &pendingAlarms() const { return m_alarms; }
    // Moves the due alarms to "alarm.dat"; a one-time event that rang loses alarmSet. When the
    // file cannot be written the list and the table stay as they were.
    AlarmRules::DueWriteResult writeDueAlarms();
    // Takes the snoozed reminders out of "snooze.dat" and applies them (codes 0 and 1 re-arm
    // the event, 2 to 14 add a reminder from now). A file that does not parse changes nothing
    // (it is set aside by the reader). count: requests applied.
    StoreResult readSnoozeFile();

private:
    void installTableHooks();
    void rebuildWalkIndex();
    void detectClipboard();
    void indexCurrentRow();
    const Clock &clock() const { return m_clock ? *m_clock : m_systemClock; }
    int layerOrFirst(int layerId);
    std::optional<AlarmEntry> alarmEntryOfCurrent(SerialDateTime today);
    template <class AddItem>
    void walkWindow(const CollectionWindow &window, int firstDay, int endDay, AddItem &&add);

    QString m_dataDir;
    LayersStore &m_layers;
    ViewDates &m_time;
    TableLoadResult m_load;
    int m_clipboardCount = 0;
    bool m_bypass = false;
    std::function<void()> m_afterPostHook;
    EventWalkIndex m_index;
    OccurrenceList m_occurrences;
    std::unique_ptr<SpanCollections> m_spans;
    const Clock *m_clock = nullptr;
    Clock m_systemClock;
    PendingAlarms m_alarms;
    // Occurrences of recurring events whose alarm already rang (event id, alarm ms), so a
    // refresh on the same day does not ring them again.
    QSet<std::pair<int, qint64>> m_fired;
};
