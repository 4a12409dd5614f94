#include "platform/GridInput.h"

GridShiftState gridShiftState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                              bool isDouble)
{
    GridShiftState s;
    if (modifiers & Qt::ShiftModifier) s |= GridShift::Shift;
    if (modifiers & Qt::AltModifier) s |= GridShift::Alt;
    if (modifiers & Qt::ControlModifier) s |= GridShift::Ctrl;
    if (buttons & Qt::LeftButton) s |= GridShift::Left;
    if (buttons & Qt::RightButton) s |= GridShift::Right;
    if (buttons & Qt::MiddleButton) s |= GridShift::Middle;
    if (isDouble) s |= GridShift::Double;
    return s;
}
