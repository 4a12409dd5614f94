#pragma once
// Outcome of a store operation that writes a file or applies a file: whether it succeeded,
// how many records it changed, and why it failed.
#include <QString>

struct [[nodiscard]] StoreResult {
    bool ok = true;
    int count = 0; // records deleted, restored, imported or archived
    QString error; // empty when ok
    explicit operator bool() const { return ok; }

    // Takes on the first failure of the steps that make up the operation: when `stepOk` is
    // false and nothing failed before, ok becomes false with `why`; later failures keep it.
    void noteFailure(bool stepOk, const QString &why)
    {
        if (stepOk || !ok) return;
        ok = false;
        error = why;
    }

    static StoreResult failure(const QString &why)
    {
        StoreResult r;
        r.ok = false;
        r.error = why;
        return r;
    }
};
