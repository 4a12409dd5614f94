#include "store/EventsStore.h"

#include "core/TextCompare.h"
#include "core/ViewDates.h"
#include "store/CursorGuard.h"
#include "store/EventArchive.h"
#include "store/ExceptionList.h"
#include "store/LayersStore.h"
#include "store/RecordLines.h"
#include "store/RecurrenceColumns.h"
#include "store/RecurrenceRule.h"
#include "store/UndoLog.h"

#include <QFile>
#include <algorithm>
#include <climits>

TableSchema EventsStore::schema()
{
    TableSchema s;
    s.fields = {{"ID", FieldType::AutoInc},           {"Layer", FieldType::Integer},
                {"StartTime", FieldType::DateTime},   {"EndTime", FieldType::DateTime},
                {"AllDay", FieldType::Boolean},       {"AlarmSet", FieldType::Boolean},
                {"AlarmAdvTime", FieldType::Integer}, {"AlarmAdvUnit", FieldType::Integer},
                {"Subject", FieldType::Text, 256},    {"Description", FieldType::Memo},
                {"Recurrent", FieldType::Boolean},    {"RadioButton1", FieldType::Integer},
                {"RadioButton2", FieldType::Integer}, {"RadioButton3", FieldType::Integer},
                {"Edit1", FieldType::Integer},        {"Edit2", FieldType::Integer},
                {"Edit3", FieldType::Integer},        {"ComboBox1", FieldType::Integer},
                {"ComboBox2", FieldType::Integer},    {"ComboBox3", FieldType::Integer},
                {"ComboBox4", FieldType::Integer},    {"Weekdays", FieldType::Text, 7},
                {"ExceptionList", FieldType::Blob},   {"Updates", FieldType::Blob}};
    s.indexes = {{"INDEX", {{"StartTime"}, {"EndTime", true}, {"Subject"}, {"ID"}}}};
    return s;
}

EventsStore::EventsStore(const QString &dataDir, LayersStore &layers, ViewDates &time,
                         const Clock &clock)
    : m_table(schema()), m_dataDir(dataDir), m_layers(layers), m_time(time),
      m_spans(std::make_unique<SpanCollections>()), m_clock(clock)
{
    m_table.setClock(&clock);
    // "INDEX" is in the schema, so neither call can fail.
    (void)m_table.setActiveIndex("INDEX");
    installTableHooks();
    m_load = m_table.load(m_dataDir + FileName); // the after-reset hook indexes the rows
    (void)m_table.setActiveIndex("INDEX");
    m_table.first();
    m_bypass = false;
    m_startupArchive = archiveOldEvents();
    fillPendingAlarms();
}

EventsStore::~EventsStore()
{
    m_afterPostHook = nullptr;
    // Nothing is left to tell at destruction; the window saves (and reports) before it.
    (void)save();
    m_table.setAfterPost(nullptr);
    m_table.setBeforeDelete(nullptr);
    m_table.setAfterReset(nullptr);
}

void EventsStore::installTableHooks()
{
    m_table.setAfterPost([this](Table &) {
        const int slot = currentSlot();
        indexRow(slot);
        if (!isClipboardSlot(slot)) refreshPendingAlarm(intIn(slot, EventField::Id));
        if (m_afterPostHook) m_afterPostHook();
    });
    m_table.setBeforeDelete([this](Table &) {
        const int slot = currentSlot();
        m_index.remove(intIn(slot, EventField::Id));
        if (isClipboardSlot(slot) && m_table.recNo() == 1) m_clipboardCount = 0;
    });
    m_table.setAfterReset([this](Table &) {
        rebuildWalkIndex();
        detectClipboard();
    });
}

// ---- reading by slot ------------------------------------------------------------------------

bool EventsStore::isClipboardSlot(int slot) const
{
    return timeIn(slot, EventField::StartTime) < ClipboardBelow;
}

int EventsStore::eventSlot(int id) const
{
    const int slot = m_table.slotOfId(id);
    return slot < 0 || isClipboardSlot(slot) ? -1 : slot;
}

EventRow EventsStore::rowInSlot(int slot) const
{
    EventRow row;
    for (int f = 0; f < EventRow::FieldCount; ++f)
        row[EventField(f)] = m_table.valueAt(slot, f);
    return row;
}

RecurrenceRule EventsStore::ruleInSlot(int slot) const
{
    return RecurrenceColumns::readRule(m_table, slot);
}

