#pragma once
// One store's table file as the window sees it when it keeps the user told about unsaved
// changes: whether changes wait for the file, whether the file is read-only, retrying the
// waiting writes, restoring a ".bak" copy, and a function that hears every write's outcome.
// A view over the store's table: it must not outlive the store.
#include "store/Table.h"

class TableWrites
{
public:
    explicit TableWrites(Table &table) : m_table(table) {}

    QString fileName() const { return m_table.fileName(); }
    // Changes are in memory that the file does not hold yet.
    bool hasPendingWrites() const { return m_table.hasPendingWrites(); }
    bool isReadOnly() const { return m_table.isReadOnly(); }
    // See Table::isBackingOffLock and Table::lockTimeouts.
    bool isBackingOffLock() const { return m_table.isBackingOffLock(); }
    int lockTimeouts() const { return m_table.lockTimeouts(); }
    // Writes what waits; ok when nothing waits any more.
    TableResult retry() { return m_table.flush(); }
    void setAfterWrite(Table::AfterWrite cb) { m_table.setAfterWrite(std::move(cb)); }
    // See Table::canRestoreFrom and Table::restoreFrom.
    bool canRestoreFrom(const QString &path) const { return m_table.canRestoreFrom(path); }
    TableResult restoreFrom(const QString &path) { return m_table.restoreFrom(path); }

private:
    Table &m_table;
};
