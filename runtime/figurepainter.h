#pragma once

#include "windowlesslayer.h"

#include <QRect>

class QPainter;

// Draws the elements of a windowless layer. The painter works in device pixels, so every figure
// lands on whole pixels and stays crisp at any device pixel ratio. The same functions serve the
// live repaint of a dragged figure and any picture of the whole layer, so the two always agree.
namespace FigurePainter {

// The device pixels an element may touch, border and antialiasing included; empty when hidden.
QRect bounds(const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio);
void paint(QPainter &painter, const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio);
// Whether the element is drawn with antialiased edges; others cover whole pixels only.
bool isAntialiased(const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio);
// Every element, from the bottom of the stack to the top.
void paintAll(QPainter &painter, const WindowlessLayer &layer, qreal devicePixelRatio);
// A rectangle within the bounds that the element paints over completely, hiding whatever lies
// beneath; empty when there is none.
QRect opaqueCore(const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio);

QRect bounds(const ShapeData &shape, qreal devicePixelRatio);
QRect bounds(const LineData &line, qreal devicePixelRatio);
QRect bounds(const LabelData &label, qreal devicePixelRatio);

void paint(QPainter &painter, const ShapeData &shape, qreal devicePixelRatio);
void paint(QPainter &painter, const LineData &line, qreal devicePixelRatio);
void paint(QPainter &painter, const LabelData &label, qreal devicePixelRatio);

} // namespace FigurePainter
