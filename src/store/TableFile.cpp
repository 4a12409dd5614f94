#include "store/TableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

namespace
{

constexpr const char *FormatName = "dayloom-table";
constexpr int FormatVersion = 1;
constexpr int BusyTimeoutMs = 500;

QString quoted(const QString &name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString sqlType(FieldType t)
{
    switch (t) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::Boolean:
        return QStringLiteral("INTEGER");
    case FieldType::DateTime:
        return QStringLiteral("REAL");
    case FieldType::Text:
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::Blob:
        return QStringLiteral("BLOB");
    }
    return {};
}

// RAII for one prepared statement.
class Stmt
{
public:
    Stmt(sqlite3 *db, const QString &sql) : m_rc(prepare(db, sql.toUtf8())) {}
    ~Stmt() { sqlite3_finalize(m_s); }
    Stmt(const Stmt &) = delete;
    Stmt &operator=(const Stmt &) = delete;
    int rc() const { return m_rc; }
    sqlite3_stmt *get() const { return m_s; }
    sqlite3_stmt *release() { return std::exchange(m_s, nullptr); }

private:
    int prepare(sqlite3 *db, const QByteArray &sql)
    {
        return sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_s, nullptr);
    }
    sqlite3_stmt *m_s = nullptr;
    int m_rc;
};

// Damage and foreign content: the file is there but is not a table file we can read.
bool isDamage(int rc)
{
    const int primary = rc & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_ERROR ||
           primary == SQLITE_FORMAT || primary == SQLITE_MISMATCH || primary == SQLITE_RANGE;
}

// Binds the value of `slot` in column `c` to parameter `col`. Texts and bytes are bound without
// a copy: the column must not change until the statement is stepped and its bindings cleared.
void bindValue(sqlite3_stmt *s, int col, const TableColumn &c, int slot)
{
    if (c.isNull(slot)) {
        sqlite3_bind_null(s, col);
        return;
    }
    switch (c.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        sqlite3_bind_int64(s, col, c.ints[slot]);
        break;
    case FieldType::Boolean:
        sqlite3_bind_int(s, col, c.ints[slot] != 0 ? 1 : 0);
        break;
    case FieldType::DateTime:
        sqlite3_bind_double(s, col, c.reals[slot]);
        break;
    case FieldType::Text:
    case FieldType::Memo: {
        const QString &t = c.texts[slot];
        sqlite3_bind_text16(s, col, t.utf16(), int(t.size() * 2), SQLITE_STATIC);
        break;
    }
    case FieldType::Blob: {
        const QByteArray &b = c.bytes[slot];
        sqlite3_bind_blob(s, col, b.constData(), int(b.size()), SQLITE_STATIC);
        break;
    }
    }
}

// Another connection holds the lock the write needs.
bool isLockedOut(int rc)
{
    const int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

qint32 clampInt(sqlite3_int64 v)
{
    if (v > std::numeric_limits<qint32>::max()) return std::numeric_limits<qint32>::max();
    if (v < std::numeric_limits<qint32>::min()) return std::numeric_limits<qint32>::min();
    return qint32(v);
}

} // namespace

TableFile::~TableFile()
{
    close();
}

QString TableFile::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("table file not open");
}

bool TableFile::exec(const char *sql, QString *error)
{
    char *msg = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        if (error) *error = QString::fromUtf8(msg ? msg : sqlite3_errstr(rc));
        sqlite3_free(msg);
        return false;
    }
    return true;
}

