#pragma once
// In-memory table with a cursor, named indexes, filters and a durable SQLite file.
//
// Rows live in memory (one TableColumn per field). The active index sets the order every
// cursor operation walks; rows with equal keys keep their insertion order. With no active
// index (name "") rows run in insertion order.
//
// Reading: value(field), asInteger/asBoolean/asDateTime/asFloat/asString/asBytes(field), or the
// proxy fieldByName("subject").asString(). Fields are addressed by position in the schema or
// by name (case-insensitive). A null reads as 0, false, 0.0, empty text or empty bytes; text
// forms are listed at asString(). Reading with no current row gives the null values.
//
// Writing: edit() (or insert() for a new blank row), setValue(field, QVariant) (a null
// QVariant stores null), post(). insertRow(values) adds and posts a whole row at once.
// Moving the cursor while editing posts the edit first. Every post/insertRow/deleteRow/
// emptyTable is written to the table file in its own transaction. A failed write is returned
// (TableResult::written false) while the change stays in memory; the next write of any kind,
// save() or flush() carries it.
//
// Cursor model (as the stores expect): first() sets bof(), next() past the last row leaves
// the cursor on the last row and sets eof(); recNo() is 1-based in index order, 0 when empty.
#include "core/Clock.h"
#include "store/TableColumn.h"
#include "store/TableFile.h"
#include "store/TableFilter.h"
#include "store/TableSchema.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// Outcome of a change. `applied`: the change is in the in-memory table. `written`: it (and
// every earlier change) is in the file too, or the table has no file.
struct [[nodiscard]] TableResult {
    bool applied = true;
    bool written = true;
    QString error;
    bool ok() const { return applied && written; }
    explicit operator bool() const { return ok(); }
};

// Outcome of load().
struct [[nodiscard]] TableLoadResult {
    enum Status {
        Loaded,   // rows and schema read from the file
        Missing,  // no file (or a file holding nothing): empty table, file created
        SetAside, // the file could not be read as a table file; it now lives at setAsidePath,
                  // byte for byte; the table starts empty with the caller's schema
        Failed    // the file could not be opened (permissions, I/O) and was left alone; the
                  // table is empty, and every write reports failure until a load succeeds
    };
    Status status = Missing;
    QString setAsidePath;
    QString error; // why the file was set aside or failed; empty otherwise
    bool ok() const { return status == Loaded || status == Missing; }
};

class Table
{
public:
    enum class State { Browse, Edit, Insert };
    // Row identity that survives posts and index changes; invalid once the row is deleted.
    struct Bookmark {
        int slot = -1;
        qint64 key = 0;
        bool isValid() const { return slot >= 0; }
    };
    // Called with the cursor on the candidate row; true accepts it. Used by findFirst/findNext.
    using RecordFilter = std::function<bool(const Table &)>;
    // Called once per posted row (post(), insertRow()), with the cursor on that row, after
    // the write to the file was tried.
    using AfterPost = std::function<void(Table &)>;

    class Field
    {
    public:
        Field(Table *t, int f) : m_t(t), m_f(f) {}
        bool isValid() const { return m_f >= 0; }
        int index() const { return m_f; }
        bool isNull() const { return m_t->isNull(m_f); }
        QVariant value() const { return m_t->value(m_f); }
        int asInteger() const { return m_t->asInteger(m_f); }
        bool asBoolean() const { return m_t->asBoolean(m_f); }
        SerialDateTime asDateTime() const { return m_t->asDateTime(m_f); }
        double asFloat() const { return m_t->asFloat(m_f); }
        QString asString() const { return m_t->asString(m_f); }
        QByteArray asBytes() const { return m_t->asBytes(m_f); }
        bool setValue(const QVariant &v) { return m_t->setValue(m_f, v); }
        bool clear() { return m_t->setValue(m_f, QVariant()); }

    private:
        Table *m_t;
        int m_f;
    };

    explicit Table(TableSchema schema = {});
    ~Table();
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    // Used for the time stamp of set-aside files; the table's own system clock otherwise.
    void setClock(const Clock *clock) { m_clock = clock; }

