#include "store/Table.h"

#include "core/DateTimeValue.h"
#include "core/TextCompare.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace
{

constexpr qint64 FreeSlot = std::numeric_limits<qint64>::min();

QString dateTimeText(SerialDateTime v)
{
    const QString date = DateTimeValue::toQDate(v).toString(QStringLiteral("yyyy-MM-dd"));
    if (DateTimeValue::msOfDay(v) == 0) return date;
    return date + u' ' + DateTimeValue::toQTime(v).toString(QStringLiteral("HH:mm:ss"));
}

SerialDateTime dateTimeFromText(const QString &s)
{
    const QString t = s.trimmed();
    QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (dt.isValid()) return DateTimeValue::fromQDateTime(dt);
    const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (d.isValid()) return DateTimeValue::fromQDate(d);
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

bool samePath(const QString &a, const QString &b)
{
    return !a.isEmpty() && !b.isEmpty() &&
           QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

TableResult notApplied(const QString &why)
{
    TableResult r;
    r.applied = false;
    r.written = false;
    r.error = why;
    return r;
}

} // namespace

Table::Table(TableSchema schema) : m_schema(std::move(schema))
{
    for (const FieldDef &f : m_schema.fields)
        m_cols.emplace_back(f);
    m_idField = m_schema.autoIncField();
}

Table::~Table()
{
    // An unfinished edit is dropped: no after-post call may reach an owner being destroyed.
    cancel();
    // Nobody is left to tell about a failed last write; owners save (and report) before.
    (void)close();
}

QDateTime Table::now() const
{
    return m_clock ? m_clock->now() : m_systemClock.now();
}

// ---- order ---------------------------------------------------------------------------------

int Table::compareSlots(int a, int b) const
{
    for (const Key &k : m_keys) {
        const TableColumn &c = m_cols[k.field];
        const bool na = c.nulls[a] != 0;
        const bool nb = c.nulls[b] != 0;
        int r = 0;
        if (na || nb) {
            r = na == nb ? 0 : (na ? -1 : 1); // null before every value
        } else {
            switch (k.type) {
            case FieldType::AutoInc:
            case FieldType::Integer:
            case FieldType::Boolean:
                r = c.ints[a] < c.ints[b] ? -1 : (c.ints[a] > c.ints[b] ? 1 : 0);
                break;
            case FieldType::DateTime:
                r = c.reals[a] < c.reals[b] ? -1 : (c.reals[a] > c.reals[b] ? 1 : 0);
                break;
            case FieldType::Text:
            case FieldType::Memo:
                r = compareText(c.texts[a], c.texts[b]);
                break;
            case FieldType::Blob:
                r = c.bytes[a] < c.bytes[b] ? -1 : (c.bytes[b] < c.bytes[a] ? 1 : 0);
                break;
            }
        }
        if (r != 0) return k.descending ? -r : r;
    }
    // Equal keys: insertion order.
    return m_rowKey[a] < m_rowKey[b] ? -1 : (m_rowKey[a] > m_rowKey[b] ? 1 : 0);
}

void Table::sortOrder()
{
    if (m_keys.empty() || m_keys.front().type == FieldType::Text ||
        m_keys.front().type == FieldType::Memo || m_keys.front().type == FieldType::Blob) {
        std::sort(m_order.begin(), m_order.end(), [this](int a, int b) { return slotLess(a, b); });
        return;
    }
    // A numeric first key decides most comparisons: sorting copies of its values next to the
    // slots leaves the general comparison to ties, in the same order compareSlots() gives.
    const Key &k = m_keys.front();
    const TableColumn &c = m_cols[k.field];
    struct Entry {
        int set; // 0 for null, which comes before every value
        double value;
        int slot;
    };
    std::vector<Entry> entries;
    entries.reserve(m_order.size());
    for (int s : m_order) {
        const bool null = c.nulls[s] != 0;
        const double v = null ? 0.0 : (k.type == FieldType::DateTime ? c.reals[s] : c.ints[s]);
        entries.push_back({null ? 0 : 1, v, s});
    }
    const bool desc = k.descending;
    std::sort(entries.begin(), entries.end(), [this, desc](const Entry &a, const Entry &b) {
        if (a.set != b.set) return desc ? a.set > b.set : a.set < b.set;
        if (a.value < b.value) return !desc;
        if (b.value < a.value) return desc;
        return slotLess(a.slot, b.slot);
    });
    for (std::size_t i = 0; i < entries.size(); ++i)
        m_order[i] = entries[i].slot;
}

int Table::positionOf(int slot) const
{
    const auto it = std::lower_bound(m_order.begin(), m_order.end(), slot,
                                     [this](int a, int b) { return slotLess(a, b); });
    if (it != m_order.end() && *it == slot) return int(it - m_order.begin());
    const auto lin = std::find(m_order.begin(), m_order.end(), slot);
    return lin == m_order.end() ? -1 : int(lin - m_order.begin());
}

int Table::insertIntoOrder(int slot)
{
    const auto it = std::upper_bound(m_order.begin(), m_order.end(), slot,
                                     [this](int a, int b) { return slotLess(a, b); });
    const auto at = m_order.insert(it, slot);
    return int(at - m_order.begin());
}

bool Table::setActiveIndex(const QString &name)
{
    std::vector<Key> keys;
    if (!name.isEmpty()) {
        const int ix = m_schema.indexIndex(name);
        if (ix < 0) return false;
        for (const IndexField &f : m_schema.indexes[ix].fields) {
            const int field = m_schema.fieldIndex(f.field);
            keys.push_back({field, m_schema.fields[field].type, f.descending});
        }
    }
    postIfEditing();
    const int slot = currentSlot();
    m_keys = std::move(keys);
    m_activeIndex = name.isEmpty() ? QString() : m_schema.indexes[m_schema.indexIndex(name)].name;
    sortOrder();
    if (slot >= 0) m_pos = positionOf(slot);
    return true;
}

// ---- filters ---------------------------------------------------------------------------------

bool Table::setFilterText(const QString &text, QString *error)
{
    std::optional<TableFilter> f = TableFilter::parse(text, m_schema, error);
    if (!f) return false;
    m_filter = std::move(*f);
    m_filterText = text;
    return true;
}

bool Table::passesFilters()
{
    const int slot = currentSlot();
    return m_filter.accepts(m_cols, slot) && (!m_recordFilter || m_recordFilter(*this));
}

bool Table::findFirst()
{
    postIfEditing();
    const int saved = m_pos;
    const int n = int(m_order.size());
    for (m_pos = 0; m_pos < n; ++m_pos)
        if (passesFilters()) {
            m_eof = false;
            m_bof = true;
            return true;
        }
    m_pos = saved;
    m_eof = true;
    return false;
}

bool Table::acceptsCurrent()
{
    postIfEditing();
    return currentSlot() >= 0 && passesFilters();
}

bool Table::findNext()
{
    postIfEditing();
    const int saved = m_pos;
    const int n = int(m_order.size());
    for (m_pos = saved + 1; m_pos < n; ++m_pos)
        if (passesFilters()) {
            m_eof = false;
            m_bof = false;
            return true;
        }
    m_pos = saved;
    m_eof = true;
    return false;
}

// ---- cursor ----------------------------------------------------------------------------------

void Table::resetCursor()
{
    m_pos = m_order.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_order.empty();
}

void Table::first()
{
    postIfEditing();
    resetCursor();
}

void Table::last()
{
    postIfEditing();
    m_pos = int(m_order.size()) - 1;
    m_eof = true;
    m_bof = m_order.empty();
}

void Table::next()
{
    postIfEditing();
    if (m_pos + 1 < int(m_order.size())) {
        ++m_pos;
        m_eof = false;
    } else {
        m_eof = true;
    }
    m_bof = m_order.empty();
}

void Table::prior()
{
    postIfEditing();
    if (m_pos > 0) {
        --m_pos;
        m_bof = false;
    } else {
        m_bof = true;
    }
    m_eof = m_order.empty();
}

int Table::moveBy(int n)
{
    postIfEditing();
    if (m_order.empty()) {
        m_eof = m_bof = true;
        return 0;
    }
    const int last = int(m_order.size()) - 1;
    const qint64 target = qint64(m_pos) + n;
    const int old = m_pos;
    m_pos = int(std::clamp<qint64>(target, 0, last));
    m_eof = target > last;
    m_bof = target < 0;
    return m_pos - old;
}

bool Table::setRecNo(int n)
{
    if (n < 1 || n > int(m_order.size())) return false;
    postIfEditing();
    m_pos = n - 1;
    m_eof = m_bof = false;
    return true;
}

bool Table::seekFirstAtLeast(int field, const QVariant &value)
{
    if (m_keys.empty() || m_keys.front().field != field || m_keys.front().descending) return false;
    postIfEditing();
    const TableColumn &c = m_cols[field];
    const QVariant v = c.normalized(value);
    // Rows below `v`: nulls, then smaller values. A null `v` lets every row qualify.
    auto below = [&](int slot) {
        if (c.nulls[slot] != 0) return v.isValid();
        if (!v.isValid()) return false;
        switch (c.type) {
        case FieldType::AutoInc:
        case FieldType::Integer:
        case FieldType::Boolean:
            return c.ints[slot] < v.toInt();
        case FieldType::DateTime:
            return c.reals[slot] < v.toDouble();
        case FieldType::Text:
        case FieldType::Memo:
            return compareText(c.texts[slot], v.toString()) < 0;
        case FieldType::Blob:
            return c.bytes[slot] < v.toByteArray();
        }
        return false;
    };
    const auto it = std::partition_point(m_order.begin(), m_order.end(), below);
    if (it == m_order.end()) {
        m_eof = true;
        return false;
    }
    m_pos = int(it - m_order.begin());
    m_eof = false;
    m_bof = m_pos == 0;
    return true;
}

bool Table::locate(int field, const QVariant &value)
{
    if (field < 0 || field >= fieldCount()) return false;
    postIfEditing();
    const TableColumn &c = m_cols[field];
    const QVariant v = c.normalized(value);
    int found = -1;
    if (field == m_idField) {
        if (!v.isValid()) return false;
        const auto it = m_idSlot.constFind(qint32(v.toInt()));
        if (it == m_idSlot.constEnd()) return false;
        found = positionOf(it.value());
    } else {
        const bool wantNull = !v.isValid();
        const qint32 i = wantNull ? 0 : v.toInt();
        const double d = wantNull ? 0 : v.toDouble();
        const QString s = wantNull ? QString() : v.toString();
        const QByteArray b = wantNull ? QByteArray() : v.toByteArray();
        for (int p = 0; p < int(m_order.size()) && found < 0; ++p) {
            const int slot = m_order[p];
            if (c.nulls[slot] != 0 || wantNull) {
                if ((c.nulls[slot] != 0) == wantNull) found = p;
                continue;
            }
            bool eq = false;
            switch (c.type) {
            case FieldType::AutoInc:
            case FieldType::Integer:
            case FieldType::Boolean:
                eq = c.ints[slot] == i;
                break;
            case FieldType::DateTime:
                eq = c.reals[slot] == d;
                break;
            case FieldType::Text:
            case FieldType::Memo:
                eq = c.texts[slot] == s;
                break;
            case FieldType::Blob:
                eq = c.bytes[slot] == b;
                break;
            }
            if (eq) found = p;
        }
    }
    if (found < 0) return false;
    m_pos = found;
    m_eof = m_bof = false;
    return true;
}

Table::Bookmark Table::bookmark() const
{
    const int slot = currentSlot();
    if (slot < 0) return {};
    return {slot, m_rowKey[slot]};
}

bool Table::gotoBookmark(const Bookmark &b)
{
    if (b.slot < 0 || b.slot >= int(m_rowKey.size()) || m_rowKey[b.slot] != b.key ||
        b.key == FreeSlot)
        return false;
    postIfEditing();
    const int p = positionOf(b.slot);
    if (p < 0) return false;
    m_pos = p;
    m_eof = m_bof = false;
    return true;
}

// ---- editing ---------------------------------------------------------------------------------

std::vector<QVariant> Table::rowValues(int slot) const
{
    std::vector<QVariant> v;
    v.reserve(m_cols.size());
    for (const TableColumn &c : m_cols)
        v.push_back(c.get(slot));
    return v;
}

bool Table::edit()
{
    if (editing()) return true;
    const int slot = currentSlot();
    if (slot < 0) return false;
    m_buf = rowValues(slot);
    m_state = State::Edit;
    return true;
}

bool Table::insert()
{
    postIfEditing();
    m_buf.assign(m_cols.size(), QVariant());
    m_state = State::Insert;
    return true;
}

bool Table::setValue(int field, const QVariant &v)
{
    if (!editing() || field < 0 || field >= fieldCount() || field == m_idField) return false;
    m_buf[field] = m_cols[field].normalized(v);
    return true;
}

void Table::cancel()
{
    m_state = State::Browse;
    m_buf.clear();
}

bool Table::postIfEditing()
{
    if (!editing()) return true;
    return post().ok();
}

int Table::allocSlot()
{
    if (!m_free.empty()) {
        const int s = m_free.back();
        m_free.pop_back();
        return s;
    }
    const int s = int(m_rowKey.size());
    m_rowKey.push_back(FreeSlot);
    for (TableColumn &c : m_cols)
        c.resize(m_rowKey.size());
    return s;
}

void Table::freeSlot(int slot)
{
    for (TableColumn &c : m_cols)
        c.setNull(slot);
    m_rowKey[slot] = FreeSlot;
    m_free.push_back(slot);
}

void Table::writeBuffer(int slot)
{
    for (int f = 0; f < fieldCount(); ++f)
        m_cols[f].set(slot, m_buf[f]);
}

TableResult Table::post()
{
    if (!editing()) return notApplied(QStringLiteral("no row is being edited"));
    int slot;
    if (m_state == State::Insert) {
        if (m_idField >= 0 && m_nextId == std::numeric_limits<qint32>::max())
            return notApplied(QStringLiteral("no auto-increment values left"));
        slot = allocSlot();
        m_rowKey[slot] = m_nextRowKey++;
        if (m_idField >= 0) m_buf[m_idField] = QVariant(int(m_nextId++));
    } else {
        slot = currentSlot();
        m_order.erase(m_order.begin() + m_pos);
    }
    writeBuffer(slot);
    if (m_idField >= 0) m_idSlot.insert(m_cols[m_idField].ints[slot], slot);
    m_pos = insertIntoOrder(slot);
    m_eof = m_bof = false;
    m_state = State::Browse;
    m_buf.clear();
    m_pending[m_rowKey[slot]] = slot;
    const TableResult r = writeChange();
    if (m_afterPost) m_afterPost(*this);
    return r;
}

TableResult Table::insertRow(const QVariantList &values)
{
    insert();
    for (int f = 0; f < fieldCount() && f < values.size(); ++f)
        if (f != m_idField) m_buf[f] = m_cols[f].normalized(values[f]);
    return post();
}

TableResult Table::deleteRow()
{
    if (editing()) cancel();
    if (currentSlot() < 0) return notApplied(QStringLiteral("no current row"));
    if (m_beforeDelete) m_beforeDelete(*this);
    const int slot = currentSlot();
    if (slot < 0) return notApplied(QStringLiteral("no current row"));
    m_order.erase(m_order.begin() + m_pos);
    if (m_idField >= 0) m_idSlot.remove(m_cols[m_idField].ints[slot]);
    m_pending[m_rowKey[slot]] = -1;
    freeSlot(slot);
    if (m_pos >= int(m_order.size())) m_pos = int(m_order.size()) - 1;
    m_eof = m_bof = m_order.empty();
    return writeChange();
}

void Table::resetRows()
{
    m_state = State::Browse;
    m_buf.clear();
    for (TableColumn &c : m_cols)
        c = TableColumn(FieldDef{QString(), c.type, c.size});
    m_rowKey.clear();
    m_free.clear();
    m_order.clear();
    m_idSlot.clear();
    resetCursor();
}

TableResult Table::emptyTable()
{
    resetRows();
    m_pending.clear();
    m_pendingEmpty = true;
    const TableResult r = writeChange();
    if (m_afterReset) m_afterReset(*this);
    return r;
}

// ---- values ----------------------------------------------------------------------------------

bool Table::isNull(int field) const
{
    if (field < 0 || field >= fieldCount()) return true;
    if (editing()) return !m_buf[field].isValid();
    const int slot = currentSlot();
    return slot < 0 || m_cols[field].nulls[slot] != 0;
}

QVariant Table::value(int field) const
{
    if (field < 0 || field >= fieldCount()) return {};
    if (editing()) return m_buf[field];
    const int slot = currentSlot();
    return slot < 0 ? QVariant() : m_cols[field].get(slot);
}

int Table::asInteger(int field) const
{
    if (!editing() && field >= 0 && field < fieldCount()) {
        const int slot = currentSlot();
        if (slot < 0) return 0;
        const TableColumn &c = m_cols[field];
        switch (c.type) {
        case FieldType::AutoInc:
        case FieldType::Integer:
        case FieldType::Boolean:
            return c.ints[slot];
        default:
            break;
        }
    }
    const double d = asFloat(field);
    if (d >= 2147483647.0) return std::numeric_limits<int>::max();
    if (d <= -2147483648.0) return std::numeric_limits<int>::min();
    return int(d);
}

double Table::asFloat(int field) const
{
    if (field < 0 || field >= fieldCount()) return 0.0;
    const TableColumn &c = m_cols[field];
    if (!editing()) {
        const int slot = currentSlot();
        if (slot < 0) return 0.0;
        switch (c.type) {
        case FieldType::AutoInc:
        case FieldType::Integer:
        case FieldType::Boolean:
            return c.ints[slot];
        case FieldType::DateTime:
            return c.reals[slot];
        default:
            break;
        }
    }
    const QVariant v = value(field);
    if (!v.isValid()) return 0.0;
    if (c.type == FieldType::Text || c.type == FieldType::Memo || c.type == FieldType::Blob) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        return ok && std::isfinite(d) ? d : 0.0;
    }
    return v.toDouble();
}

SerialDateTime Table::asDateTime(int field) const
{
    if (field >= 0 && field < fieldCount()) {
        const FieldType t = m_cols[field].type;
        if (t == FieldType::Text || t == FieldType::Memo || t == FieldType::Blob)
            return dateTimeFromText(asString(field));
    }
    return asFloat(field);
}

bool Table::asBoolean(int field) const
{
    if (field < 0 || field >= fieldCount()) return false;
    const FieldType t = m_cols[field].type;
    if (t == FieldType::Text || t == FieldType::Memo || t == FieldType::Blob)
        return asString(field) == QLatin1String("True");
    return asFloat(field) != 0.0;
}

QString Table::asString(int field) const
{
    if (isNull(field)) return {};
    switch (m_cols[field].type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QString::number(asInteger(field));
    case FieldType::Boolean:
        return asBoolean(field) ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::DateTime:
        return dateTimeText(asFloat(field));
    case FieldType::Text:
    case FieldType::Memo:
        return editing() ? m_buf[field].toString() : m_cols[field].texts[currentSlot()];
    case FieldType::Blob:
        return QString::fromUtf8(asBytes(field));
    }
    return {};
}

QByteArray Table::asBytes(int field) const
{
    if (isNull(field)) return {};
    if (m_cols[field].type == FieldType::Blob)
        return editing() ? m_buf[field].toByteArray() : m_cols[field].bytes[currentSlot()];
    return asString(field).toUtf8();
}

// ---- file ------------------------------------------------------------------------------------

TableResult Table::writeChange()
{
    return m_bulkDepth > 0 ? TableResult{} : writeThrough(changeWait());
}

TableFile::LockWait Table::changeWait() const
{
    return m_lockBackoff ? TableFile::LockWait::NoWait : TableFile::LockWait::Wait;
}

TableResult Table::writeThrough(TableFile::LockWait wait)
{
    const TableResult r = writePending(wait);
    if (m_afterWrite) m_afterWrite(r);
    return r;
}

TableResult Table::writePending(TableFile::LockWait wait)
{
    TableResult r;
    if (!m_file || !m_file->isOpen()) {
        if (m_fileFailed) {
            r.written = false;
            r.error = QStringLiteral("the table file %1 could not be opened").arg(m_filePath);
        } else {
            m_pending.clear();
            m_pendingEmpty = false;
        }
        return r;
    }
    if (!hasPendingWrites()) return r;
    std::vector<RowWrite> rows;
    rows.reserve(m_pending.size());
    for (const auto &[key, slot] : m_pending)
        rows.push_back({key, slot >= 0 && m_rowKey[slot] == key ? slot : -1});
    QString error;
    if (m_file->write(m_pendingEmpty, rows, m_cols, m_nextId, &error, wait)) {
        m_pending.clear();
        m_pendingEmpty = false;
    } else {
        r.written = false;
        r.error = error;
    }
    m_lockBackoff = !r.written && m_file->lastWriteLocked();
    return r;
}

TableResult Table::endBulk()
{
    if (m_bulkDepth > 0) --m_bulkDepth;
    return m_bulkDepth > 0 ? TableResult{} : writeThrough(changeWait());
}

TableResult Table::flush()
{
    postIfEditing();
    return writeThrough(TableFile::LockWait::Wait);
}

QString Table::readSource(const QString &path, TableImage *image) const
{
    TableFile source;
    QString error;
    if (source.open(path, image, &error) != TableFile::OpenResult::Loaded)
        return error.isEmpty() ? QStringLiteral("%1 holds no table").arg(path) : error;
    if (!m_schema.fields.isEmpty() && !m_schema.sameFields(image->schema))
        return QStringLiteral("the fields of %1 differ from this table's").arg(path);
    return {};
}

bool Table::canRestoreFrom(const QString &path) const
{
    TableImage image;
    return readSource(path, &image).isEmpty();
}

TableResult Table::restoreFrom(const QString &path)
{
    TableImage image;
    if (const QString error = readSource(path, &image); !error.isEmpty()) return notApplied(error);
    cancel();
    // Ids handed out since the copy was made are not handed out again.
    const qint32 nextId = std::max(m_nextId, image.nextId);
    adoptImage(std::move(image));
    m_nextId = nextId;
    m_pendingEmpty = true;
    for (int slot : m_order)
        m_pending[m_rowKey[slot]] = slot;
    const TableResult r = writeChange();
    if (m_afterReset) m_afterReset(*this);
    return r;
}

void Table::adoptImage(TableImage &&image)
{
    for (const IndexDef &ix : m_schema.indexes)
        if (image.schema.indexIndex(ix.name) < 0) image.schema.indexes.append(ix);
    m_schema = std::move(image.schema);
    m_cols = std::move(image.columns);
    m_rowKey = std::move(image.rowKeys);
    m_free.clear();
    m_idField = m_schema.autoIncField();
    m_nextId = image.nextId;
    m_nextRowKey = m_rowKey.empty() ? 1 : m_rowKey.back() + 1;
    m_order.resize(m_rowKey.size());
    for (int i = 0; i < int(m_order.size()); ++i)
        m_order[i] = i;
    m_idSlot.clear();
    if (m_idField >= 0) {
        m_idSlot.reserve(qsizetype(m_rowKey.size()));
        const std::vector<qint32> &ids = m_cols[m_idField].ints;
        for (int i = 0; i < int(ids.size()); ++i)
            m_idSlot.insert(ids[i], i);
    }
    m_pending.clear();
    m_pendingEmpty = false;
    if (!setFilterText(m_filterText)) setFilterText(QString());
    m_pos = -1;
    if (!setActiveIndex(m_activeIndex)) setActiveIndex(QString());
    resetCursor();
}

TableLoadResult Table::load(const QString &path)
{
    cancel();
    // A failed flush of the old file cannot be retried: the load replaces its rows.
    (void)close();
    TableLoadResult result;
    m_filePath = path;
    m_fileFailed = false;
    auto file = std::make_unique<TableFile>();
    TableImage image;
    QString error;
    TableFile::OpenResult opened = file->open(path, &image, &error);
    if (opened == TableFile::OpenResult::Loaded && !m_schema.fields.isEmpty() &&
        !m_schema.sameFields(image.schema)) {
        file->close();
        opened = TableFile::OpenResult::Unreadable;
        error = QStringLiteral("the file's fields differ from this table's");
    }

    auto startEmpty = [&] {
        resetRows();
        m_pending.clear();
        m_pendingEmpty = false;
        m_nextId = 1;
        m_nextRowKey = 1;
    };
    auto createFile = [&] {
        if (m_schema.fields.isEmpty()) return; // nothing to describe: stay without a file
        QString why;
        if (file->create(path, m_schema, m_nextId, &why)) {
            m_file = std::move(file);
            return;
        }
        m_fileFailed = true;
        result.status = TableLoadResult::Failed;
        result.error = why;
    };

    switch (opened) {
    case TableFile::OpenResult::Loaded:
        adoptImage(std::move(image));
        m_file = std::move(file);
        result.status = TableLoadResult::Loaded;
        break;
    case TableFile::OpenResult::Missing:
        startEmpty();
        result.status = TableLoadResult::Missing;
        createFile();
        break;
    case TableFile::OpenResult::Unreadable: {
        startEmpty();
        QString why;
        const QString aside = TableFile::setAside(path, now(), &why);
        if (aside.isEmpty()) {
            m_fileFailed = true;
            result.status = TableLoadResult::Failed;
            result.error = error + QStringLiteral("; ") + why;
            break;
        }
        result.status = TableLoadResult::SetAside;
        result.setAsidePath = aside;
        result.error = error;
        createFile();
        if (result.status == TableLoadResult::Failed) {
            result.status = TableLoadResult::SetAside;
            result.error = error + QStringLiteral("; a new file could not be created");
            m_fileFailed = true;
        }
        break;
    }
    case TableFile::OpenResult::Failed:
        startEmpty();
        m_fileFailed = true;
        result.status = TableLoadResult::Failed;
        result.error = error;
        break;
    }
    if (m_afterReset) m_afterReset(*this);
    return result;
}

TableResult Table::save()
{
    TableResult r = flush();
    if (!r.ok()) return r;
    if (!m_file || !m_file->isOpen()) return r;
    QString error;
    if (!m_file->checkpoint(&error)) {
        r.written = false;
        r.error = error;
    }
    return r;
}

TableResult Table::writeWholeTable(TableFile &file, const QString &path)
{
    TableResult r;
    QString error;
    if (!file.create(path, m_schema, m_nextId, &error)) {
        r.written = false;
        r.error = error;
        return r;
    }
    std::vector<RowWrite> rows;
    rows.reserve(m_order.size());
    for (int slot : m_order)
        rows.push_back({m_rowKey[slot], slot});
    if (!file.write(false, rows, m_cols, m_nextId, &error) || !file.checkpoint(&error)) {
        r.written = false;
        r.error = error;
        file.close();
        TableFile::removeFile(path);
    }
    return r;
}

TableResult Table::save(const QString &path)
{
    if (m_file && m_file->isOpen() && samePath(path, m_file->path())) return save();
    postIfEditing();
    const QString temp = path + QStringLiteral(".new");
    TableFile fresh;
    TableResult r = writeWholeTable(fresh, temp);
    if (!r.ok()) return r;
    fresh.close();
    // The old file's -wal/-shm must not survive next to the new main file.
    TableFile::removeFile(path);
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) !=
        0) {
        TableFile::removeFile(temp);
        r.written = false;
        r.error = QStringLiteral("%1 could not be replaced").arg(path);
        return r;
    }
    // Attach to the new file: from now on changes go there.
    auto file = std::make_unique<TableFile>();
    TableImage check;
    QString error;
    if (file->open(path, &check, &error) != TableFile::OpenResult::Loaded) {
        r.written = false;
        r.error = error;
        return r;
    }
    if (m_file) m_file->close();
    m_file = std::move(file);
    m_filePath = path;
    m_fileFailed = false;
    m_pending.clear();
    m_pendingEmpty = false;
    m_lockBackoff = false;
    return r;
}

TableResult Table::backupTo(const QString &path)
{
    TableResult r = flush();
    QString error;
    if (m_file && m_file->isOpen()) {
        if (!m_file->backupTo(path, &error)) {
            r.written = false;
            r.error = error;
        }
        return r;
    }
    TableFile copy;
    const TableResult w = writeWholeTable(copy, path);
    return w.ok() ? r : w;
}

TableResult Table::close()
{
    TableResult r;
    if (m_file && m_file->isOpen()) {
        r = flush();
        m_file->close();
    }
    m_file.reset();
    m_lockBackoff = false;
    return r;
}
