#pragma once
// The bar across the bottom of the main window's client area that tells the user when the
// calendar's changes do not reach its table files. It lies over the bottom of the client area
// rather than taking room from it, so showing it never moves a grid under a drag going on. It
// listens to every write of the stores' tables: a failed write shows "Changes are not being saved:
// <reason>" at once, and the bar goes once no table has changes waiting for its file. The changes
// stay in memory and on the screen; each table's next write carries them, and retry() writes them
// again (the window calls it on every timer tick). A table whose file the system refused to open
// for writing makes the calendar read-only; the bar then says so for as long as the window lives.
#include "store/TableWrites.h"

#include <QLabel>

#include <vector>

class UnsavedChangesBar : public QLabel
{
    Q_OBJECT
public:
    static constexpr const char *NotSavedPrefix = "Changes are not being saved: ";

    // `tables`: the write states of the stores' table files; the stores must outlive the bar.
    // The bar spans the bottom of `area`, its parent.
    UnsavedChangesBar(std::vector<TableWrites> tables, QWidget &area);
    ~UnsavedChangesBar() override;

    // Writes every table's waiting changes again. True when no table has changes waiting.
    bool retry();
    bool hasUnsavedChanges() const;
    // Some table file can be read but not written.
    bool isReadOnly() const;
    // What the bar says; empty while it is hidden.
    QString shownText() const;
    // Why the last write failed; empty when none failed since the bar last went away.
    QString lastError() const { return m_lastError; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
    void noteWrite(const TableResult &result);
    void updateBar();
    QString readOnlyText() const;

    std::vector<TableWrites> m_tables;
    QString m_lastError;
};
