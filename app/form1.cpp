#include "form1.h"

#include "formwindow.h"
#include "stylepanel.h"

#include <QAction>

Form1::Form1() = default;
Form1::~Form1() = default;

void Form1::buildControls(FormWindow &window)
{
    ui = std::make_unique<Form1Controls>(window);

    // Each connection dies with its control when the form is unloaded.
    connectEvent(ui->mnuReset, &QAction::triggered, [this] { mnuReset_Click(); });
    connectEvent(ui->mnuExit, &QAction::triggered, [this] { mnuExit_Click(); });
    for (int index = 0; index < ui->HScroll.Count(); ++index)
        connectEvent(ui->HScroll(index), &QScrollBar::valueChanged,
                     [this, index] { HScroll_Change(index); });
    connectEvent(ui->HScroll1, &QScrollBar::valueChanged, [this] { HScroll1_Change(); });
}

void Form1::controlsAboutToBeDestroyed()
{
    ui.reset();
}

void Form1::Form_Load()
{
    drawing.endDrag();
}

FigureArrays Form1::figures() const
{
    return {ui->Shape1, ui->Line1};
}

// What the style controls say at the press: the drawing reads nothing else of the window.
DrawingChoice Form1::drawingChoice() const
{
    return {ui->chosenFigureKind(), ui->Check1->Value() == vbChecked, ui->HScroll1->Value(),
            mixedColor()};
}

ColorValue Form1::mixedColor() const
{
    return StylePanel::mixedColor(ui->HScroll(0)->Value(), ui->HScroll(1)->Value(),
                                  ui->HScroll(2)->Value());
}

void Form1::Form_MouseDown(int, int, float X, float Y)
{
    drawing.press(figures(), drawingChoice(), X, Y);
}

void Form1::Form_MouseMove(int, int, float X, float Y)
{
    drawing.move(figures(), X, Y);
}

void Form1::Form_MouseUp(int, int, float, float)
{
    drawing.endDrag();
}

void Form1::HScroll_Change(int)
{
    StylePanel::showColor(ui->ColorShape, mixedColor());
}

void Form1::HScroll1_Change()
{
    StylePanel::showThickness(ui->Label5, ui->HScroll1->Value());
}
