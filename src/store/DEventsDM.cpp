#include "store/DEventsDM.h"

#include "core/DTimeDM.h"
#include "store/DLayersDM.h"
#include "store/ExceptionList.h"

TableSchema TDEvents::schema()
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

TDEvents::TDEvents(const QString &dataDir, TDLayers &layers, TDTime &time, const Clock *clock)
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

TDEvents::~TDEvents()
{
    m_afterPostHook = nullptr;
    save();
    CDS.setAfterPost(nullptr);
    CDS.setBeforeDelete(nullptr);
    CDS.setAfterReset(nullptr);
    CDS.setRecordFilter(nullptr);
}

void TDEvents::installTableHooks()
{
    CDS.setRecordFilter([this](const Table &t) { return CDSFilterRecord(t); });
    CDS.setAfterPost([this](Table &) {
        indexCurrentRow();
        if (StartTime() >= ClipboardBelow) refreshPendingAlarm(ID());
        if (m_afterPostHook) m_afterPostHook();
        CDS.mergeChangeLog();
    });
    CDS.setBeforeDelete([this](Table &) {
        m_index.remove(ID());
        if (StartTime() < ClipboardBelow && CDS.recNo() == 1) m_clipboardCount = 0;
    });
    CDS.setAfterReset([this](Table &) {
        rebuildWalkIndex();
        detectClipboard();
    });
}

void TDEvents::indexCurrentRow()
{
    if (StartTime() < ClipboardBelow) {
        m_index.remove(ID());
    } else if (Recurrent()) {
        m_index.updateRecurring(
            {CDS.bookmark().slot, rule(), {ID(), Layer(), AlarmSet(), Subject(), Description()}});
    } else {
        m_index.updateOneTime(ID(), StartTime(), EndTime());
    }
}

void TDEvents::rebuildWalkIndex()
{
    m_index.clear();
    const Table::Bookmark here = CDS.bookmark();
    for (CDS.first(); !CDS.isEmpty() && !CDS.eof(); CDS.next())
        indexCurrentRow();
    if (!CDS.gotoBookmark(here)) CDS.first();
}

void TDEvents::detectClipboard()
{
    const Table::Bookmark here = CDS.bookmark();
    CDS.first();
    m_clipboardCount = !CDS.isEmpty() && StartTime() < ClipboardBelow ? 1 : 0;
    if (!CDS.gotoBookmark(here)) CDS.first();
}

bool TDEvents::CDSFilterRecord(const Table &t) const
{
    if (m_bypass) return true;
    return reachesWindow(t.asDateTime(F_StartTime), t.asDateTime(F_EndTime),
                         t.asBoolean(F_Recurrent) ? t.asInteger(F_ComboBox1) : 0);
}

bool TDEvents::reachesWindow(TDateTime start, TDateTime end, int extraDays) const
{
    if (!(start < m_time.GridCell())) return false;
    const TDateTime windowStart = m_time.GridDate();
    return end >= windowStart || (extraDays != 0 && end + extraDays >= windowStart);
}

RecurrenceRule TDEvents::rule() const
{
    RecurrenceRule r;
    r.RadioButton1 = CDS.asInteger(F_RadioButton1);
    r.RadioButton2 = CDS.asInteger(F_RadioButton2);
    r.RadioButton3 = CDS.asInteger(F_RadioButton3);
    r.Edit1 = CDS.asInteger(F_Edit1);
    r.Edit2 = CDS.asInteger(F_Edit2);
    r.Edit3 = CDS.asInteger(F_Edit3);
    r.ComboBox1 = CDS.asInteger(F_ComboBox1);
    r.ComboBox2 = CDS.asInteger(F_ComboBox2);
    r.ComboBox3 = CDS.asInteger(F_ComboBox3);
    r.ComboBox4 = CDS.asInteger(F_ComboBox4);
    r.Weekdays = CDS.asString(F_Weekdays);
    r.StartTime = StartTime();
    r.EndTime = EndTime();
    r.ExceptionDays = parseExceptionList(CDS.asBytes(F_ExceptionList));
    return r;
}

