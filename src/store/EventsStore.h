#pragma once
// The events store: one-time and recurring events in "Events.cds", walked in event order
// (index INDEX: startTime ascending, endTime descending, subject, id).
//
// The table may hold one hidden clipboard row, always first in index order: a copy of the
// copied event with Layer = -(its layer), startTime = its time of day - 200000 and
// endTime = its duration - 200000. clipboardCount() is 1 while it exists; every plain walk over
// all events skips that many rows at the start, and collections never show it.
//
// The table is the store's own: callers read and change events by id through the functions
// below, which never move the table's cursor as far as a caller can tell. The store keeps its
// walk index, clipboard count and pending alarms current after every post, before every delete
// and after every reset. Callers add their own after-post work with setAfterPostHook().
#include "store/AlarmRules.h"
#include "store/EventRow.h"
#include "store/EventWalkIndex.h"
#include "store/InsertResult.h"
#include "store/OccurrenceList.h"
#include "store/SpanCollections.h"
#include "store/StoreResult.h"
#include "store/Table.h"
#include "store/TableWrites.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class LayersStore;
class ViewDates;

class EventsStore
{
public:
    static constexpr const char *FileName = "Events.cds";
    // Offset of the clipboard row's times, in days.
    static constexpr int ClipboardOffset = 200000;
    // A row whose startTime is below this is the clipboard row.
    static constexpr double ClipboardBelow = -199999;

    static TableSchema schema();

    // Loads `dataDir` + "Events.cds" (dataDir ends with "/"), detects the clipboard row, then
    // runs the start-up steps (archive, pending alarms). The store reads the collection
    // window from `time` (windowStart..windowEnd), the layers from `layers` and "today" from
    // `clock`; all three must outlive it.
    EventsStore(const QString &dataDir, LayersStore &layers, ViewDates &time, const Clock &clock);
    // Saves the table into the data directory.
    ~EventsStore();
    EventsStore(const EventsStore &) = delete;
    EventsStore &operator=(const EventsStore &) = delete;

    // What the load at start found; SetAside/Failed are for the UI to report.
    const TableLoadResult &loadResult() const { return m_load; }
    const QString &dataDir() const { return m_dataDir; }

    // ---- reading ------------------------------------------------------------------------
    // Events in the table, the clipboard row not counted.
    int eventCount() const { return m_table.recordCount() - m_clipboardCount; }
    // The event with this id; nullopt when there is none or `id` is the clipboard row's.
    std::optional<EventRow> event(int id) const;
    // The clipboard row as it is stored (see above); nullopt when there is none.
    std::optional<EventRow> clipboardRow() const;
    // The rule of the event with this id (exception days parsed); nullopt when there is no
    // such event. Meaningful for a recurring event.
    std::optional<RecurrenceRule> rule(int id) const;
    // IDs of every event in event order, the clipboard row left out.
    std::vector<int> eventIds() const;
    // Calls `visit` for every event in event order, the clipboard row left out. `visit` must
    // not change the store.
    void forEachEvent(const std::function<void(const EventRow &)> &visit) const;
    // IDs, in event order, of the rows that pass the layer filter (setFilterText) and reach
    // the date module's collection window (reachesWindow; every row with the bypass set). The
    // clipboard row is not left out (with the bypass set it always passes).
    std::vector<int> idsInCollectionWindow() const;
    // False while a change is half made (never between calls of this store's functions).
    bool isBrowsing() const { return m_table.state() == Table::State::Browse; }

    // ---- filters ------------------------------------------------------------------------
    // 1 when the first row is the clipboard row, else 0.
    int clipboardCount() const { return m_clipboardCount; }
    // With the bypass set the record filter accepts every row.
    void setFilterBypass(bool on) { m_bypass = on; }
    // The layer filter ("Layer = 3 or Layer = 7", see LayersStore::shownLayersFilter). False,
    // keeping the previous filter, when the text does not parse.
    [[nodiscard]] bool setFilterText(const QString &text) { return m_table.setFilterText(text); }
    QString filterText() const { return m_table.filterText(); }
    // The record filter's test without the bypass: start before the window end and
    // end + extraDays at or after the window start (extraDays: the rule's of a recurring row,
    // 0 for a one-time row).
    bool reachesWindow(SerialDateTime start, SerialDateTime end, int extraDays) const;

