// The style panel keeps its previews in step with the sliders: the swatch shows the mixed colour
// and the number beside the thickness slider shows the thickness. Both follow the sliders'
// Change event only, so while a thumb is dragged they wait for its release.

#include "form1.h"

void Form1::HScroll_Change(int)
{
    ui->ColorShape.setBackColor(drawingColor());
}

void Form1::HScroll1_Change()
{
    ui->Label5.setCaption(QString::number(ui->HScroll1->Value()));
}
