#pragma once

#include "colorvalue.h"
#include "controlarray.h"
#include "windowedcontrols.h"
#include "windowlesscontrols.h"

// The style panel keeps its previews in step with the sliders: the swatch shows the mixed colour
// and the number beside the thickness slider shows the thickness. Both follow the sliders'
// Change event only, so while a thumb is dragged they wait for its release.
namespace StylePanel {

// The colour mixed on the red, green and blue sliders.
ColorValue mixedColor(ControlArray<HScrollBar *> &HScroll);
void showColor(ShapeControl &ColorShape, ControlArray<HScrollBar *> &HScroll);
void showThickness(LabelControl &Label5, const HScrollBar &HScroll1);

} // namespace StylePanel
