// Any bytes through the undo-log reader.
#include "store/UndoLog.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto content = UndoLog::parse(bytes);
    if (content && content->section == UndoLog::Section::MovedTasks && !content->movedTask)
        std::abort();
    // What was read is written back in the same form and reads back the same.
    if (content && content->section == UndoLog::Section::DeletedEvents) {
        QStringList rows;
        for (const QVariantList &row : content->events)
            rows << RecordLines::eventLine(row, row.value(1).toInt());
        const auto again = UndoLog::parse(UndoLog::fileBytes(content->section, rows));
        if (!again || again->events.size() != content->events.size()) std::abort();
    }
    return 0;
}
