#include "stylepanel.h"

ColorValue StylePanel::mixedColor(int red, int green, int blue)
{
    return RGB(red, green, blue);
}

void StylePanel::showColor(ShapeControl &ColorShape, ColorValue color)
{
    ColorShape.setBackColor(color);
}

void StylePanel::showThickness(LabelControl &Label5, int thickness)
{
    Label5.setCaption(QString::number(thickness));
}
