#include "store/EventsStore.h"

#include "core/ViewDates.h"
#include "store/LayersStore.h"
#include "store/CursorGuard.h"
#include "store/ExceptionList.h"

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

EventsStore::EventsStore(const QString &dataDir, LayersStore &layers, ViewDates &time, const Clock *clock)
    : m_table(schema()), m_dataDir(dataDir), m_layers(layers), m_time(time),
      m_spans(std::make_unique<SpanCollections>()), m_clock(clock)
{
    m_table.setClock(clock);
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
    m_table.setRecordFilter(nullptr);
}

void EventsStore::installTableHooks()
{
    m_table.setRecordFilter([this](const Table &t) { return inCollectionWindow(t); });
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
    RecurrenceRule r;
    r.RadioButton1 = intIn(slot, EventField::RadioButton1);
    r.RadioButton2 = intIn(slot, EventField::RadioButton2);
    r.RadioButton3 = intIn(slot, EventField::RadioButton3);
    r.Edit1 = intIn(slot, EventField::Edit1);
    r.Edit2 = intIn(slot, EventField::Edit2);
    r.Edit3 = intIn(slot, EventField::Edit3);
    r.ComboBox1 = intIn(slot, EventField::ComboBox1);
    r.ComboBox2 = intIn(slot, EventField::ComboBox2);
    r.ComboBox3 = intIn(slot, EventField::ComboBox3);
    r.ComboBox4 = intIn(slot, EventField::ComboBox4);
    r.Weekdays = textIn(slot, EventField::Weekdays);
    r.startTime = timeIn(slot, EventField::StartTime);
    r.endTime = timeIn(slot, EventField::EndTime);
    r.exceptionDays =
        parseExceptionList(m_table.column(int(EventField::ExceptionList)).bytes[slot]);
    return r;
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

bool EventsStore::inCollectionWindow(const Table &t) const
{
    if (m_bypass) return true;
    return reachesWindow(t.asDateTime(int(EventField::StartTime)),
                         t.asDateTime(int(EventField::EndTime)),
                         t.asBoolean(int(EventField::Recurring))
                             ? t.asInteger(int(EventField::ComboBox1))
                             : 0);
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
        const int extraDays =
            intIn(slot, EventField::Recurring) != 0 ? intIn(slot, EventField::ComboBox1) : 0;
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

InsertResult EventsStore::insertEvent(const EventRow &row)
{
    EventRow values = row;
    values[EventField::Id] = QVariant();
    return insertValues(values.values());
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
    return writeFields(id, {{EventField::StartTime, start},
                            {EventField::EndTime, end},
                            {EventField::ComboBox1, extraDays}});
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
        if (!r.ok() && result.ok) {
            result.ok = false;
            result.error = r.error;
        }
    }
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
        if (r.RadioButton3 == 1) {
            day = nthOccurrenceDay(r, 1);
            if (day && DateTimeValue::dayOf(end) >= *day) day.reset();
        } else if (r.RadioButton3 == 2) {
            day = nthOccurrenceDay(r, r.Edit3);
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

// ---- saving ---------------------------------------------------------------------------------

TableResult EventsStore::saveTo(const QString &dir)
{
    return m_table.save(dir + FileName);
}