void TableFile::finalizeAll()
{
    for (sqlite3_stmt **s : {&m_upsert, &m_delete, &m_deleteAll, &m_setNextId}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
}

void TableFile::close()
{
    finalizeAll();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_path.clear();
    m_readOnly = false;
    m_lastWriteLocked = false;
    m_lockTimeouts = 0;
    m_fieldCount = 0;
}

TableFile::OpenResult TableFile::open(const QString &path, TableImage *image, QString *error)
{
    close();
    *image = TableImage();
    const QFileInfo info(path);
    if (!info.exists()) return OpenResult::Missing;
    if (!info.isFile() || !info.isReadable()) {
        *error = QStringLiteral("%1 cannot be read").arg(path);
        return OpenResult::Failed;
    }

    // The system may refuse to open the file for writing (a read-only file system, no write
    // permission): SQLite then opens it read-only, and a WAL file whose -shm cannot be made
    // cannot even be read. Such a file is read as immutable and stays read-only.
    const auto openDb = [&](const QByteArray &name, int flags) {
        if (sqlite3_open_v2(name.constData(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr) !=
            SQLITE_OK)
            return false;
        sqlite3_busy_timeout(m_db, BusyTimeoutMs);
        sqlite3_extended_result_codes(m_db, 1);
        return true;
    };
    const QByteArray immutable =
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
    if (!openDb(QFile::encodeName(path), SQLITE_OPEN_READWRITE)) {
        *error = lastError();
        close();
        return OpenResult::Failed;
    }
    m_readOnly = sqlite3_db_readonly(m_db, "main") == 1;
    if (m_readOnly) {
        Stmt probe(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if ((probe.rc() & 0xff) == SQLITE_CANTOPEN ||
            (probe.rc() == SQLITE_OK && (sqlite3_step(probe.get()) & 0xff) == SQLITE_CANTOPEN)) {
            sqlite3_finalize(probe.release());
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            if (!openDb(immutable, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI)) {
                *error = lastError();
                close();
                return OpenResult::Failed;
            }
        }
    }

    auto failWith = [&](int rc, const QString &why) {
        *error = why;
        close();
        return isDamage(rc) ? OpenResult::Unreadable : OpenResult::Failed;
    };
    auto foreign = [&](const QString &why) {
        *error = why;
        close();
        return OpenResult::Unreadable;
    };

    {
        Stmt any(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        if (any.rc() != SQLITE_OK) return failWith(any.rc(), lastError());
        const int rc = sqlite3_step(any.get());
        if (rc != SQLITE_ROW) return failWith(rc, lastError());
        if (sqlite3_column_int(any.get(), 0) == 0) {
            close();
            return OpenResult::Missing;
        }
    }

    TableSchema schema;
    qint32 storedNextId = 1;
    {
        Stmt meta(m_db, QStringLiteral("SELECT key, value FROM dayloom_meta"));
        if (meta.rc() != SQLITE_OK)
            return failWith(meta.rc(), QStringLiteral("not a table file: %1").arg(lastError()));
        QString format;
        int version = -1;
        int rc;
        while ((rc = sqlite3_step(meta.get())) == SQLITE_ROW) {
            const QString key = QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(meta.get(), 0)));
            if (key == u"format")
                format = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(meta.get(), 1)));
            else if (key == u"version")
                version = sqlite3_column_int(meta.get(), 1);
            else if (key == u"next_id")
                storedNextId = clampInt(sqlite3_column_int64(meta.get(), 1));
        }
        if (rc != SQLITE_DONE) return failWith(rc, lastError());
        if (format != QLatin1String(FormatName))
            return foreign(QStringLiteral("not a table file (format \"%1\")").arg(format));
        if (version != FormatVersion)
            return foreign(QStringLiteral("table file version %1 is not supported").arg(version));
    }
    {
        Stmt fields(m_db,
                    QStringLiteral(
                        "SELECT position, name, type, size FROM dayloom_fields ORDER BY position"));
        if (fields.rc() != SQLITE_OK) return failWith(fields.rc(), lastError());
        int rc;
        while ((rc = sqlite3_step(fields.get())) == SQLITE_ROW) {
            FieldDef f;
            f.name = QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(fields.get(), 1)));
            const QString type = QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(fields.get(), 2)));
            if (sqlite3_column_int(fields.get(), 0) != schema.fields.size() ||
                !fieldTypeFromName(type, &f.type))
                return foreign(QStringLiteral("field list damaged at %1").arg(f.name));
            f.size = sqlite3_column_int(fields.get(), 3);
            schema.fields.append(f);
        }
        if (rc != SQLITE_DONE) return failWith(rc, lastError());
    }
    {
        Stmt ix(m_db, QStringLiteral("SELECT index_no, name, position, field, descending FROM "
                                     "dayloom_indexes ORDER BY index_no, position"));
        if (ix.rc() != SQLITE_OK) return failWith(ix.rc(), lastError());
        int rc;
        int lastNo = -1;
        while ((rc = sqlite3_step(ix.get())) == SQLITE_ROW) {
            const int no = sqlite3_column_int(ix.get(), 0);
            if (no != lastNo) {
                IndexDef d;
                d.name = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(ix.get(), 1)));
                schema.indexes.append(d);
                lastNo = no;
            }
            schema.indexes.last().fields.append({QString::fromUtf8(reinterpret_cast<const char *>(
                                                     sqlite3_column_text(ix.get(), 3))),
                                                 sqlite3_column_int(ix.get(), 4) != 0});
        }
        if (rc != SQLITE_DONE) return failWith(rc, lastError());
    }
    QString why;
    if (schema.fields.isEmpty() || !schema.isValid(&why))
        return foreign(QStringLiteral("schema damaged: %1").arg(why));

    const int n = int(schema.fields.size());
    QString select = QStringLiteral("SELECT _row");
    for (const FieldDef &f : schema.fields)
        select += QStringLiteral(", ") + quoted(f.name);
    select += QStringLiteral(" FROM records ORDER BY _row");
    // Reading through a memory map spares a copy of every page.
    exec("PRAGMA mmap_size=1073741824", nullptr);
    Stmt rows(m_db, select);
    if (rows.rc() != SQLITE_OK) return failWith(rows.rc(), lastError());

    {
        // The highest row key bounds the row count and costs one b-tree descent, where
        // count(*) would walk every row.
        Stmt count(m_db, QStringLiteral("SELECT max(_row) FROM records"));
        std::size_t hint = 0;
        if (count.rc() == SQLITE_OK && sqlite3_step(count.get()) == SQLITE_ROW)
            hint = std::size_t(std::clamp<sqlite3_int64>(sqlite3_column_int64(count.get(), 0), 0,
                                                         4 * 1024 * 1024));
        image->rowKeys.reserve(hint);
        for (const FieldDef &f : schema.fields) {
            image->columns.emplace_back(f);
            image->columns.back().reserve(hint);
        }
    }
    const int idField = schema.autoIncField();
    qint32 maxId = 0;
    bool idsAscending = true;
    int rc;
    sqlite3_stmt *s = rows.get();
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        image->rowKeys.push_back(sqlite3_column_int64(s, 0));
        for (int i = 0; i < n; ++i) {
            TableColumn &c = image->columns[i];
            const int col = i + 1;
            const bool isNull = sqlite3_column_type(s, col) == SQLITE_NULL;
            c.nulls.push_back(isNull ? 1 : 0);
            switch (c.type) {
            case FieldType::AutoInc:
            case FieldType::Integer:
                c.ints.push_back(clampInt(sqlite3_column_int64(s, col)));
                break;
            case FieldType::Boolean:
                c.ints.push_back(sqlite3_column_int64(s, col) != 0 ? 1 : 0);
                break;
            case FieldType::DateTime:
                c.reals.push_back(sqlite3_column_double(s, col));
                break;
            case FieldType::Text:
            case FieldType::Memo: {
                const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(s, col));
                const int len = sqlite3_column_bytes(s, col);
                c.texts.push_back(t ? QString::fromUtf8(t, len) : QString());
                break;
            }
            case FieldType::Blob: {
                const void *b = sqlite3_column_blob(s, col);
                const int len = sqlite3_column_bytes(s, col);
                c.bytes.push_back(b ? QByteArray(static_cast<const char *>(b), len) : QByteArray());
                break;
            }
            }
        }
        if (idField >= 0) {
            const TableColumn &c = image->columns[idField];
            const qint32 id = c.ints.back();
            if (c.nulls.back())
                return foreign(QStringLiteral("a row without %1").arg(schema.fields[idField].name));
            // IDs are handed out in row-key order, so they normally ascend; only a file
            // changed by hand needs the full check below.
            if (image->rowKeys.size() > 1 && id <= maxId) idsAscending = false;
            maxId = std::max(maxId, id);
        }
    }
    if (rc != SQLITE_DONE) return failWith(rc, lastError());
    if (idField >= 0 && !idsAscending) {
        std::vector<qint32> ids = image->columns[idField].ints;
        std::sort(ids.begin(), ids.end());
        if (std::adjacent_find(ids.begin(), ids.end()) != ids.end())
            return foreign(
                QStringLiteral("two rows with the same %1").arg(schema.fields[idField].name));
    }

    image->schema = schema;
    image->nextId =
        std::max(storedNextId, maxId < std::numeric_limits<qint32>::max() ? maxId + 1 : maxId);
    if (image->nextId < 1) image->nextId = 1;

    m_path = path;
    m_fieldCount = n;
    const bool journalSet = m_readOnly || (exec("PRAGMA journal_mode=WAL", error) &&
                                           exec("PRAGMA synchronous=FULL", error));
    if (!journalSet || !prepareWriters(error)) {
        close();
        *image = TableImage();
        return OpenResult::Failed;
    }
    return OpenResult::Loaded;
}

