#pragma once

#include "colorvalue.h"
#include "controlarray.h"
#include "drawingstate.h"
#include "windowedcontrols.h"
#include "windowlesscontrols.h"

// The controls a drag reads and the figures it draws, named as the window names them. The
// window hands them over at each mouse event; the drawing keeps none of them.
struct DrawingControls
{
    OptionButton &Option1; // Circle
    OptionButton &Option2; // Line
    OptionButton &Option3; // Rectangle
    OptionButton &Option4; // Rounded Rectangle
    CheckBox &Check1;      // New Shape
    HScrollBar &HScroll1;  // Border Thickness
    ControlArray<ShapeControl> &Shape1;
    ControlArray<LineControl> &Line1;
};

// Drag-to-draw: a press starts a figure at the pointer, each move stretches it to the pointer,
// and the release leaves it as it is. Every point is first held to the canvas. What it remembers
// between a press and the moves belongs to the form object and so outlives the window.
class Drawing
{
public:
    // The figure takes the colour mixed on the sliders at the press.
    void press(const DrawingControls &ui, ColorValue color, float X, float Y);
    void move(const DrawingControls &ui, float X, float Y);
    // Ends the drag, if any: on the release, and when the window is built anew.
    void endDrag() { state.DragActive = Vb::False; }

    const DrawingState &drawingState() const { return state; }

private:
    void startShape(const DrawingControls &ui, ColorValue color, float X, float Y);
    void startLine(const DrawingControls &ui, ColorValue color, float X, float Y);

    DrawingState state;
};