OccurrenceSource EventsStore::sourceInSlot(int slot) const
{
    return {intIn(slot, EventField::Id), intIn(slot, EventField::Layer),
            intIn(slot, EventField::AlarmSet) != 0, textIn(slot, EventField::Subject),
            textIn(slot, EventField::Description)};
}

void EventsStore::indexRow(int slot)
{
    const int id = intIn(slot, EventField::Id);
    if (isClipboardSlot(slot)) {
        m_index.remove(id);
    } else if (intIn(slot, EventField::Recurring) != 0) {
        m_index.updateRecurring({slot, ruleInSlot(slot), sourceInSlot(slot)});
    } else {
        m_index.updateOneTime(id, timeIn(slot, EventField::StartTime),
                              timeIn(slot, EventField::EndTime));
    }
}

void EventsStore::rebuildWalkIndex()
{
    m_index.clear();
    for (int n = 1; n <= m_table.recordCount(); ++n)
        indexRow(m_table.slotAt(n));
}

void EventsStore::detectClipboard()
{
    const int first = m_table.slotAt(1);
    m_clipboardCount = first >= 0 && isClipboardSlot(first) ? 1 : 0;
}

bool EventsStore::reachesWindow(SerialDateTime start, SerialDateTime end, int extraDays) const
{
    if (!(start < m_time.windowEnd())) return false;
    const SerialDateTime windowStart = m_time.windowStart();
    return end >= windowStart || (extraDays != 0 && end + extraDays >= windowStart);
}

// ---- reading --------------------------------------------------------------------------------

std::optional<EventRow> EventsStore::event(int id) const
{
    const int slot = eventSlot(id);
    if (slot < 0) return std::nullopt;
    return rowInSlot(slot);
}

std::optional<EventRow> EventsStore::clipboardRow() const
{
    if (m_clipboardCount != 1) return std::nullopt;
    return rowInSlot(m_table.slotAt(1));
}

std::optional<RecurrenceRule> EventsStore::rule(int id) const
{
    const int slot = eventSlot(id);
    if (slot < 0) return std::nullopt;
    return ruleInSlot(slot);
}

std::vector<int> EventsStore::eventIds() const
{
    std::vector<int> ids;
    ids.reserve(std::size_t(eventCount()));
    for (int n = 1 + m_clipboardCount; n <= m_table.recordCount(); ++n)
        ids.push_back(intIn(m_table.slotAt(n), EventField::Id));
    return ids;
}

void EventsStore::forEachEvent(const std::function<void(const EventRow &)> &visit) const
{
    for (int n = 1 + m_clipboardCount; n <= m_table.recordCount(); ++n)
        visit(rowInSlot(m_table.slotAt(n)));
}

std::vector<int> EventsStore::idsInCollectionWindow() const
{
    std::vector<int> ids;
    for (int n = 1; n <= m_table.recordCount(); ++n) {
        const int slot = m_table.slotAt(n);
        if (!m_table.filterTextAccepts(slot)) continue;
        const int extraDays = RecurrenceColumns::extraDaysOfSlot(m_table, slot);
        if (!m_bypass && !reachesWindow(timeIn(slot, EventField::StartTime),
                                        timeIn(slot, EventField::EndTime), extraDays))
            continue;
        ids.push_back(intIn(slot, EventField::Id));
    }
    return ids;
}

int EventsStore::countLayerEvents(int layerId) const
{
    int n = 0;
    for (int pos = 1 + m_clipboardCount; pos <= m_table.recordCount(); ++pos)
        n += intIn(m_table.slotAt(pos), EventField::Layer) == layerId;
    return n;
}

// ---- changes --------------------------------------------------------------------------------

namespace
{
TableResult noSuchEvent()
{
    return {false, false, QStringLiteral("The event does not exist.")};
}
} // namespace

InsertResult EventsStore::insertValues(const QVariantList &values)
{
    InsertResult r;
    const int id = m_table.nextAutoIncValue();
    r.table = m_table.insertRow(values);
    if (r.table.applied) r.id = id;
    return r;
}

InsertResult EventsStore::insertEvent(EventRow row)
{
    row[EventField::Id] = QVariant();
    return insertValues(row.values());
}

TableResult EventsStore::writeFields(int id,
                                     std::initializer_list<std::pair<EventField, QVariant>> values)
{
    if (eventSlot(id) < 0 || !locate(id) || !m_table.edit()) return noSuchEvent();
    for (const auto &[f, v] : values)
        (void)m_table.setValue(int(f), v); // a field of the schema other than the id
    return m_table.post();
}