    // ---- schema -------------------------------------------------------------------------
    const TableSchema &schema() const { return m_schema; }
    int fieldCount() const { return int(m_schema.fields.size()); }
    int fieldIndex(const QString &name) const { return m_schema.fieldIndex(name); }
    // Proxies; an unknown name gives a proxy whose reads are null and writes fail.
    Field field(int f) { return Field(this, f); }
    Field fieldByName(const QString &name) { return Field(this, fieldIndex(name)); }

    // ---- index --------------------------------------------------------------------------
    // Re-sorts once; the current row stays current. "" selects insertion order. False (and
    // nothing changes) for an unknown name.
    bool setActiveIndex(const QString &name);
    QString activeIndex() const { return m_activeIndex; }

    // ---- filters (used by findFirst/findNext only) --------------------------------------
    // False, keeping the previous filter, when the text does not parse (see TableFilter).
    bool setFilterText(const QString &text, QString *error = nullptr);
    QString filterText() const { return m_filterText; }
    void setRecordFilter(RecordFilter f) { m_recordFilter = std::move(f); }
    // First/next row in index order that passes both filters; true when one was found. When
    // none is found the cursor stays where it was and eof() turns true.
    bool findFirst();
    bool findNext();
    // Whether the current row passes the filter text and the record filter, as findFirst and
    // findNext judge it; false with no current row. The cursor does not move.
    bool acceptsCurrent();

