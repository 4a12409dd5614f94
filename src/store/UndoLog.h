#pragma once
// The undo log "undo.dat" in the data directory: one level of undo, each write replacing the
// whole file. Line 1 names the section, line 2 lists the columns, the rows follow:
//   "DELETED EVENTS" - one event line per deleted event (RecordLines);
//   "DELETED TASKS"  - one task line per deleted task, parents before their children;
//   "MOVED TASKS"    - one row "id;OLDPARENTID;" (-1: the task was top-level);
//   "IMPORTED CALENDAR" - one row "KIND;ID;" per thing a calendar-file import added: KIND "E"
//                      an event, "T" a task, "L" the layer it made.
// The file is checked whole before a store uses it: a title, header or row that does not fit
// its section refuses the file, and the stores change nothing.
#include "store/RecordLines.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace UndoLog
{

inline constexpr const char *FileName = "undo.dat";
inline constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

enum class Section { DeletedEvents, DeletedTasks, MovedTasks, ImportedCalendar };

QString sectionTitle(Section s);
QString sectionHeader(Section s);

struct MovedTaskRow {
    int id = -1;
    int oldParentId = -1;
};

struct ImportedItem {
    enum class Kind { Event, Task, Layer };
    Kind kind = Kind::Event;
    int id = -1;
    bool operator==(const ImportedItem &) const = default;
};

struct Content {
    Section section = Section::DeletedEvents;
    QList<QVariantList> events;            // DELETED EVENTS: parsed event lines
    QList<RecordLines::TaskLine> tasks;    // DELETED TASKS: parsed task lines, distinct IDs
    std::optional<MovedTaskRow> movedTask; // MOVED TASKS: its one row
    QList<ImportedItem> imported;          // IMPORTED CALENDAR: its rows
};

// The whole file's content; nullopt (`error` set) when any line does not fit. DELETED TASKS
// with two rows of one id, or a MOVED TASKS section without exactly one row, is refused.
// Empty lines are skipped.
std::optional<Content> parse(const QByteArray &bytes, QString *error = nullptr);

// The file's bytes: title, header, rows, each line ending in CR LF.
QByteArray fileBytes(Section section, const QStringList &rows);
QString movedTaskRow(int id, int oldParentID);
QString importedItemRow(const ImportedItem &item);

// Replaces `dataDir` + "undo.dat" atomically; false (`error` set, old file untouched) on
// failure.
bool write(const QString &dataDir, Section section, const QStringList &rows, QString *error);

// Reads and parses `dataDir` + "undo.dat"; nullopt (`error` set) when it is missing or does
// not parse.
std::optional<Content> read(const QString &dataDir, QString *error = nullptr);

// The section named by the file's first line, for the Undo command to pick the store;
// nullopt when there is no file or its first line names no section.
std::optional<Section> readSection(const QString &dataDir);

} // namespace UndoLog