TableResult EventsStore::updateEvent(const EventRow &row)
{
    if (eventSlot(row.id()) < 0 || !locate(row.id()) || !m_table.edit()) return noSuchEvent();
    for (int f = int(EventField::Layer); f < EventRow::FieldCount; ++f)
        (void)m_table.setValue(f, row[EventField(f)]); // a field of the schema, not the id
    return m_table.post();
}

TableResult EventsStore::updateEventTimes(int id, SerialDateTime start, SerialDateTime end,
                                          int extraDays)
{
    std::optional<EventRow> row = event(id);
    if (!row) return noSuchEvent();
    (*row)[EventField::StartTime] = start;
    (*row)[EventField::EndTime] = end;
    RecurrenceColumns::setExtraDays(*row, extraDays);
    return updateEvent(*row);
}

TableResult EventsStore::deleteEvent(int id)
{
    if (!locate(id)) return noSuchEvent();
    const TableResult r = m_table.deleteRow();
    refreshPendingAlarm(id);
    return r;
}

TableResult EventsStore::deleteAllEvents()
{
    const TableResult r = m_table.emptyTable();
    m_alarms.clear();
    return r;
}

StoreResult EventsStore::moveToLayer(const QStringList &ids, int layerId)
{
    StoreResult result;
    for (const QString &text : ids) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        if (!ok || eventSlot(id) < 0) continue;
        const TableResult r = writeFields(id, {{EventField::Layer, layerId}});
        if (r.applied) ++result.count;
        result.noteFailure(r.ok(), r.error);
    }
    return result;
}

StoreResult EventsStore::deleteEventsOfLayers(const QList<int> &layerIds)
{
    std::vector<int> ids;
    forEachEvent([&](const EventRow &row) {
        if (layerIds.contains(row.layer())) ids.push_back(row.id());
    });
    StoreResult result;
    m_table.beginBulk();
    for (int id : ids)
        if (deleteEvent(id).applied) ++result.count;
    const TableResult written = m_table.endBulk();
    result.noteFailure(written.ok(), written.error);
    return result;
}

InsertResult EventsStore::duplicateToLayer(int id, int layerId)
{
    const int slot = eventSlot(id);
    if (slot < 0) return {};
    EventRow values = rowInSlot(slot);
    values[EventField::Id] = QVariant();
    values[EventField::Layer] = layerId;
    return insertValues(values.values());
}

namespace
{
SerialDateTime fromDayAndMs(qint64 day, qint64 msOfDay)
{
    return DateTimeValue::fromMs(day * DateTimeValue::MsPerDay + msOfDay);
}
} // namespace

bool EventsStore::copyToClipboard(int id)
{
    const int slot = eventSlot(id);
    if (slot < 0) return false;
    EventRow values = rowInSlot(slot);
    const SerialDateTime start = values.startTime();
    const SerialDateTime end = values.endTime();
    values[EventField::Id] = QVariant();
    values[EventField::Layer] = -values.layer();
    values[EventField::StartTime] = fromDayAndMs(-ClipboardOffset, DateTimeValue::msOfDay(start));
    const qint64 durationMs = DateTimeValue::toMs(end) - DateTimeValue::toMs(start);
    values[EventField::EndTime] =
        DateTimeValue::fromMs(durationMs - qint64(ClipboardOffset) * DateTimeValue::MsPerDay);
    if (m_clipboardCount == 1) {
        m_table.first();
        if (!m_table.deleteRow().applied) return false; // the before-delete step clears the count
        m_clipboardCount = 0;
    }
    if (!m_table.insertRow(values.values()).applied) return false;
    m_clipboardCount = 1;
    return true;
}

