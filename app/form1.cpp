#include "form1.h"

#include "formwindow.h"

#include <QAction>

Form1::Form1() = default;
Form1::~Form1() = default;

void Form1::buildControls(FormWindow &window)
{
    ui = std::make_unique<Form1Controls>(window);

    // Each connection dies with its control when the form is unloaded.
    QObject::connect(ui->mnuReset, &QAction::triggered, ui->mnuReset, [this] { mnuReset_Click(); });
    QObject::connect(ui->mnuExit, &QAction::triggered, ui->mnuExit, [this] { mnuExit_Click(); });
    for (int index = 0; index < ui->HScroll.Count(); ++index) {
        HScrollBar *slider = ui->HScroll(index);
        QObject::connect(slider, &QScrollBar::valueChanged, slider,
                         [this, index] { HScroll_Change(index); });
    }
    QObject::connect(ui->HScroll1, &QScrollBar::valueChanged, ui->HScroll1,
                     [this] { HScroll1_Change(); });
}

void Form1::controlsAboutToBeDestroyed()
{
    ui.reset();
}

// The colour mixed on the red, green and blue sliders.
ColorValue Form1::drawingColor() const
{
    return RGB(ui->HScroll(0)->Value(), ui->HScroll(1)->Value(), ui->HScroll(2)->Value());
}
