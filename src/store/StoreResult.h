#pragma once
// Outcome of a store operation that writes a file or applies a file: whether it succeeded,
// how many records it changed, and why it failed.
#include <QString>

struct [[nodiscard]] StoreResult {
    bool ok = true;
    int count = 0; // records deleted, restored, imported or archived
    QString error; // empty when ok
    explicit operator bool() const { return ok; }

    static StoreResult failure(const QString &why)
    {
        StoreResult r;
        r.ok = false;
        r.error = why;
        return r;
    }
};
