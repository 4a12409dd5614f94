#pragma once
// Keeps a table's cursor where it was across a walk: saves a bookmark on construction and goes
// back to it on destruction. When that row was deleted in between, the cursor goes to the
// first row instead.
#include "store/Table.h"

class CursorGuard
{
public:
    explicit CursorGuard(Table &table) : m_table(table), m_here(table.bookmark()) {}
    ~CursorGuard()
    {
        if (!m_table.gotoBookmark(m_here)) m_table.first();
    }
    CursorGuard(const CursorGuard &) = delete;
    CursorGuard &operator=(const CursorGuard &) = delete;

private:
    Table &m_table;
    Table::Bookmark m_here;
};
