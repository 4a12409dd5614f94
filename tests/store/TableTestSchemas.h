#pragma once
// The stores' schemas, for the engine's tests and benchmarks.
#include "store/EventsStore.h"
#include "store/LayersStore.h"

namespace TableTestSchemas
{

inline TableSchema events()
{
    return EventsStore::schema();
}
inline TableSchema layers()
{
    return LayersStore::schema();
}

} // namespace TableTestSchemas