std::optional<int> EventsStore::paste(SerialDateTime selected, PasteMode mode)
{
    if (m_clipboardCount != 1) return std::nullopt;
    const int slot = m_table.slotAt(1);
    EventRow values = rowInSlot(slot);
    const qint64 offsetMs = qint64(ClipboardOffset) * DateTimeValue::MsPerDay;
    const qint64 clipStartMs = DateTimeValue::toMs(values.startTime()) + offsetMs; // time of day
    const qint64 clipDurationMs = DateTimeValue::toMs(values.endTime()) + offsetMs;
    const int layer = m_layers.layerOrFirst(-values.layer());

    const qint64 startMs =
        mode == PasteMode::AtSelectedTime
            ? DateTimeValue::toMs(selected)
            : qint64(DateTimeValue::dayOf(selected)) * DateTimeValue::MsPerDay + clipStartMs;
    const SerialDateTime start = DateTimeValue::fromMs(startMs);
    SerialDateTime end = DateTimeValue::fromMs(startMs + clipDurationMs);

    if (values.isRecurring()) {
        RecurrenceRule r = ruleInSlot(slot);
        r.startTime = start;
        r.endTime = end;
        const int endMsOfDay = DateTimeValue::msOfDay(end);
        std::optional<int> day;
        if (r.endRule == RecurrenceRule::EndRule::OnDate) {
            day = nthOccurrenceDay(r, 1);
            if (day && DateTimeValue::dayOf(end) >= *day) day.reset();
        } else if (r.endRule == RecurrenceRule::EndRule::AfterCount) {
            day = nthOccurrenceDay(r, r.occurrenceCount);
        }
        // No such occurrence (a rule that cannot advance): the shifted end stays.
        if (day) end = fromDayAndMs(*day, endMsOfDay);
    }

    values[EventField::Id] = QVariant();
    values[EventField::Layer] = layer;
    values[EventField::StartTime] = start;
    values[EventField::EndTime] = end;
    const InsertResult r = insertValues(values.values()); // the after-post step sets its alarm
    if (!r.applied()) return std::nullopt;
    return r.id;
}

// ---- single occurrences ---------------------------------------------------------------------

bool EventsStore::hasOccurrenceOn(int slot, int day) const
{
    if (intIn(slot, EventField::Recurring) == 0) return false;
    const RecurrenceRule r = ruleInSlot(slot);
    // Starting the span extraDays after `day` admits start days from `day` on only.
    const qint64 first =
        std::clamp<qint64>(qint64(day) + std::max(r.extraDays, 0), INT_MIN, INT_MAX);
    std::vector<int> days;
    expandOccurrenceDays(r, int(first), day + 1, 1, days);
    return !days.empty() && days.front() == day;
}

namespace
{
TableResult noSuchOccurrence()
{
    return {false, false, QStringLiteral("The event has no such occurrence.")};
}
} // namespace

TableResult EventsStore::excludeOccurrence(int id, int day)
{
    const int slot = eventSlot(id);
    if (slot < 0 || !hasOccurrenceOn(slot, day)) return noSuchOccurrence();
    const QByteArray list = appendExceptionDay(
        m_table.column(int(EventField::ExceptionList)).bytes[std::size_t(slot)], day);
    return writeFields(id, {{EventField::ExceptionList, list}});
}

InsertResult EventsStore::breakOutOccurrence(int id, int day)
{
    const int slot = eventSlot(id);
    if (slot < 0 || !hasOccurrenceOn(slot, day)) return {-1, noSuchOccurrence()};
    const EventRow series = rowInSlot(slot);
    const RecurrenceRule r = ruleInSlot(slot);
    EventRow single;
    for (EventField f :
         {EventField::Layer, EventField::AllDay, EventField::AlarmSet, EventField::AlarmAdvance,
          EventField::AlarmAdvanceUnit, EventField::Subject, EventField::Description})
        single[f] = series[f];
    single[EventField::StartTime] = fromDayAndMs(day, DateTimeValue::msOfDay(r.startTime));
    single[EventField::EndTime] =
        fromDayAndMs(qint64(day) + r.extraDays, DateTimeValue::msOfDay(r.endTime));
    single[EventField::Recurring] = false;

    m_table.beginBulk();
    InsertResult result = insertValues(single.values());
    if (result.applied()) {
        const TableResult excluded =
            writeFields(id, {{EventField::ExceptionList,
                              appendExceptionDay(series.bytes(EventField::ExceptionList), day)}});
        if (!excluded.applied) {
            // Take the new row back so that the occurrence is never shown twice.
            if (locate(result.id)) (void)m_table.deleteRow();
            refreshPendingAlarm(result.id);
            result = {-1, excluded};
        }
    }
    const TableResult written = m_table.endBulk();
    if (result.applied() && !written.written) {
        result.table.written = false;
        result.table.error = written.error;
    }
    return result;
}

// ---- start-up -------------------------------------------------------------------------------

bool EventsStore::adoptRowsOf(const QString &path)
{
    const auto backToEventsFile = [this] {
        m_load = m_table.load(m_dataDir + FileName);
        (void)m_table.setActiveIndex("INDEX"); // in the schema: cannot fail
        m_table.first();
    };
    const TableLoadResult loaded = m_table.load(path);
    if (loaded.status != TableLoadResult::Loaded) {
        if (loaded.status != TableLoadResult::Failed) {
            // Nothing was written to the empty file made in its place; only its removal matters.
            (void)m_table.close();
            QFile::remove(path);
        }
        backToEventsFile();
        return false;
    }
    (void)m_table.setActiveIndex("INDEX"); // in the schema: cannot fail
    if (!m_table.save(m_dataDir + FileName).ok()) {
        backToEventsFile();
        return false;
    }
    m_table.first();
    return true;
}

