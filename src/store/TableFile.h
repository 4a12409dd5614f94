#pragma once
// The SQLite file behind a table. Layout (see docs/file-formats.md, "Table files (.cds)"):
//   dayloom_meta(key, value)         format = 'dayloom-table', version = 1, next_id
//   dayloom_fields(position, name, type, size)
//   dayloom_indexes(index_no, name, position, field, descending)
//   records(_row INTEGER PRIMARY KEY, "<field>" ..., one column per field in field order)
// `_row` is the table's own row key: unique, assigned in insertion order, never shown to the
// stores. The file runs in WAL mode with synchronous=FULL; every write() is one transaction.
#include "store/TableColumn.h"
#include "store/TableSchema.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Everything a file holds, in memory: one column per field, rowKeys[i] is the `_row` of slot i
// (ascending).
struct TableImage {
    TableSchema schema;
    qint32 nextId = 1;
    std::vector<TableColumn> columns;
    std::vector<qint64> rowKeys;
};

// One row to write: the row with `_row` = key takes the values of `slot` in the columns handed
// to TableFile::write; a negative slot deletes it.
struct RowWrite {
    qint64 key = 0;
    int slot = -1;
};

class TableFile
{
public:
    enum class OpenResult {
        Loaded,     // the file was read into the image and stays open for writing
        Missing,    // no file, or a file that holds nothing (no table at all); nothing is open
        Unreadable, // not a table file, or damaged; nothing is open, nothing was changed
        Failed      // could not be opened or read (permissions, I/O); nothing is open
    };

    TableFile() = default;
    ~TableFile();
    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    OpenResult open(const QString &path, TableImage *image, QString *error);
    // Creates a new file with the schema and no rows and keeps it open. An existing file at
    // `path` (and its -wal/-shm companions) is removed first: callers only create where no
    // readable data lives.
    bool create(const QString &path, const TableSchema &schema, qint32 nextId, QString *error);
    bool isOpen() const { return m_db != nullptr; }
    // The system refused to open the loaded file for writing: every write() fails.
    bool isReadOnly() const { return m_readOnly; }
    QString path() const { return m_path; }
    // Closing checkpoints the WAL into the main file.
    void close();

    // How write() meets a lock another connection holds on the file: Wait retries for up to
    // the busy timeout (500 ms) before failing; NoWait fails at once.
    enum class LockWait { Wait, NoWait };

    // One transaction: all rows deleted first when `emptyFirst`, then `rows` in order with
    // their values from `columns` (one per field of this file, in field order), then next_id.
    // On failure nothing of it is in the file.
    bool write(bool emptyFirst, const std::vector<RowWrite> &rows,
               const std::vector<TableColumn> &columns, qint32 nextId, QString *error,
               LockWait wait = LockWait::Wait);
    // The last write() failed because another connection held the file's lock; false after a
    // write that succeeded or failed for another reason.
    bool lastWriteLocked() const { return m_lastWriteLocked; }
    // How many write()s of this open file waited for another connection's lock until the busy
    // timeout ran out (NoWait writes never count).
    int lockTimeouts() const { return m_lockTimeouts; }
    // Moves everything from the WAL into the main file and truncates the WAL.
    bool checkpoint(QString *error);
    // A consistent copy of the open file at `path` (replaced when it exists).
    bool backupTo(const QString &path, QString *error);

    // Renames `path` (and any -wal/-shm companions) to "<path>.unreadable-YYYYMMDD-HHMMSS",
    // adding "-2", "-3", ... when that name is taken; never replaces a file. Returns the new
    // name of the main file, or an empty string with `error` set.
    static QString setAside(const QString &path, const QDateTime &now, QString *error);
    // Removes `path` and its -wal/-shm companions; true when none of them is left.
    static bool removeFile(const QString &path);

private:
    bool exec(const char *sql, QString *error);
    // write() after its checks, with the busy timeout already set.
    bool writeTransaction(bool emptyFirst, const std::vector<RowWrite> &rows,
                          const std::vector<TableColumn> &columns, qint32 nextId, QString *error);
    bool prepareWriters(QString *error);
    void finalizeAll();
    QString lastError() const;

    sqlite3 *m_db = nullptr;
    QString m_path;
    int m_fieldCount = 0;
    bool m_readOnly = false;
    bool m_lastWriteLocked = false;
    int m_lockTimeouts = 0;
    sqlite3_stmt *m_upsert = nullptr;
    sqlite3_stmt *m_delete = nullptr;
    sqlite3_stmt *m_deleteAll = nullptr;
    sqlite3_stmt *m_setNextId = nullptr;
};
