// Any bytes through the calendar-file reader: it accepts or refuses, never crashes or loops,
// and what it accepts is consistent: events start no later than they end, recurring events
// are counted, and rules listed one by one never exceed their limit.
#include "store/IcsReader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    IcsReader::Options options;
    options.localZone = "Europe/Berlin";
    options.now = 45300; // 8 Jan 2024
    QString error;
    const auto content = IcsReader::read(bytes, options, &error);
    if (!content) {
        if (error.isEmpty()) std::abort();
        return 0;
    }
    int recurring = 0;
    for (const EventRow &row : content->events) {
        if (row.isRecurring())
            ++recurring;
        else if (DateTimeValue::toMs(row.endTime()) < DateTimeValue::toMs(row.startTime()))
            std::abort();
    }
    if (recurring != content->recurringEvents) std::abort();
    if (content->events.size() - recurring >
        qsizetype(content->expandedRules + 1) * IcsReader::MaxExpanded + bytes.size())
        std::abort();
    return 0;
}
