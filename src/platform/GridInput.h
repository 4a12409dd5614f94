#pragma once
// The mouse state an owner-drawn grid hands to its handlers: the pressed or held buttons and
// the modifier keys as one set, plus the position and the cell under it.
#include "platform/GridGeometry.h"

#include <QFlags>
#include <QPoint>

enum class GridShift : unsigned {
    Shift = 0x01,
    Alt = 0x02,
    Ctrl = 0x04,
    Left = 0x08,
    Right = 0x10,
    Middle = 0x20,
    Double = 0x40, // the press is the second press of a double click
};
Q_DECLARE_FLAGS(GridShiftState, GridShift)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridShiftState)

// The set for a mouse event: Shift, Alt and Ctrl from the modifiers (Meta is not part of the
// set), Left, Right and Middle from the buttons held down, Double when isDouble. On a press the
// held buttons include the pressed one; on a release they no longer do.
GridShiftState gridShiftState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                              bool isDouble);

struct GridMouseEvent {
    QPoint pos;                            // widget coordinates; may lie outside during a drag
    Qt::MouseButton button = Qt::NoButton; // the button pressed or released; none on a move
    GridShiftState shift;
    GridCell cell; // cell under pos, none outside the cells
};

// Pointer shapes the grids use.
enum class GridPointer {
    Arrow,
    SizeVertical,   // dragging a top or bottom edge
    SizeHorizontal, // dragging a left or right edge
    Drag,           // moving an item
    SizeAll,
};