// ---- saving ---------------------------------------------------------------------------------

TableResult EventsStore::saveTo(const QString &dir)
{
    return m_table.save(dir + FileName);
}

// ---- archive --------------------------------------------------------------------------------

StoreResult EventsStore::archiveOldEvents()
{
    return EventArchive::archiveOldEvents(*this, m_layers, clock());
}

QString EventsStore::archivePath(const QString &dataDir)
{
    return EventArchive::archivePath(dataDir);
}

// ---- collection walk ------------------------------------------------------------------------
// The events store's collection walk: the rows of the shown layers inside a window, in event
// order, with the occurrences of recurring rows merged in.

int EventsStore::expandOccurrences(int id)
{
    return expandOccurrences(id, DateTimeValue::dayOf(m_time.spanStart()),
                             DateTimeValue::dayOf(m_time.spanEnd()));
}

int EventsStore::expandOccurrences(int id, int firstDay, int endDay)
{
    const int slot = eventSlot(id);
    if (slot < 0) return 0;
    return m_occurrences.addRule(ruleInSlot(slot), sourceInSlot(slot), firstDay, endDay);
}

namespace
{

// Whether the occurrence goes before the row: the row wins every tie.
bool occurrenceFirst(const SpanSourceItem &o, SerialDateTime start, SerialDateTime end,
                     const QString &subject)
{
    if (o.startTime != start) return o.startTime < start;
    if (o.endTime != end) return o.endTime > end;
    return compareText(o.subject, subject) < 0;
}

// A one-time row may start this long before the longest duration says, for rounding.
constexpr double SeekSlack = 1.0 / 86400.0;

} // namespace

// The walk: the occurrences of every recurring row that passes the filters, expanded in index
// order (so the 500-slot cap drops the same ones as a walk over the table would), then the
// one-time rows that pass the filters from the first row that can reach the window up to the
// first row that starts at or after its end, with the occurrences merged in. Every occurrence
// is merged in event order, also one that ends after its rule's endTime.
//
// The recurring rows come from the walk index (no look-up in the table); the one-time rows
// are read by slot straight from the columns, texts only for the rows that are fed. The
// filters are the table's: the filter text by slot, the record filter's test (reachesWindow)
// on the values. `add` must not change the table.
template <class AddItem>
void EventsStore::walkWindow(const CollectionWindow &window, int firstDay, int endDay,
                             AddItem &&add)
{
    const CursorGuard keep(m_table);
    if (m_table.state() != Table::State::Browse) {
        // Only a change half made by this store can be open here; a failed write of it stays
        // in memory and is retried by the table's next write.
        (void)m_table.post();
    }
    m_time.setWindowStart(window.start);
    m_time.setWindowEnd(window.end);
    m_occurrences.clear();

    for (const EventWalkIndex::RecurringRow &r : m_index.recurringRows()) {
        if (!m_bypass && !reachesWindow(r.rule.startTime, r.rule.endTime, r.rule.extraDays))
            continue;
        if (!m_table.filterTextAccepts(r.slot)) continue;
        m_occurrences.addRule(r.rule, r.source, firstDay, endDay);
    }

    const TableColumn &ids = m_table.column(int(EventField::Id));
    const TableColumn &layers = m_table.column(int(EventField::Layer));
    const TableColumn &starts = m_table.column(int(EventField::StartTime));
    const TableColumn &ends = m_table.column(int(EventField::EndTime));
    const TableColumn &alarms = m_table.column(int(EventField::AlarmSet));
    const TableColumn &subjects = m_table.column(int(EventField::Subject));
    const TableColumn &descriptions = m_table.column(int(EventField::Description));
    const TableColumn &recurrent = m_table.column(int(EventField::Recurring));
    const bool allLayers = m_table.filterTextAcceptsAll();

    // A one-time row reaches the window only when it starts at most the longest duration
    // before the window start; rows are in startTime order, so the walk starts there and
    // ends at the first row that starts at or after the window end.
    const double from = window.start - m_index.longestOneTimeDuration() - SeekSlack;
    int n = m_table.seekFirstAtLeast(int(EventField::StartTime), from) ? m_table.recNo()
                                                                       : m_table.recordCount() + 1;
    const int rows = m_table.recordCount();
    // The next row to feed: its slot, or -1 when no row is left.
    auto nextRow = [&]() -> int {
        for (; n <= rows; ++n) {
            const int slot = m_table.slotAt(n);
            const SerialDateTime start = starts.reals[slot];
            if (!(start < window.end)) {
                n = rows + 1;
                return -1;
            }
            if (start < ClipboardBelow || recurrent.ints[slot] != 0) continue;
            if (!allLayers && !m_table.filterTextAccepts(slot)) continue;
            if (!m_bypass && !reachesWindow(start, ends.reals[slot], 0)) continue;
            return slot;
        }
        return -1;
    };
    int slot = nextRow();
    int pos = 1;
    const int occurrenceCount = m_occurrences.count();
    while (true) {
        if (pos <= occurrenceCount) {
            const SpanSourceItem &o = m_occurrences.inOrder(pos);
            if (slot < 0 ||
                occurrenceFirst(o, starts.reals[slot], ends.reals[slot], subjects.texts[slot])) {
                add(o);
                ++pos;
                continue;
            }
        }
        if (slot < 0) break;
        add(SpanSourceItem{ids.ints[slot], layers.ints[slot], starts.reals[slot], ends.reals[slot],
                           alarms.ints[slot] != 0, subjects.texts[slot], descriptions.texts[slot],
                           false});
        ++n;
        slot = nextRow();
    }
}