    // Called after every post (after the store's own bookkeeping). The main window installs
    // the re-collection of a dragging grid here. Empty function: none.
    void setAfterPostHook(std::function<void()> hook) { m_afterPostHook = std::move(hook); }

    // ---- changes ------------------------------------------------------------------------
    // Inserts `row` as a new event (its id is ignored; the table assigns one). The pending
    // alarm follows by itself.
    InsertResult insertEvent(EventRow row);
    // Writes every field of `row` but the id to the event with id row.id(). applied false when
    // there is no such event (or it is the clipboard row).
    TableResult updateEvent(const EventRow &row);
    // Writes startTime, endTime and, for a recurring event, its rule's extraDays (a one-time
    // event keeps its empty rule columns).
    // applied false when there is no such event (or it is the clipboard row).
    TableResult updateEventTimes(int id, SerialDateTime start, SerialDateTime end, int extraDays);
    // Deletes one event (or the clipboard row, by its id) and its pending alarm. applied false
    // when there is no such row.
    TableResult deleteEvent(int id);
    // Deletes every row, the clipboard row too.
    TableResult deleteAllEvents();

    // Rows whose Layer equals `layerId`, the clipboard row not counted.
    int countLayerEvents(int layerId) const;
    // Sets Layer of each listed event (IDs in decimal text; unparsable or unknown IDs and
    // the clipboard row are skipped). count: events moved. Not ok, with the error, when a
    // change could not be made or written (the others are still made).
    StoreResult moveToLayer(const QStringList &ids, int layerId);
    // Deletes every event of these layers (the clipboard row stays) with its pending alarm, in
    // one write. count: events deleted. Not ok, with the error, when the write failed (the
    // events are gone from memory all the same and the table retries the write).
    StoreResult deleteEventsOfLayers(const QList<int> &layerIds);
    // Inserts a copy of event `id` (every field, ExceptionList and Updates included) into
    // `layerId`. Not applied when there is no such event or `id` is the clipboard row.
    InsertResult duplicateToLayer(int id, int layerId);
    // Replaces the clipboard row with a copy of event `id`. False, leaving the clipboard as it
    // was, when no such event exists (or `id` is the clipboard row itself) or the copy could
    // not be added.
    [[nodiscard]] bool copyToClipboard(int id);

    enum class PasteMode {
        AtSelectedTime, // day and week views: the event starts at the selected date-time
        OnSelectedDay   // month and year views: the selected day at the copied time of day
    };
    // Inserts a new event from the clipboard row: in the copied layer, or the layer at
    // position 1 when that layer is gone; start from `selected` as `mode` says; the copied
    // duration; a recurring event's end of recurrence fixed again from the new start. The
    // clipboard row stays. Returns the new event's id; nullopt when there is no clipboard row
    // or the insert failed.
    [[nodiscard]] std::optional<int> paste(SerialDateTime selected, PasteMode mode);

    // ---- single occurrences of a recurring event ----------------------------------------
    // `day` is a whole day number. Both refuse (applied false, nothing changed) when `id` is
    // no recurring event or it has no occurrence starting on `day` (an excluded day has none).
    // Adds `day` to the event's exception days: the occurrence is gone, the rule stays.
    TableResult excludeOccurrence(int id, int day);
    // Excludes the occurrence on `day` and inserts it as a one-time event: the rule's layer,
    // all-day flag, alarm, subject and description; its start and end times of day on `day`
    // and `day` + extraDays; no rule columns, exception list or updates. Both rows reach the
    // file in one write. Returns the new event's id.
    InsertResult breakOutOccurrence(int id, int day);