    // ---- cursor -------------------------------------------------------------------------
    void first();
    void last();
    void next();
    void prior();
    // Moves up to n rows (negative: backwards), stopping at the ends (which set eof/bof);
    // returns the number of rows moved, signed.
    int moveBy(int n);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_order.empty(); }
    int recordCount() const { return int(m_order.size()); }
    // 1-based position in index order; 0 when the table is empty.
    int recNo() const { return m_pos + 1; }
    // False (cursor unchanged) outside 1..recordCount().
    bool setRecNo(int n);

    // First row in index order whose field equals `value` (converted to the field's type; a
    // null QVariant finds a null). By the auto-increment field this is a hash look-up. The
    // cursor stays put when nothing is found.
    bool locate(int field, const QVariant &value);
    bool locate(const QString &fieldName, const QVariant &value)
    {
        return locate(fieldIndex(fieldName), value);
    }

    // Makes current the first row in index order whose value of `field` is at or above
    // `value` (nulls sort below every value). `field` must be the leading field of the active
    // index and ascending; this is a binary search. False when no row qualifies (the cursor
    // then stays where it was and eof() turns true) or the field does not lead the index.
    bool seekFirstAtLeast(int field, const QVariant &value);

    // ---- reading by slot (fast walks) ---------------------------------------------------
    // A slot is where a row's values live (Bookmark::slot); it stays the row's until the row
    // is deleted or the table is emptied or loaded. These readers do not move the cursor and
    // do not post an edit, so the values are the posted ones.
    // Slot of the row at 1-based position `n` in index order; -1 outside 1..recordCount().
    int slotAt(int n) const { return n >= 1 && n <= int(m_order.size()) ? m_order[n - 1] : -1; }
    // Slot of the row whose auto-increment field holds `id`; -1 when there is none (or the
    // table has no auto-increment field). A hash look-up.
    int slotOfId(qint32 id) const { return m_idSlot.value(id, -1); }
    // The posted value of `field` in `slot`, as value() gives it; a null QVariant for null.
    QVariant valueAt(int slot, int field) const { return m_cols[field].get(slot); }
    // The storage of `field` (0 <= field < fieldCount()), indexed by slot.
    const TableColumn &column(int field) const { return m_cols[field]; }
    // Whether the row in `slot` passes the filter text (not the record filter).
    bool filterTextAccepts(int slot) const { return m_filter.accepts(m_cols, slot); }
    bool filterTextAcceptsAll() const { return m_filter.acceptsAll(); }

    Bookmark bookmark() const;
    // False (cursor unchanged) when the row no longer exists.
    bool gotoBookmark(const Bookmark &b);

    // ---- editing ------------------------------------------------------------------------
    State state() const { return m_state; }
    // Starts editing the current row; false when there is none. Already editing: true.
    bool edit();
    // Starts a new blank row (all fields null); it joins the table at post().
    bool insert();
    // Only while editing; false for an unknown or auto-increment field.
    bool setValue(int field, const QVariant &v);
    bool setValue(const QString &fieldName, const QVariant &v)
    {
        return setValue(fieldIndex(fieldName), v);
    }
    // Ends editing: the row takes its place in the active index (binary search, no re-sort)
    // and becomes current; a new row gets the next auto-increment value.
    TableResult post();
    void cancel();
    // Adds and posts a row from values in field order; missing or null values leave the field
    // null; a value for the auto-increment field is ignored. The new row becomes current.
    TableResult insertRow(const QVariantList &values);
    // Deletes the current row; the row after it becomes current (the new last row when it
    // was the last).
    TableResult deleteRow();
    // Deletes every row; the auto-increment counter goes on from where it was.
    TableResult emptyTable();
    void setAfterPost(AfterPost cb) { m_afterPost = std::move(cb); }
    // Called by deleteRow() with the cursor on the row about to go.
    using BeforeDelete = std::function<void(Table &)>;
    void setBeforeDelete(BeforeDelete cb) { m_beforeDelete = std::move(cb); }
    // Called after emptyTable() and after load() replaced every row.
    using AfterReset = std::function<void(Table &)>;
    void setAfterReset(AfterReset cb) { m_afterReset = std::move(cb); }

    // ---- values of the current row -------------------------------------------------------
    bool isNull(int field) const;
    // int, bool, double, QString or QByteArray by field type; a null QVariant for null.
    QVariant value(int field) const;
    int asInteger(int field) const;
    bool asBoolean(int field) const;
    SerialDateTime asDateTime(int field) const;
    double asFloat(int field) const;
    // Integers in decimal, booleans "True"/"False", date-times as "yyyy-mm-dd" or
    // "yyyy-mm-dd hh:mm:ss" (date alone at exactly midnight), text and memo as they are, blob
    // as UTF-8 text. Null gives "".
    QString asString(int field) const;
    QByteArray asBytes(int field) const;
    // The value the auto-increment field will give the next new row.
    qint32 nextAutoIncValue() const { return m_nextId; }

    // ---- file ---------------------------------------------------------------------------
    // Replaces schema and rows with the file's and writes every later change to it. Missing
    // file: empty table with this table's schema, file created. A file that is not a readable
    // table file, or whose fields differ from this table's (names and types, in order), is set
    // aside (never overwritten) and a new file is created. Indexes of this table's schema that
    // the file lacks are kept. The active index is kept when the new schema has it.
    TableLoadResult load(const QString &path);
    // Writes what is pending, then checkpoints so that the file alone holds everything.
    TableResult save();
    // save() when `path` is the open file; else writes the whole table to `path` (replacing
    // it) and from then on writes to that file instead.
    TableResult save(const QString &path);
    // A consistent copy of the table file at `path` (replaced when it exists), after writing
    // what is pending. A table with no file writes its rows to a new file at `path`.
    TableResult backupTo(const QString &path);
    // Retries the pending writes.
    TableResult flush();
    // Replaces every row with the rows of the table file at `path` (a ".bak" copy) and writes
    // them all to this table's file in one transaction. Refused (applied false, nothing
    // changed) when `path` is no readable table file with this table's fields.
    TableResult restoreFrom(const QString &path);
    // Whether `path` is a table file that restoreFrom() would take.
    bool canRestoreFrom(const QString &path) const;
    // The loaded file could be read but the system refused to open it for writing: every
    // write fails and the changes stay pending.
    bool isReadOnly() const { return m_file && m_file->isReadOnly(); }
    // Called with the outcome of every write of pending changes to the file (after each
    // change, flush(), save(), endBulk()); an empty function: none.
    using AfterWrite = std::function<void(const TableResult &)>;
    void setAfterWrite(AfterWrite cb) { m_afterWrite = std::move(cb); }
    // Bulk changes (generators, imports): between beginBulk() and endBulk() posts, inserts and
    // deletes change the rows in memory only and report written = true; endBulk() writes them
    // all to the file in one transaction and returns that write's outcome. Scopes nest; only
    // the outermost endBulk() writes (save, flush, close and backupTo still write what is
    // pending). A crash before endBulk() loses the bulk's changes.
    void beginBulk() { ++m_bulkDepth; }
    TableResult endBulk();
    bool inBulk() const { return m_bulkDepth > 0; }
    bool hasPendingWrites() const { return m_pendingEmpty || !m_pending.empty(); }
    // Backing off from another program's lock: the last write failed because another
    // connection held the file's lock. Until a write succeeds, the writes that follow a change
    // (and endBulk()) try without waiting for the lock, so that a run of changes (every step of
    // a drag) does not wait out the busy timeout each time; a refused change stays pending as
    // any failed write does. flush(), save(), backupTo() and close() wait as usual, and so end
    // the back-off once the lock is gone.
    bool isBackingOffLock() const { return m_lockBackoff; }
    // Writes to the open file that waited for another connection's lock until the busy timeout
    // ran out; 0 without a file.
    int lockTimeouts() const { return m_file ? m_file->lockTimeouts() : 0; }
    QString fileName() const { return m_filePath; }
    // Writes what is pending and closes the file; the rows stay in memory.
    TableResult close();

