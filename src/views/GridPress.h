#pragma once
// The mouse presses the day grids handle: left, left+shift, left+ctrl, left double, right,
// right+shift, right+ctrl. Any other set (alt, middle, two buttons, ...) is ignored.
#include "platform/GridInput.h"

namespace GridPress
{

inline bool isHandled(GridShiftState s)
{
    const GridShiftState left{GridShift::Left};
    const GridShiftState right{GridShift::Right};
    return s == left || s == (left | GridShift::Shift) || s == (left | GridShift::Ctrl) ||
           s == (left | GridShift::Double) || s == right || s == (right | GridShift::Shift) ||
           s == (right | GridShift::Ctrl);
}

inline bool isPlainLeft(GridShiftState s)
{
    return s == GridShiftState{GridShift::Left};
}
inline bool isLeftDouble(GridShiftState s)
{
    return s == (GridShift::Left | GridShift::Double);
}

} // namespace GridPress