    // ---- occurrences and collections ---------------------------------------------------
    // Adds the occurrences of the recurring event `id` that belong to the displayed span
    // (the date module's spanStart .. spanEnd) to the occurrence list. Returns how many (0
    // when there is no such event).
    int expandOccurrences(int id);
    // The same for the span of days [firstDay, endDay).
    int expandOccurrences(int id, int firstDay, int endDay);
    const OccurrenceList &occurrences() const { return m_occurrences; }

    // Fill the collections that the views read. Each sets the collection window in the date
    // module, clears the cells it covers and the occurrence list, and feeds every item of
    // the shown layers inside the window, in event order (occurrences merged in), to the
    // collection. Occurrences are expanded over the displayed span [F, S). Cost: the rows
    // that start inside the window or at most the longest one-time duration before it, plus
    // the recurring rows.
    void collectDayView(const DaySpanCollection::Request &request);
    // F = firstDay (first shown day), S = spanEnd; week rows a..b.
    void collectMonthView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstWeek,
                          int lastWeek);
    // firstDay: a day of the first shown month; S = spanEnd; month columns a..b.
    void collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstMonth,
                         int lastMonth);
    // The items the collections would be fed for `window` (occurrences expanded over the days
    // [firstDay, endDay)), in event order, without any collection: for exports, checks and
    // comparisons. Sets the collection window in the date module like the collections do.
    void collectItems(const CollectionWindow &window, int firstDay, int endDay,
                      const std::function<void(const SpanSourceItem &)> &add);
    SpanCollections &collections() { return *m_spans; }
    const SpanCollections &collections() const { return *m_spans; }
    const EventWalkIndex &walkIndex() const { return m_index; }

    // ---- start-up, conversion, saving ----------------------------------------------------
    // Replaces every row with the rows of the table file at `path`, keeping their ids, and
    // writes them to the events file from then on (see OldDataConversion). False, with the
    // events file loaded again, when `path` is no readable table file or the events file
    // cannot be written; an unreadable file is set aside by the table, and the empty file the
    // table made in its place is removed.
    [[nodiscard]] bool adoptRowsOf(const QString &path);

    // Saves to `dir` + "Events.cds" (dir ends with "/").
    TableResult saveTo(const QString &dir);
    TableResult save() { return saveTo(m_dataDir); }
    // A consistent copy of the table file at `path` (see Table::backupTo).
    TableResult backupTo(const QString &path) { return m_table.backupTo(path); }
    // The table file's write state (see TableWrites).
    TableWrites writes() { return TableWrites(m_table); }
    // Bulk changes: see Table::beginBulk. endBulk() returns the one write's outcome.
    void beginBulk() { m_table.beginBulk(); }
    TableResult endBulk() { return m_table.inBulk() ? m_table.endBulk() : TableResult{}; }

    // ---- undo log ---------------------------------------------------------------------------
    // The row as an event line of the undo log and layer files; `layerNumber` replaces the
    // layer id (a layer file's layer number).
    static QString eventLine(const EventRow &row, std::optional<int> layerNumber = std::nullopt);
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
    // Start-up step and at every change of day: EventArchive::archiveOldEvents() for this
    // store, its layers and its clock. count: events archived.
    StoreResult archiveOldEvents();
    // What the archiving at start-up did (for the window to report a failure).
    const StoreResult &startupArchiveResult() const { return m_startupArchive; }
    // EventArchive::archivePath().
    static QString archivePath(const QString &dataDir);

    // ---- alarms -------------------------------------------------------------------------
    // Start-up step and after every change of day: rebuilds the pending-alarm list from every
    // event with alarmSet (clipboard row skipped). Snoozed reminders (id -1) are kept.
    void fillPendingAlarms();
    // Refreshes the pending alarm of one event: drops its entry and adds the current one when
    // the event exists with alarmSet. Runs after every post by itself.
    void refreshPendingAlarm(int id);
    const PendingAlarms &pendingAlarms() const { return m_alarms; }
    // At start: the listed alarms of recurring events due at or before `lastCheck` rang before
    // the program last stopped; they are dropped and not listed again that day. One-time
    // events keep theirs (alarmSet still on means it never rang).
    void forgetAlarmsRungBy(SerialDateTime lastCheck);
    // The occurrences of recurring events with alarmSet whose alarm fell due in `missed`, while
    // no program ran (AlarmRules::missedAlarmEntries for each event, so capped), in alarm-time
    // order, oldest first. The occurrence already in the pending list and those that rang in
    // this run are left out. Empty when there are none.
    QList<AlarmEntry> missedOccurrenceAlarms(const MissedWindow &missed) const;
    // First tick after a start: those alarms are handed on by the next writeDueAlarms (in one
    // write, merged in alarm-time order with the due pending alarms) and then dropped; they
    // never join the pending list. Replaces what an earlier call kept. Returns how many.
    int takeMissedOccurrenceAlarms(const MissedWindow &missed);
    // Moves the due alarms, and the missed ones taken above, to "alarm.dat"; a one-time event
    // that rang loses alarmSet. When the file cannot be written the list, the missed alarms
    // and the table stay as they were.
    AlarmRules::DueWriteResult writeDueAlarms();
    // Takes the snoozed reminders out of "snooze.dat" and applies them (codes 0 and 1 re-arm
    // the event, 2 to 14 add a reminder from now). A file that does not parse changes nothing
    // (it is set aside by the reader). count: requests applied.
    StoreResult readSnoozeFile();

