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

// A handled press taken apart.
struct Press {
    bool plainLeft = false;
    bool leftDouble = false;
    bool right = false;
    bool shift = false;
    bool ctrl = false;
    // A right press without shift or ctrl: on an event not yet selected it drops the others.
    bool plainRight() const { return right && !shift && !ctrl; }
};

inline Press pressOf(GridShiftState s)
{
    return {isPlainLeft(s), isLeftDouble(s), s.testFlag(GridShift::Right),
            s.testFlag(GridShift::Shift), s.testFlag(GridShift::Ctrl)};
}

} // namespace GridPress