bool TableFile::create(const QString &path, const TableSchema &schema, qint32 nextId,
                       QString *error)
{
    close();
    if (!removeFile(path)) {
        *error = QStringLiteral("%1 cannot be replaced").arg(path);
        return false;
    }
    const QByteArray native = QFile::encodeName(path);
    if (sqlite3_open_v2(native.constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        *error = lastError();
        close();
        return false;
    }
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
    if (!exec("PRAGMA journal_mode=WAL", error) || !exec("PRAGMA synchronous=FULL", error) ||
        !exec("BEGIN IMMEDIATE", error)) {
        close();
        return false;
    }

    QString ddl = QStringLiteral(
        "CREATE TABLE dayloom_meta(key TEXT PRIMARY KEY, value);"
        "CREATE TABLE dayloom_fields(position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
        "type TEXT NOT NULL, size INTEGER NOT NULL);"
        "CREATE TABLE dayloom_indexes(index_no INTEGER NOT NULL, name TEXT NOT NULL, "
        "position INTEGER NOT NULL, field TEXT NOT NULL, descending INTEGER NOT NULL, "
        "PRIMARY KEY(index_no, position));"
        "CREATE TABLE records(_row INTEGER PRIMARY KEY");
    for (const FieldDef &f : schema.fields)
        ddl += QStringLiteral(", ") + quoted(f.name) + u' ' + sqlType(f.type);
    ddl += QStringLiteral(");");
    bool ok = exec(ddl.toUtf8().constData(), error);

    auto run = [&](const QString &sql, const QVariantList &args) {
        if (!ok) return;
        Stmt st(m_db, sql);
        if (st.rc() != SQLITE_OK) {
            *error = lastError();
            ok = false;
            return;
        }
        for (int i = 0; i < args.size(); ++i) {
            const QVariant &a = args[i];
            if (a.typeId() == QMetaType::QString) {
                const QByteArray u = a.toString().toUtf8();
                sqlite3_bind_text(st.get(), i + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(st.get(), i + 1, a.toLongLong());
            }
        }
        if (sqlite3_step(st.get()) != SQLITE_DONE) {
            *error = lastError();
            ok = false;
        }
    };
    const QString meta = QStringLiteral("INSERT INTO dayloom_meta(key, value) VALUES(?, ?)");
    run(meta, {QStringLiteral("format"), QString::fromLatin1(FormatName)});
    run(meta, {QStringLiteral("version"), FormatVersion});
    run(meta, {QStringLiteral("next_id"), nextId});
    for (int i = 0; i < schema.fields.size(); ++i)
        run(QStringLiteral("INSERT INTO dayloom_fields VALUES(?, ?, ?, ?)"),
            {i, schema.fields[i].name, fieldTypeName(schema.fields[i].type),
             schema.fields[i].size});
    for (int i = 0; i < schema.indexes.size(); ++i)
        for (int p = 0; p < schema.indexes[i].fields.size(); ++p)
            run(QStringLiteral("INSERT INTO dayloom_indexes VALUES(?, ?, ?, ?, ?)"),
                {i, schema.indexes[i].name, p, schema.indexes[i].fields[p].field,
                 schema.indexes[i].fields[p].descending ? 1 : 0});
    if (!ok || !exec("COMMIT", error)) {
        close();
        removeFile(path);
        return false;
    }
    m_path = path;
    m_fieldCount = int(schema.fields.size());
    if (!prepareWriters(error)) {
        close();
        return false;
    }
    return true;
}

bool TableFile::prepareWriters(QString *error)
{
    QString cols = QStringLiteral("_row");
    QString marks = QStringLiteral("?");
    // Field names come from the schema table of this very file, so they are quoted, never
    // spliced in raw.
    Stmt names(m_db, QStringLiteral("SELECT name FROM dayloom_fields ORDER BY position"));
    if (names.rc() != SQLITE_OK) {
        *error = lastError();
        return false;
    }
    while (sqlite3_step(names.get()) == SQLITE_ROW) {
        cols += QStringLiteral(", ") + quoted(QString::fromUtf8(reinterpret_cast<const char *>(
                                           sqlite3_column_text(names.get(), 0))));
        marks += QStringLiteral(", ?");
    }
    auto prep = [&](const QString &sql, sqlite3_stmt **out) {
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, u.constData(), int(u.size()), out, nullptr) != SQLITE_OK) {
            *error = lastError();
            return false;
        }
        return true;
    };
    return prep(QStringLiteral("INSERT OR REPLACE INTO records(%1) VALUES(%2)").arg(cols, marks),
                &m_upsert) &&
           prep(QStringLiteral("DELETE FROM records WHERE _row = ?"), &m_delete) &&
           prep(QStringLiteral("DELETE FROM records"), &m_deleteAll) &&
           prep(QStringLiteral("UPDATE dayloom_meta SET value = ? WHERE key = 'next_id'"),
                &m_setNextId);
}

