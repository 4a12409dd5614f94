#pragma once
// Outcome of adding one row to a store: the new row's id and the table's outcome.
#include "store/Table.h"

struct [[nodiscard]] InsertResult {
    int id = -1;       // the new row's id; -1 when the row was not added
    TableResult table; // applied: the row is in memory; written: it is in the file too
    bool applied() const { return id >= 0 && table.applied; }
    bool ok() const { return applied() && table.written; }
    explicit operator bool() const { return ok(); }
};