void EventsStore::collectDayView(const DaySpanCollection::Request &request)
{
    const CollectionWindow w = m_spans->day.begin(request);
    walkWindow(w, DateTimeValue::dayOf(request.firstDay), DateTimeValue::dayOf(request.spanEnd),
               [this](const SpanSourceItem &i) { m_spans->day.add(i); });
}

void EventsStore::collectMonthView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstWeek,
                                   int lastWeek)
{
    const CollectionWindow w = m_spans->month.begin(firstDay, firstWeek, lastWeek);
    walkWindow(w, DateTimeValue::dayOf(firstDay), DateTimeValue::dayOf(spanEnd),
               [this](const SpanSourceItem &i) { m_spans->month.add(i); });
}

void EventsStore::collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstMonth,
                                  int lastMonth)
{
    const CollectionWindow w = m_spans->year.begin(firstDay, firstMonth, lastMonth);
    walkWindow(w, DateTimeValue::dayOf(m_spans->year.firstDay()), DateTimeValue::dayOf(spanEnd),
               [this](const SpanSourceItem &i) { m_spans->year.add(i); });
}

void EventsStore::collectItems(const CollectionWindow &window, int firstDay, int endDay,
                               const std::function<void(const SpanSourceItem &)> &add)
{
    walkWindow(window, firstDay, endDay, add);
}

// ---- pending alarms -------------------------------------------------------------------------
// The pending event alarms: filling, refreshing, handing due alarms to "alarm.dat" and taking
// snoozed reminders back.

namespace
{
qint64 ms(SerialDateTime t)
{
    return DateTimeValue::toMs(t);
}
} // namespace

namespace
{
// The occurrence of `r` that starts on `day`.
AlarmRules::OccurrenceTimes occurrenceOn(const RecurrenceRule &r, int day)
{
    const qint64 start =
        qint64(day) * DateTimeValue::MsPerDay + DateTimeValue::msOfDay(r.startTime);
    const qint64 end =
        qint64(day + r.extraDays) * DateTimeValue::MsPerDay + DateTimeValue::msOfDay(r.endTime);
    return {DateTimeValue::fromMs(start), DateTimeValue::fromMs(end)};
}
} // namespace

AlarmRules::EventAlarmSource EventsStore::alarmSourceOf(int slot) const
{
    AlarmRules::EventAlarmSource src;
    src.id = intIn(slot, EventField::Id);
    src.startTime = timeIn(slot, EventField::StartTime);
    src.endTime = timeIn(slot, EventField::EndTime);
    src.alarmAdvance = intIn(slot, EventField::AlarmAdvance);
    src.alarmAdvanceUnit = intIn(slot, EventField::AlarmAdvanceUnit);
    src.subject = textIn(slot, EventField::Subject);
    src.description = textIn(slot, EventField::Description);
    if (const auto layer = m_layers.layer(intIn(slot, EventField::Layer))) {
        src.layerName = layer->name;
        src.colorNumber = layer->color;
    }
    return src;
}