QVariantList TDEvents::rowValues() const
{
    QVariantList values;
    values.reserve(CDS.fieldCount());
    for (int f = 0; f < CDS.fieldCount(); ++f)
        values << CDS.value(f);
    return values;
}

// ---- operations ------------------------------------------------------------------------------

int TDEvents::countLayerEvents(int layerId)
{
    const Table::Bookmark here = CDS.bookmark();
    int n = 0;
    CDS.first();
    CDS.moveBy(m_clipboardCount);
    for (; !CDS.isEmpty() && !CDS.eof(); CDS.next())
        if (Layer() == layerId) ++n;
    CDS.gotoBookmark(here);
    return n;
}

bool TDEvents::moveToLayer(const QStringList &ids, int layerId)
{
    bool found = false;
    for (const QString &text : ids) {
        bool ok = false;
        const int id = text.trimmed().toInt(&ok);
        if (!ok || !CDS.locate(F_ID, id) || StartTime() < ClipboardBelow) continue;
        found = true;
        if (CDS.edit()) {
            CDS.setValue(F_Layer, layerId);
            CDS.post();
        }
    }
    return found;
}

bool TDEvents::duplicateToLayer(int layerId)
{
    if (CDS.isEmpty() || CDS.recNo() < 1 || StartTime() < ClipboardBelow) return false;
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
TDateTime fromDayAndMs(qint64 day, qint64 msOfDay)
{
    return DateTimeValue::fromMs(day * DateTimeValue::MsPerDay + msOfDay);
}
} // namespace

bool TDEvents::copyToClipboard(int id)
{
    if (!CDS.locate(F_ID, id) || StartTime() < ClipboardBelow) return false;
    QVariantList values = rowValues();
    const TDateTime start = StartTime();
    const TDateTime end = EndTime();
    values[F_ID] = QVariant();
    values[F_Layer] = -Layer();
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

std::optional<int> TDEvents::paste(TDateTime selected, PasteMode mode)
{
    if (m_clipboardCount != 1) return std::nullopt;
    CDS.first();
    QVariantList values = rowValues();
    const qint64 offsetMs = qint64(ClipboardOffset) * DateTimeValue::MsPerDay;
    const qint64 clipStartMs = DateTimeValue::toMs(StartTime()) + offsetMs; // time of day
    const qint64 clipDurationMs = DateTimeValue::toMs(EndTime()) + offsetMs;

    int layer = -Layer();
    if (!m_layers.exists(layer)) {
        const Table::Bookmark at = m_layers.CDS.bookmark();
        layer = m_layers.gotoPosition(1) ? m_layers.ID() : 0;
        m_layers.CDS.gotoBookmark(at);
    }

    const qint64 startMs =
        mode == PasteMode::AtSelectedTime
            ? DateTimeValue::toMs(selected)
            : qint64(DateTimeValue::dayOf(selected)) * DateTimeValue::MsPerDay + clipStartMs;
    const TDateTime start = DateTimeValue::fromMs(startMs);
    TDateTime end = DateTimeValue::fromMs(startMs + clipDurationMs);

    if (Recurrent()) {
        RecurrenceRule r = rule();
        r.StartTime = start;
        r.EndTime = end;
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

    values[F_ID] = QVariant();
    values[F_Layer] = layer;
    values[F_StartTime] = start;
    values[F_EndTime] = end;
    const TableResult r = CDS.insertRow(values);
    if (!r.applied) return std::nullopt;
    const int id = ID();
    refreshPendingAlarm(id);
    return id;
}

// ---- saving and later start-up steps --------------------------------------------------------

TableResult TDEvents::saveTo(const QString &dir)
{
    CDS.mergeChangeLog();
    return CDS.save(dir + FileName);
}
