#pragma once
// Reading a calendar file (.ics) with libical into IcsContent, all of it checked before any
// store changes.
//
// Times are turned into local wall-clock time: a time with a zone (TZID or UTC) is converted
// with libical's zone data into `localZone`, a floating time and a DATE are kept as they are.
// A recurrence becomes a rule of ours when one occurs on exactly the same days at the same local
// time (IcsRules); otherwise its occurrences from its start up to two years after `now` (at
// most MaxExpanded of them) become one-time events. The occurrences an RDATE adds become
// one-time events beside the rule, unless the rule already has one at that time.
#include "store/IcsContent.h"

#include <QByteArray>

namespace IcsReader
{

inline constexpr qint64 MaxFileBytes = 50LL * 1024 * 1024;
inline constexpr int MaxExpanded = 1000;
// Days after `now` up to which a rule that is listed one by one is expanded.
inline constexpr int ExpandDays = 731;

struct Options {
    // IANA name of the local time zone ("Europe/Berlin"); empty: the system's.
    QByteArray localZone;
    // Decides which alarms are still ahead and how far rules are expanded.
    SerialDateTime now = 0;
};

// Whether the file at `path` is a calendar file by its content: its first line, after a
// byte-order mark and blank space, is "BEGIN:VCALENDAR" (any case). False when it cannot be
// read.
bool isCalendarFile(const QString &path);

// The file's content; nullopt (`error` set to a sentence for the user) when the bytes are
// larger than MaxFileBytes, hold a NUL byte, or libical finds no calendar in them.
std::optional<IcsContent> read(const QByteArray &bytes, const Options &options, QString *error);

} // namespace IcsReader
