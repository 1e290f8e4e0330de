#include "drawing.h"

#include "canvas.h"
#include "runtimeerror.h"

#include <cmath>

namespace {

void clampToCanvas(float &X, float &Y)
{
    if (X < Canvas::Left)
        X = Canvas::Left;
    if (X > Canvas::Right)
        X = Canvas::Right;
    if (Y < Canvas::Top)
        Y = Canvas::Top;
    if (Y > Canvas::Bottom)
        Y = Canvas::Bottom;
}

// "New Shape" loads a new element, unless the array is full: indexes are 16-bit, so past 32768
// elements the press reshapes the last one, as if "New Shape" were clear, and nothing is lost.
template <class Array> bool startsNewFigure(const DrawingControls &ui, const Array &figures)
{
    return ui.Check1.Value() == vbChecked && figures.Count() < Array::Capacity;
}

// The index of the element a press draws: a newly loaded and shown one, or the last.
template <class Array> qint16 figureToDraw(const DrawingControls &ui, Array &figures)
{
    if (!startsNewFigure(ui, figures))
        return toInteger(figures.Count() - 1);
    const qint16 index = toInteger(figures.Count());
    figures.Load(index);
    figures(index).setVisible(true);
    return index;
}

} // namespace

void Drawing::press(const DrawingControls &ui, ColorValue color, float X, float Y)
{
    clampToCanvas(X, Y);
    state.DragActive = Vb::True;
    state.DragDrawsLine = ui.Option2.Value() == Vb::True;
    if (state.DragDrawsLine)
        startLine(ui, color, X, Y);
    else
        startShape(ui, color, X, Y);
}

void Drawing::move(const DrawingControls &ui, float X, float Y)
{
    clampToCanvas(X, Y);
    if (state.DragActive != Vb::True)
        return;

    if (state.DragDrawsLine) {
        LineControl &line = ui.Line1(state.CurrentLine);
        line.setX2(X);
        line.setY2(Y);
        return;
    }

    // The box spans from the press point to the pointer, whichever way the pointer went.
    ShapeControl &shape = ui.Shape1(state.CurrentShape);
    const float dy = Y - state.StartY;
    shape.setHeight(std::abs(dy));
    shape.setTop(dy < 0 ? Y : state.StartY);
    const float dx = X - state.StartX;
    shape.setWidth(std::abs(dx));
    shape.setLeft(dx < 0 ? X : state.StartX);
}

void Drawing::startShape(const DrawingControls &ui, ColorValue color, float X, float Y)
{
    state.CurrentShape = figureToDraw(ui, ui.Shape1);

    ShapeControl &shape = ui.Shape1(state.CurrentShape);
    if (ui.Option4.Value() == Vb::True)
        shape.setShape(ShapeRoundedRectangle);
    if (ui.Option1.Value() == Vb::True)
        shape.setShape(ShapeOval);
    if (ui.Option3.Value() == Vb::True)
        shape.setShape(ShapeRectangle);
    state.StartX = X;
    state.StartY = Y;
    shape.setBackColor(color);
    shape.setBorderColor(color);
    shape.ZOrder();
    shape.setLeft(state.StartX);
    shape.setTop(state.StartY);
}

void Drawing::startLine(const DrawingControls &ui, ColorValue color, float X, float Y)
{
    state.CurrentLine = figureToDraw(ui, ui.Line1);

    LineControl &line = ui.Line1(state.CurrentLine);
    line.setBorderColor(color);
    line.ZOrder();
    line.setBorderWidth(ui.HScroll1.Value());
    line.setX1(X);
    line.setY1(Y);
}
