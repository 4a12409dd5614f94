#pragma once
// The stores' schemas, for the engine's tests and benchmarks.
#include "store/DEventsDM.h"
#include "store/DLayersDM.h"

namespace TableTestSchemas
{

inline TableSchema events()
{
    return TDEvents::schema();
}
inline TableSchema layers()
{
    return TDLayers::schema();
}

} // namespace TableTestSchemas
