#include "stylepanel.h"

ColorValue StylePanel::mixedColor(ControlArray<HScrollBar *> &HScroll)
{
    return RGB(HScroll(0)->Value(), HScroll(1)->Value(), HScroll(2)->Value());
}

void StylePanel::showColor(ShapeControl &ColorShape, ControlArray<HScrollBar *> &HScroll)
{
    ColorShape.setBackColor(mixedColor(HScroll));
}

void StylePanel::showThickness(LabelControl &Label5, const HScrollBar &HScroll1)
{
    Label5.setCaption(QString::number(HScroll1.Value()));
}