std::optional<AlarmEntry> EventsStore::alarmEntryOf(int slot, SerialDateTime today)
{
    const AlarmRules::EventAlarmSource src = alarmSourceOf(slot);
    std::optional<AlarmEntry> entry;
    if (intIn(slot, EventField::Recurring) == 0) {
        entry = AlarmRules::oneTimeAlarmEntry(src, today);
    } else {
        // The real occurrences of the rule, exception days left out: the first whose start is
        // at or after `from`. Only occurrences starting before the day after `from`'s next
        // day can give an alarm before the coming midnight, so later ones are not searched.
        const RecurrenceRule r = ruleInSlot(slot);
        const auto next = [&r](SerialDateTime from) -> std::optional<AlarmRules::OccurrenceTimes> {
            const int fromDay = DateTimeValue::dayOf(from);
            std::vector<int> days;
            expandOccurrenceDays(r, fromDay + r.extraDays, fromDay + 2, 2, days);
            for (int d : days) {
                const AlarmRules::OccurrenceTimes occ = occurrenceOn(r, d);
                if (ms(occ.startTime) >= ms(from)) return occ;
            }
            return std::nullopt;
        };
        entry = AlarmRules::recurringAlarmEntry(src, today, next);
    }
    if (entry && m_fired.contains({entry->id, ms(entry->alarmTime)})) return std::nullopt;
    return entry;
}

QList<AlarmEntry> EventsStore::missedOccurrenceAlarms(const MissedWindow &missed) const
{
    const auto listed = [this](const AlarmEntry &e) {
        return m_alarms.contains(e.id, e.alarmTime) || m_fired.contains({e.id, ms(e.alarmTime)});
    };
    QList<AlarmEntry> out;
    for (int n = 1 + m_clipboardCount; n <= m_table.recordCount(); ++n) {
        const int slot = m_table.slotAt(n);
        if (intIn(slot, EventField::AlarmSet) == 0 || intIn(slot, EventField::Recurring) == 0)
            continue;
        const RecurrenceRule r = ruleInSlot(slot);
        const auto between = [&r](SerialDateTime from, SerialDateTime to) {
            const int fromDay = DateTimeValue::dayOf(from);
            const int toDay = DateTimeValue::dayOf(to);
            std::vector<int> days;
            expandOccurrenceDays(r, fromDay + r.extraDays, toDay + 1, toDay - fromDay + 1, days);
            QList<AlarmRules::OccurrenceTimes> occurrences;
            for (int d : days) {
                const AlarmRules::OccurrenceTimes occ = occurrenceOn(r, d);
                if (ms(occ.startTime) >= ms(from) && ms(occ.startTime) <= ms(to))
                    occurrences.append(occ);
            }
            return occurrences;
        };
        out += AlarmRules::missedAlarmEntries(alarmSourceOf(slot), missed, between, listed);
    }
    std::stable_sort(out.begin(), out.end(), [](const AlarmEntry &a, const AlarmEntry &b) {
        return ms(a.alarmTime) < ms(b.alarmTime);
    });
    return out;
}

int EventsStore::takeMissedOccurrenceAlarms(const MissedWindow &missed)
{
    m_missedAlarms = missedOccurrenceAlarms(missed);
    return int(m_missedAlarms.size());
}

void EventsStore::fillPendingAlarms()
{
    // Snoozed reminders (id -1) belong to no row, so the table cannot give them back: they
    // stay, whatever day they ring on.
    QList<AlarmEntry> snoozed;
    for (const AlarmEntry &e : m_alarms.items())
        if (e.id == -1) snoozed.append(e);
    m_alarms.clear();
    for (const AlarmEntry &e : snoozed)
        m_alarms.add(e);
    const SerialDateTime today = clock().today();
    // Rings of earlier days can no longer come back.
    const qint64 midnight = ms(today);
    for (auto it = m_fired.begin(); it != m_fired.end();)
        it = it->second < midnight ? m_fired.erase(it) : std::next(it);

    for (int n = 1 + m_clipboardCount; n <= m_table.recordCount(); ++n) {
        const int slot = m_table.slotAt(n);
        if (intIn(slot, EventField::AlarmSet) != 0)
            if (const auto entry = alarmEntryOf(slot, today)) m_alarms.add(*entry);
    }
}

void EventsStore::refreshPendingAlarm(int id)
{
    const int slot = eventSlot(id);
    std::optional<AlarmEntry> entry;
    if (slot >= 0 && intIn(slot, EventField::AlarmSet) != 0)
        entry = alarmEntryOf(slot, clock().today());
    AlarmRules::rescheduleAlarm(m_alarms, id, entry);
}

