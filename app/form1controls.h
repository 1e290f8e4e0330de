#pragma once

#include "controlarray.h"
#include "figurekind.h"
#include "windowedcontrols.h"
#include "windowlesscontrols.h"

class FormWindow;
class QAction;

// Every control of the drawing window, built with its start values from the window's definition.
// The widgets belong to the window; this only names them.
struct Form1Controls
{
    explicit Form1Controls(FormWindow &window);

    // The option button that offers each figure kind, and the kind whose button is selected.
    OptionButton *optionFor(FigureKind kind) const;
    FigureKind chosenFigureKind() const;

    QAction *mnuReset;
    QAction *mnuExit;

    Frame *Frame1;
    OptionButton *Option1;
    OptionButton *Option2;
    OptionButton *Option3;
    OptionButton *Option4;
    CheckBox *Check1;
    ControlArray<HScrollBar *> HScroll;
    HScrollBar *HScroll1;

    LabelControl Label1;
    LabelControl Label2;
    LabelControl Label3;
    LabelControl Label4;
    LabelControl Label5;
    LabelControl Label6;
    ShapeControl ColorShape;
    ShapeControl Shape2;
    ControlArray<ShapeControl> Shape1;
    ControlArray<LineControl> Line1;
};
