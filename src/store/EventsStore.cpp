#include "store/EventsStore.h"

#include "core/ViewDates.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"

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
    : CDS(schema()), m_dataDir(dataDir), m_layers(layers), m_time(time),
      m_spans(std::make_unique<SpanCollections>()), m_clock(clock)
{
    CDS.setClock(clock);
    CDS.setActiveIndex("INDEX");
    installTableHooks();
    m_load = CDS.load(m_dataDir + FileName); // the after-reset hook indexes the rows
    CDS.setActiveIndex("INDEX");
    CDS.first();
    m_bypass = false;
    archiveOldEvents();
    fillPendingAlarms();
}

EventsStore::~EventsStore()
{
    m_afterPostHook = nullptr;
    save();
    CDS.setAfterPost(nullptr);
    CDS.setBeforeDelete(nullptr);
    CDS.setAfterReset(nullptr);
    CDS.setRecordFilter(nullptr);
}

void EventsStore::installTableHooks()
{
    CDS.setRecordFilter([this](const Table &t) { return inCollectionWindow(t); });
    CDS.setAfterPost([this](Table &) {
        indexCurrentRow();
        if (currentStartTime() >= ClipboardBelow) refreshPendingAlarm(currentId());
        if (m_afterPostHook) m_afterPostHook();
        CDS.mergeChangeLog();
    });
    CDS.setBeforeDelete([this](Table &) {
        m_index.remove(currentId());
        if (currentStartTime() < ClipboardBelow && CDS.recNo() == 1) m_clipboardCount = 0;
    });
    CDS.setAfterReset([this](Table &) {
        rebuildWalkIndex();
        detectClipboard();
    });
}

void EventsStore::indexCurrentRow()
{
    if (currentStartTime() < ClipboardBelow) {
        m_index.remove(currentId());
    } else if (currentIsRecurring()) {
        m_index.updateRecurring(
            {CDS.bookmark().slot, rule(), {currentId(), currentLayer(), currentAlarmSet(), currentSubject(), currentDescription()}});
    } else {
        m_index.updateOneTime(currentId(), currentStartTime(), currentEndTime());
    }
}

void EventsStore::rebuildWalkIndex()
{
    m_index.clear();
    const Table::Bookmark here = CDS.bookmark();
    for (CDS.first(); !CDS.isEmpty() && !CDS.eof(); CDS.next())
        indexCurrentRow();
    if (!CDS.gotoBookmark(here)) CDS.first();
}

void EventsStore::detectClipboard()
{
    const Table::Bookmark here = CDS.bookmark();
    CDS.first();
    m_clipboardCount = !CDS.isEmpty() && currentStartTime() < ClipboardBelow ? 1 : 0;
    if (!CDS.gotoBookmark(here)) CDS.first();
}

bool EventsStore::inCollectionWindow(const Table &t) const
{
    if (m_bypass) return true;
    return reachesWindow(t.asDateTime(F_StartTime), t.asDateTime(F_EndTime),
                         RecurrenceColumns::extraDaysOfRow(t));
}

bool EventsStore::reachesWindow(SerialDateTime start, SerialDateTime end, int extraDays) const
{
    if (!(start < m_time.windowEnd())) return false;
    const SerialDateTime windowStart = m_time.windowStart();
    return end >= windowStart || (extraDays != 0 && end + extraDays >= windowStart);
}

RecurrenceRule EventsStore::rule() const
{
    return RecurrenceColumns::readRule(CDS);
}

QVariantList EventsStore::rowValues() const
{
    QVariantList values;
    values.reserve(CDS.fieldCount());
    for (int f = 0; f < CDS.fieldCount(); ++f)
        values << CDS.value(f);
    return values;
}

// ---- operations ------------------------------------------------------------------------------

