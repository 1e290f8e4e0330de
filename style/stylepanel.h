#pragma once

#include "colorvalue.h"
#include "windowlesscontrols.h"

// The style panel keeps its previews in step with the sliders: the swatch shows the mixed colour
// and the number beside the thickness slider shows the thickness. The window tells it the
// sliders' values at their Change event only, so while a thumb is dragged they wait for its
// release.
namespace StylePanel {

// The colour mixed from the values of the red, green and blue sliders, each 0 to 255.
ColorValue mixedColor(int red, int green, int blue);
void showColor(ShapeControl &ColorShape, ColorValue color);
void showThickness(LabelControl &Label5, int thickness);

} // namespace StylePanel