void EventsStore::forgetAlarmsRungBy(SerialDateTime lastCheck)
{
    QList<int> rung;
    for (const AlarmEntry &e : m_alarms.items()) {
        if (ms(e.alarmTime) > ms(lastCheck)) break;
        const int slot = e.id == -1 ? -1 : eventSlot(e.id);
        if (slot < 0 || intIn(slot, EventField::Recurring) == 0) continue;
        m_fired.insert({e.id, ms(e.alarmTime)});
        rung.append(e.id);
    }
    for (int id : rung)
        refreshPendingAlarm(id);
}

AlarmRules::DueWriteResult EventsStore::writeDueAlarms()
{
    return AlarmRules::writeDueAlarms(
        m_alarms, clock().nowValue(), m_dataDir,
        [this](const AlarmEntry &rec) {
            const int slot = rec.id == -1 ? -1 : eventSlot(rec.id);
            if (slot < 0) return;
            if (intIn(slot, EventField::Recurring) != 0) {
                m_fired.insert({rec.id, ms(rec.alarmTime)});
            } else {
                // A one-time alarm rings once. The line is in "alarm.dat" already; a failed
                // write of the flag stays in memory and the table retries it at its next write
                // or save, which report it.
                (void)writeFields(rec.id, {{EventField::AlarmSet, false}});
            }
        },
        &m_missedAlarms);
}

StoreResult EventsStore::readSnoozeFile()
{
    const auto taken = AlarmFiles::takeSnoozeRequests(m_dataDir);
    if (!taken.ok) return StoreResult::failure(taken.error);
    StoreResult result;
    result.count = AlarmRules::applySnoozeRequests(
        taken.requests, m_alarms, clock().nowValue(), [this, &result](int id, int minutesBefore) {
            // The after-post step refreshes its alarm.
            const TableResult r = writeFields(id, {{EventField::AlarmSet, true},
                                                   {EventField::AlarmAdvance, minutesBefore},
                                                   {EventField::AlarmAdvanceUnit, 1}});
            result.noteFailure(!r.applied || r.written, r.error);
        });
    return result;
}

// ---- undo log and imports -------------------------------------------------------------------
// Deleting events with undo, restoring them, and inserting event lines of layer files.

QString EventsStore::eventLine(const EventRow &row, std::optional<int> layerNumber)
{
    return RecordLines::eventLine(row.values(), layerNumber.value_or(row.layer()));
}

StoreResult EventsStore::deleteWithUndo(const QStringList &ids)
{
    QStringList lines;
    QList<int> found;
    for (const QString &text : ids) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        const int slot = ok && !found.contains(id) ? eventSlot(id) : -1;
        if (slot < 0) continue;
        found.append(id);
        lines.append(eventLine(rowInSlot(slot)));
    }
    QString error;
    if (!UndoLog::write(m_dataDir, UndoLog::Section::DeletedEvents, lines, &error))
        return StoreResult::failure(error);
    // One write for the whole selection.
    StoreResult result;
    m_table.beginBulk();
    for (int id : found) {
        const TableResult r = deleteEvent(id);
        if (r.applied) ++result.count;
        result.noteFailure(r.ok(), r.error);
    }
    const TableResult written = m_table.endBulk();
    result.noteFailure(written.ok(), written.error);
    return result;
}

int EventsStore::importEvents(const QList<QVariantList> &rows, const QHash<int, int> &layerMap)
{
    int inserted = 0;
    for (const QVariantList &values : rows) {
        EventRow row(values);
        row[EventField::Layer] = m_layers.layerOrFirst(layerMap.value(row.layer(), 0));
        if (insertEvent(row).applied()) ++inserted; // the after-post step sets its alarm
    }
    return inserted;
}

StoreResult EventsStore::restoreDeletedEvents()
{
    QString error;
    const auto content = UndoLog::read(m_dataDir, &error);
    if (!content) return StoreResult::failure(error);
    if (content->section != UndoLog::Section::DeletedEvents)
        return StoreResult::failure(QStringLiteral("The undo file holds no deleted events."));
    QHash<int, int> sameLayer;
    for (const QVariantList &row : content->events) {
        const int layer = EventRow(row).layer();
        sameLayer.insert(layer, layer);
    }
    StoreResult result;
    m_table.beginBulk();
    result.count = importEvents(content->events, sameLayer);
    const TableResult written = m_table.endBulk();
    result.noteFailure(written.ok(), written.error);
    return result;
}
