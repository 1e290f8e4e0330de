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
template <class Array> bool startsNewFigure(const DrawingChoice &choice, const Array &figures)
{
    return choice.newFigure && figures.Count() < Array::Capacity;
}

// The index of the element a press draws: a newly loaded and shown one, or the last.
template <class Array> qint16 figureToDraw(const DrawingChoice &choice, Array &figures)
{
    if (!startsNewFigure(choice, figures))
        return toInteger(figures.Count() - 1);
    const qint16 index = toInteger(figures.Count());
    figures.Load(index);
    figures(index).setVisible(true);
    return index;
}

// The value of a shape's Shape property that draws the kind: an oval (2) for a circle, since a
// circle proper (3) would not fill the box the user drags out.
ShapeKind shapeOf(FigureKind kind)
{
    switch (kind) {
    case FigureKind::Circle:
        return ShapeOval;
    case FigureKind::Rectangle:
        return ShapeRectangle;
    case FigureKind::RoundedRectangle:
        return ShapeRoundedRectangle;
    case FigureKind::Line:
        break;
    }
    // A line is drawn by the line array, never as a shape.
    Q_UNREACHABLE();
    return ShapeRectangle;
}

} // namespace

void Drawing::press(FigureArrays figures, const DrawingChoice &choice, float X, float Y)
{
    clampToCanvas(X, Y);
    state.DragActive = Vb::True;
    state.DragKind = choice.kind;
    if (choice.kind == FigureKind::Line)
        startLine(figures.Line1, choice, X, Y);
    else
        startShape(figures.Shape1, choice, X, Y);
}

void Drawing::move(FigureArrays figures, float X, float Y)
{
    clampToCanvas(X, Y);
    if (state.DragActive != Vb::True)
        return;

    if (state.DragKind == FigureKind::Line) {
        LineControl &line = figures.Line1(state.CurrentLine);
        line.setX2(X);
        line.setY2(Y);
        return;
    }

    // The box spans from the press point to the pointer, whichever way the pointer went.
    ShapeControl &shape = figures.Shape1(state.CurrentShape);
    const float dy = Y - state.StartY;
    shape.setHeight(std::abs(dy));
    shape.setTop(dy < 0 ? Y : state.StartY);
    const float dx = X - state.StartX;
    shape.setWidth(std::abs(dx));
    shape.setLeft(dx < 0 ? X : state.StartX);
}

void Drawing::startShape(ControlArray<ShapeControl> &Shape1, const DrawingChoice &choice, float X,
                         float Y)
{
    state.CurrentShape = figureToDraw(choice, Shape1);

    ShapeControl &shape = Shape1(state.CurrentShape);
    shape.setShape(shapeOf(choice.kind));
    state.StartX = X;
    state.StartY = Y;
    shape.setBackColor(choice.color);
    shape.setBorderColor(choice.color);
    shape.ZOrder();
    shape.setLeft(state.StartX);
    shape.setTop(state.StartY);
}

void Drawing::startLine(ControlArray<LineControl> &Line1, const DrawingChoice &choice, float X,
                        float Y)
{
    state.CurrentLine = figureToDraw(choice, Line1);

    LineControl &line = Line1(state.CurrentLine);
    line.setBorderColor(choice.color);
    line.ZOrder();
    line.setBorderWidth(choice.thickness);
    line.setX1(X);
    line.setY1(Y);
}