int EventsStore::countLayerEvents(int layerId)
{
    const Table::Bookmark here = CDS.bookmark();
    int n = 0;
    CDS.first();
    CDS.moveBy(m_clipboardCount);
    for (; !CDS.isEmpty() && !CDS.eof(); CDS.next())
        if (currentLayer() == layerId) ++n;
    CDS.gotoBookmark(here);
    return n;
}

bool EventsStore::moveToLayer(const QStringList &ids, int layerId)
{
    bool found = false;
    for (const QString &text : ids) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        if (!ok || !CDS.locate(F_ID, id) || currentStartTime() < ClipboardBelow) continue;
        found = true;
        if (CDS.edit()) {
            CDS.setValue(F_Layer, layerId);
            CDS.post();
        }
    }
    return found;
}

bool EventsStore::duplicateToLayer(int layerId)
{
    if (CDS.isEmpty() || CDS.recNo() < 1 || currentStartTime() < ClipboardBelow) return false;
    const Table::Bookmark here = CDS.bookmark();
    QVariantList values = rowValues();
    values[F_ID] = QVariant();
    values[F_Layer] = layerId;
    const TableResult r = CDS.insertRow(values);
    CDS.gotoBookmark(here);
    return r.applied;
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
    if (!CDS.locate(F_ID, id) || currentStartTime() < ClipboardBelow) return false;
    QVariantList values = rowValues();
    const SerialDateTime start = currentStartTime();
    const SerialDateTime end = currentEndTime();
    values[F_ID] = QVariant();
    values[F_Layer] = -currentLayer();
    values[F_StartTime] = fromDayAndMs(-ClipboardOffset, DateTimeValue::msOfDay(start));
    const qint64 durationMs = DateTimeValue::toMs(end) - DateTimeValue::toMs(start);
    values[F_EndTime] =
        DateTimeValue::fromMs(durationMs - qint64(ClipboardOffset) * DateTimeValue::MsPerDay);
    if (m_clipboardCount == 1) {
        CDS.first();
        CDS.deleteRow();
        m_clipboardCount = 0;
    }
    const TableResult r = CDS.insertRow(values);
    if (!r.applied) return false;
    m_clipboardCount = 1;
    return true;
}

std::optional<int> EventsStore::paste(SerialDateTime selected, PasteMode mode)
{
    if (m_clipboardCount != 1) return std::nullopt;
    CDS.first();
    QVariantList values = rowValues();
    const qint64 offsetMs = qint64(ClipboardOffset) * DateTimeValue::MsPerDay;
    const qint64 clipStartMs = DateTimeValue::toMs(currentStartTime()) + offsetMs; // time of day
    const qint64 clipDurationMs = DateTimeValue::toMs(currentEndTime()) + offsetMs;

    int layer = -currentLayer();
    if (!m_layers.exists(layer)) {
        const Table::Bookmark at = m_layers.CDS.bookmark();
        layer = m_layers.gotoPosition(1) ? m_layers.currentId() : 0;
        m_layers.CDS.gotoBookmark(at);
    }

    const qint64 startMs =
        mode == PasteMode::AtSelectedTime
            ? DateTimeValue::toMs(selected)
            : qint64(DateTimeValue::dayOf(selected)) * DateTimeValue::MsPerDay + clipStartMs;
    const SerialDateTime start = DateTimeValue::fromMs(startMs);
    SerialDateTime end = DateTimeValue::fromMs(startMs + clipDurationMs);

    if (currentIsRecurring()) {
        RecurrenceRule r = rule();
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

    values[F_ID] = QVariant();
    values[F_Layer] = layer;
    values[F_StartTime] = start;
    values[F_EndTime] = end;
    const TableResult r = CDS.insertRow(values);
    if (!r.applied) return std::nullopt;
    const int id = currentId();
    refreshPendingAlarm(id);
    return id;
}

// ---- saving and later start-up steps --------------------------------------------------------

TableResult EventsStore::saveTo(const QString &dir)
{
    CDS.mergeChangeLog();
    return CDS.save(dir + FileName);
}