private:
    struct Key {
        int field;
        FieldType type;
        bool descending;
    };

    int currentSlot() const { return m_pos >= 0 ? m_order[m_pos] : -1; }
    bool editing() const { return m_state != State::Browse; }
    const QVariant *bufferValue(int field) const;
    int compareSlots(int a, int b) const;
    bool slotLess(int a, int b) const { return compareSlots(a, b) < 0; }
    void sortOrder();
    int positionOf(int slot) const;
    int insertIntoOrder(int slot);
    int allocSlot();
    void freeSlot(int slot);
    void writeBuffer(int slot);
    bool passesFilters();
    bool postIfEditing();
    void resetCursor();
    void resetRows();
    void adoptImage(TableImage &&image);
    std::vector<QVariant> rowValues(int slot) const;
    TableResult writeThrough(TableFile::LockWait wait);
    // writeThrough() without telling the after-write function.
    TableResult writePending(TableFile::LockWait wait);
    // Opens `path` into `image`; an error text when it is no table file with this table's fields.
    QString readSource(const QString &path, TableImage *image) const;
    // writeThrough() outside a bulk; nothing (success) inside one.
    TableResult writeChange();
    // How the write of a change meets another program's lock: NoWait while backing off.
    TableFile::LockWait changeWait() const;
    TableResult writeWholeTable(TableFile &file, const QString &path);
    QDateTime now() const;

    TableSchema m_schema;
    std::vector<TableColumn> m_cols;
    std::vector<qint64> m_rowKey; // per slot; 0 marks a free slot
    std::vector<int> m_free;
    std::vector<int> m_order; // slots in active index order
    QHash<qint32, int> m_idSlot;
    int m_idField = -1;
    qint32 m_nextId = 1;
    qint64 m_nextRowKey = 1;

    QString m_activeIndex;
    std::vector<Key> m_keys;

    QString m_filterText;
    TableFilter m_filter;
    RecordFilter m_recordFilter;
    AfterPost m_afterPost;
    BeforeDelete m_beforeDelete;
    AfterReset m_afterReset;
    AfterWrite m_afterWrite;

    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;

    State m_state = State::Browse;
    std::vector<QVariant> m_buf;

    std::unique_ptr<TableFile> m_file;
    QString m_filePath;
    bool m_fileFailed = false;       // a load failed: writes report failure
    int m_bulkDepth = 0;             // > 0: writes wait for endBulk()
    std::map<qint64, int> m_pending; // row key -> slot (-1: deleted)
    bool m_pendingEmpty = false;
    bool m_lockBackoff = false; // see isBackingOffLock()

    const Clock *m_clock = nullptr;
    Clock m_systemClock;
};