bool TableFile::write(bool emptyFirst, const std::vector<RowWrite> &rows,
                      const std::vector<TableColumn> &columns, qint32 nextId, QString *error,
                      LockWait wait)
{
    m_lastWriteLocked = false;
    if (!m_db) {
        *error = QStringLiteral("table file not open");
        return false;
    }
    if (m_readOnly) {
        *error = QStringLiteral("%1 is read-only").arg(m_path);
        return false;
    }
    if (wait == LockWait::NoWait) sqlite3_busy_timeout(m_db, 0);
    const bool ok = writeTransaction(emptyFirst, rows, columns, nextId, error);
    if (wait == LockWait::NoWait) sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    if (ok) return true;
    if (m_lastWriteLocked && wait == LockWait::Wait) ++m_lockTimeouts;
    return false;
}

bool TableFile::writeTransaction(bool emptyFirst, const std::vector<RowWrite> &rows,
                                 const std::vector<TableColumn> &columns, qint32 nextId,
                                 QString *error)
{
    // The result code is read before ROLLBACK replaces it.
    const auto fail = [this] {
        m_lastWriteLocked = isLockedOut(sqlite3_extended_errcode(m_db));
        return false;
    };
    if (!exec("BEGIN IMMEDIATE", error)) return fail();
    auto stepReset = [&](sqlite3_stmt *s) {
        const int rc = sqlite3_step(s);
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        if (rc != SQLITE_DONE) {
            *error = lastError();
            return false;
        }
        return true;
    };
    bool ok = !emptyFirst || stepReset(m_deleteAll);
    for (const RowWrite &r : rows) {
        if (!ok) break;
        if (r.slot < 0) {
            sqlite3_bind_int64(m_delete, 1, r.key);
            ok = stepReset(m_delete);
            continue;
        }
        sqlite3_bind_int64(m_upsert, 1, r.key);
        for (int i = 0; i < m_fieldCount && i < int(columns.size()); ++i)
            bindValue(m_upsert, i + 2, columns[i], r.slot);
        ok = stepReset(m_upsert);
    }
    if (ok) {
        sqlite3_bind_int64(m_setNextId, 1, nextId);
        ok = stepReset(m_setNextId);
    }
    if (ok && exec("COMMIT", error)) return true;
    fail();
    QString ignored;
    exec("ROLLBACK", &ignored);
    return false;
}