private:
    void installTableHooks();
    void rebuildWalkIndex();
    void detectClipboard();
    const Clock &clock() const { return m_clock; }
    // Makes the row with this id current (the clipboard row too); false when there is none.
    bool locate(int id) { return m_table.locate(int(EventField::Id), id); }
    // Slot of the event with this id; -1 when there is none or it is the clipboard row.
    int eventSlot(int id) const;
    // Whether the row in `slot` is recurring with an occurrence starting on `day`.
    bool hasOccurrenceOn(int slot, int day) const;
    bool isClipboardSlot(int slot) const;
    EventRow rowInSlot(int slot) const;
    // Posted values of one field in `slot` (0, 0.0 or empty for null).
    int intIn(int slot, EventField f) const { return m_table.column(int(f)).ints[slot]; }
    SerialDateTime timeIn(int slot, EventField f) const
    {
        return m_table.column(int(f)).reals[slot];
    }
    const QString &textIn(int slot, EventField f) const
    {
        return m_table.column(int(f)).texts[slot];
    }
    // What each occurrence of the row in `slot` copies.
    OccurrenceSource sourceInSlot(int slot) const;
    // Indexes the row in `slot` in the walk index (the clipboard row as absent).
    void indexRow(int slot);
    // The rule columns of the row in `slot` as a rule (exception days parsed).
    RecurrenceRule ruleInSlot(int slot) const;
    // The current row (used by the table's callbacks, which run with the cursor on the row).
    int currentSlot() const { return m_table.bookmark().slot; }
    AlarmRules::EventAlarmSource alarmSourceOf(int slot) const;
    std::optional<AlarmEntry> alarmEntryOf(int slot, SerialDateTime today);
    // Adds and posts a row from values in field order (the id ignored).
    InsertResult insertValues(const QVariantList &values);
    // Edits the event (not the clipboard row) and posts; applied false when there is none.
    TableResult writeFields(int id, std::initializer_list<std::pair<EventField, QVariant>> values);
    template <class AddItem>
    void walkWindow(const CollectionWindow &window, int firstDay, int endDay, AddItem &&add);

    Table m_table;
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
    const Clock &m_clock;
    PendingAlarms m_alarms;
    // Occurrences of recurring events whose alarm already rang (event id, alarm ms), so a
    // refresh on the same day does not ring them again.
    QSet<std::pair<int, qint64>> m_fired;
    // Missed occurrences taken at start and not yet written (see takeMissedOccurrenceAlarms).
    QList<AlarmEntry> m_missedAlarms;
    StoreResult m_startupArchive;
};
