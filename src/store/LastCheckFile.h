#pragma once
// "lastcheck.dat" in the data directory: one line, the file date-time text of the last time the
// main timer handed due alarms on ("2024-03-11 09:45:00"). At the next start, alarms that fell
// due after it and before the start rang while no program was running: they were missed.
#include "core/DateTimeValue.h"

#include <QString>

#include <optional>

namespace LastCheckFile
{

inline constexpr const char *FileName = "lastcheck.dat";

// The time in the file in `dataDir` (ends with "/"); nullopt when the file is absent or does not
// hold exactly one date-time line (a damaged file counts as a first start).
std::optional<SerialDateTime> read(const QString &dataDir);
// Replaces the file (a reader sees the old or the new line, never a mix; not flushed to the
// disk); false when it could not be written. Whole seconds are kept.
[[nodiscard]] bool write(const QString &dataDir, SerialDateTime time);

} // namespace LastCheckFile
