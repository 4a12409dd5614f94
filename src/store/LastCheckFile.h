#pragma once
// "lastcheck.dat" in the data directory: one line, the file date-time text of the last time the
// main timer handed due alarms on ("2024-03-11 09:45:00" and CR LF, always 21 bytes). At the
// next start, alarms that fell due after it and before the start rang while no program was
// running: they were missed.
#include "core/DateTimeValue.h"

#include <QFile>
#include <QString>

#include <optional>

class LastCheckFile
{
public:
    static constexpr const char *FileName = "lastcheck.dat";

    // The file in `dataDir` (ends with "/").
    explicit LastCheckFile(const QString &dataDir);

    // The time in the file; nullopt when the file is absent or does not hold one date-time line
    // (a damaged file counts as a first start).
    std::optional<SerialDateTime> read() const;
    // Overwrites the line in place, whole seconds kept; false when it could not be written. The
    // file stays open between writes and is not flushed to the disk: a write is one system
    // call, cheap enough for every tick. After a crash of the machine the file may hold an
    // older time or a damaged line, which only marks fewer alarms as missed.
    [[nodiscard]] bool write(SerialDateTime time);

private:
    QFile m_file;
};