bool TableFile::checkpoint(QString *error)
{
    if (!m_db) {
        *error = QStringLiteral("table file not open");
        return false;
    }
    if (m_readOnly) return true; // nothing was written to a read-only file
    const int rc =
        sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        *error = lastError();
        return false;
    }
    return true;
}

bool TableFile::backupTo(const QString &path, QString *error)
{
    if (!m_db) {
        *error = QStringLiteral("table file not open");
        return false;
    }
    removeFile(path);
    sqlite3 *dest = nullptr;
    const QByteArray native = QFile::encodeName(path);
    if (sqlite3_open_v2(native.constData(), &dest,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(dest ? sqlite3_errmsg(dest) : "out of memory");
        sqlite3_close_v2(dest);
        return false;
    }
    sqlite3_backup *b = sqlite3_backup_init(dest, "main", m_db, "main");
    bool ok = b != nullptr;
    if (b) {
        const int rc = sqlite3_backup_step(b, -1);
        ok = rc == SQLITE_DONE;
        sqlite3_backup_finish(b);
    }
    if (!ok) *error = QString::fromUtf8(sqlite3_errmsg(dest));
    sqlite3_close_v2(dest);
    if (!ok) removeFile(path);
    return ok;
}

QString TableFile::setAside(const QString &path, const QDateTime &now, QString *error)
{
    const QString base =
        path + QStringLiteral(".unreadable-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 1000; ++n) {
        const QString target = n == 1 ? base : base + u'-' + QString::number(n);
        if (QFileInfo::exists(target) || QFileInfo::exists(target + QStringLiteral("-wal")) ||
            QFileInfo::exists(target + QStringLiteral("-shm")))
            continue;
        // QFile::rename never replaces an existing file.
        if (!QFile::rename(path, target)) {
            if (QFileInfo::exists(target)) continue;
            *error = QStringLiteral("%1 could not be renamed to %2").arg(path, target);
            return {};
        }
        for (const char *suffix : {"-wal", "-shm"}) {
            const QString companion = path + QLatin1String(suffix);
            if (QFileInfo::exists(companion) &&
                !QFile::rename(companion, target + QLatin1String(suffix)))
                QFile::remove(companion); // a stale companion must not meet a new file
        }
        return target;
    }
    *error = QStringLiteral("no free name to set %1 aside").arg(path);
    return {};
}

bool TableFile::removeFile(const QString &path)
{
    bool ok = true;
    for (const QString &p : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")}) {
        if (QFileInfo::exists(p) && !QFile::remove(p)) ok = false;
    }
    return ok;
}
