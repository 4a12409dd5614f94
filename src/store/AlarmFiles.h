#pragma once
// The two hand-over files between the program and the reminder program, in the data
// directory:
//   "alarm.dat"  - due alarms: the header line, then one alarm line per due alarm;
//   "snooze.dat" - snoozed reminders: a header line, then one snooze line per snooze.
// Both programs change either file only while holding its lock file ("alarm.dat.lock",
// "snooze.dat.lock") and replace it atomically, so a line added by one program while the
// other rewrites the file is never lost.
//
// Readers check the whole input before anything is used. Lines end in CR LF (a lone LF is
// accepted on reading); texts are UTF-8.
#include "store/AlarmEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace AlarmFiles
{

inline constexpr const char *AlarmFileName = "alarm.dat";
inline constexpr const char *SnoozeFileName = "snooze.dat";
inline constexpr const char *AlarmHeader = "ID;STARTTIME;ENDTIME;ALARMTIME;SUBJECT;DESCRIPTION;"
                                           "LAYERNAME;COLORNR;";
inline constexpr const char *SnoozeHeader = "CODE;ID;STARTTIME;ENDTIME;SUBJECT;DESCRIPTION;"
                                            "LAYERNAME;COLORNR;";
// Larger files are not read as alarm or snooze files.
inline constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
// How long a writer waits for the other program's lock before it gives up (ms).
inline constexpr int LockTimeoutMs = 5000;
// How long a writer sleeps between two tries of a lock held by the other program (ms).
inline constexpr int LockRetryMs = 2;

// ---- lines --------------------------------------------------------------------------------

// 12;2006-03-01 09:00:00;2006-03-01 10:00:00;2006-03-01 08:45:00;'Dentist';'';'Layer1';1;
// A record without start and end (a task) writes ";;" in their place.
QString alarmLine(const AlarmEntry &rec);
// The record of an alarm line; nullopt unless the whole line has exactly that shape (eight
// values, each followed by ";"; start and end may be empty).
std::optional<AlarmEntry> parseAlarmLine(QStringView line);

// One snoozed reminder as the reminder program hands it back. Texts stay in quoted file text.
struct SnoozeRequest {
    int code = -1;    // 0..14 are known codes; others are kept here and ignored when applied
    AlarmEntry entry; // alarmTime unused (0)
};
// code;id;startTime;endTime;'subject';'description';'layerName';colorNumber;
QString snoozeLine(int code, const AlarmEntry &rec);
std::optional<SnoozeRequest> parseSnoozeLine(QStringView line);

// ---- whole files --------------------------------------------------------------------------

// An alarm file's alarms. A file whose first line is not the header, that is not UTF-8 text
// or that exceeds MaxFileBytes is refused (nullopt, `error` set). Lines after the header that
// are not alarm lines are counted in damagedLines and left out; empty lines are skipped.
// An empty input is a valid file with no alarms.
struct AlarmFileContent {
    QList<AlarmEntry> alarms;
    int damagedLines = 0;
};
std::optional<AlarmFileContent> parseAlarmFile(const QByteArray &bytes, QString *error = nullptr);

// A snooze file's requests, all or nothing: nullopt (`error` set) when the header is missing,
// the input is not UTF-8 text or too large, or any line after the header is not a snooze line.
// Empty lines are skipped; an empty input holds no requests.
std::optional<QList<SnoozeRequest>> parseSnoozeFile(const QByteArray &bytes,
                                                    QString *error = nullptr);

// The bytes of a file: the header, then every line, each ending in CR LF.
QByteArray alarmFileBytes(const QList<AlarmEntry> &alarms);
QByteArray snoozeFileBytes(const QList<SnoozeRequest> &requests);

// ---- locked read-modify-write -------------------------------------------------------------

struct FileResult {
    bool ok = false;
    QString error;        // why nothing was written; empty when ok
    int droppedLines = 0; // damaged lines of the old file that were left out
    QString setAsidePath; // where an unreadable old file went; empty when none
    explicit operator bool() const { return ok; }
};

// Appends alarm lines to "alarm.dat" in `dataDir` (ends with "/"), starting the file with the
// header when it is absent or empty. The old file's alarm lines are kept in order; damaged
// lines are left out (counted); an old file that cannot be read as an alarm file is renamed
// to "alarm.dat.damaged" and a new one started. On failure (lock not taken, write failed) the
// file is unchanged and ok is false.
FileResult appendAlarms(const QString &dataDir, const QList<AlarmEntry> &alarms);

// The reminder program's read-modify-write: `change` receives the alarms of the file (none when
// absent) and returns the alarms the file is to hold; the file is replaced under the lock.
// An empty result leaves a file holding only the header.
FileResult rewriteAlarms(const QString &dataDir,
                         const std::function<QList<AlarmEntry>(QList<AlarmEntry>)> &change);

// Adds one snooze line to "snooze.dat" under its lock (the reminder program's side). An old
// file that does not parse is renamed to "snooze.dat.damaged" and a new one started.
FileResult appendSnooze(const QString &dataDir, const SnoozeRequest &request);

// Takes every request out of "snooze.dat" under its lock: the file is removed once read, so a
// repeated snooze message applies nothing twice. A missing file gives ok with no requests. A
// file that does not parse gives ok false with the error and no requests; it is renamed to
// "snooze.dat.damaged" so later snoozes are not blocked by it.
struct SnoozeTakeResult {
    bool ok = false;
    QString error;
    QList<SnoozeRequest> requests;
};
SnoozeTakeResult takeSnoozeRequests(const QString &dataDir);

} // namespace AlarmFiles
