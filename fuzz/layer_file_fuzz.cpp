// Any bytes through the layer-file reader: it accepts or refuses, never crashes or loops, and
// what it accepts is consistent with its own counts.
#include "store/LayerFileFormat.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto content = LayerFileFormat::parse(bytes);
    if (!content) return 0;
    qint64 events = 0, tasks = 0;
    for (const auto &layer : content->layers) {
        events += layer.eventCount;
        tasks += layer.taskCount.value_or(0);
    }
    if (events != content->events.size() || tasks != content->tasks.size() ||
        content->layers.size() > LayerFileFormat::MaxLayers)
        std::abort();
    return 0;
}
