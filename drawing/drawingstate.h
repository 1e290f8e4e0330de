#pragma once

#include "boolean.h"
#include "figurekind.h"

// What the mouse handlers remember between a press and the moves that follow it. It belongs to
// the form object and so outlives the window: Reset clears only the drag flag.
struct DrawingState
{
    Boolean DragActive = Vb::False;
    float StartX = 0;
    float StartY = 0;
    qint16 CurrentShape = 0;
    qint16 CurrentLine = 0;
    // The kind of figure the press started. A drag keeps to it even if the figure kind is
    // switched by keyboard while the mouse button is held, so a move never reshapes a figure
    // the press did not pick.
    FigureKind DragKind = FigureKind::Circle;
};
