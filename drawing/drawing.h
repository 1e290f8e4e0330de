#pragma once

#include "colorvalue.h"
#include "controlarray.h"
#include "drawingstate.h"
#include "figurekind.h"
#include "windowlesscontrols.h"

// What the user has chosen for the figure a press draws.
struct DrawingChoice
{
    FigureKind kind;
    // Make a new figure rather than reshape the last one of its kind.
    bool newFigure;
    // The width of a line, in pixels; shapes keep their own.
    qint16 thickness;
    ColorValue color;
};

// The figures of the window, which the drawing writes to. The window hands them over at each
// mouse event; the drawing keeps none of them.
struct FigureArrays
{
    ControlArray<ShapeControl> &Shape1;
    ControlArray<LineControl> &Line1;
};

// Drag-to-draw: a press starts a figure at the pointer, each move stretches it to the pointer,
// and the release leaves it as it is. Every point is first held to the canvas. What it remembers
// between a press and the moves belongs to the form object and so outlives the window.
class Drawing
{
public:
    void press(FigureArrays figures, const DrawingChoice &choice, float X, float Y);
    void move(FigureArrays figures, float X, float Y);
    // Ends the drag, if any: on the release, and when the window is built anew.
    void endDrag() { state.DragActive = Vb::False; }

    const DrawingState &drawingState() const { return state; }

private:
    void startShape(ControlArray<ShapeControl> &Shape1, const DrawingChoice &choice, float X,
                    float Y);
    void startLine(ControlArray<LineControl> &Line1, const DrawingChoice &choice, float X, float Y);

    DrawingState state;
};
