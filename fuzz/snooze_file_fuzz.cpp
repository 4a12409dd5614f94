// Any bytes through the snooze-file reader.
#include "store/AlarmFiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto requests = AlarmFiles::parseSnoozeFile(bytes);
    if (!requests) return 0;
    // Accepted requests are written back and read back alike.
    const auto again = AlarmFiles::parseSnoozeFile(AlarmFiles::snoozeFileBytes(*requests));
    if (!again || again->size() != requests->size()) std::abort();
    return 0;
}
