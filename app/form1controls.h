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

    QAction *mnuReset; // "Reset" on the menu bar: throws the drawing away
    QAction *mnuExit;  // "Exit" on the menu bar: ends the program

    Frame *Frame1;         // the frame "Shape?" round the four figure kinds
    OptionButton *Option1; // "Circle"
    OptionButton *Option2; // "Line"
    OptionButton *Option3; // "Rectangle"
    OptionButton *Option4; // "Rounded Rectangle"
    CheckBox *Check1;      // "New Shape": ticked, a drag makes a new figure; clear, it reshapes
    ControlArray<HScrollBar *> HScroll; // the colour sliders: 0 red, 1 green, 2 blue
    HScrollBar *HScroll1;               // the line thickness slider, 1 to 10

    LabelControl Label1;               // "R" beside the red slider
    LabelControl Label2;               // "G" beside the green slider
    LabelControl Label3;               // "B" beside the blue slider
    LabelControl Label4;               // the heading "Color?"
    LabelControl Label5;               // the thickness as a number, beside its slider
    LabelControl Label6;               // the heading "Border Thickness"
    ShapeControl ColorShape;           // the swatch that shows the mixed colour
    ShapeControl Shape2;               // the canvas's frame
    ControlArray<ShapeControl> Shape1; // the shapes drawn; 0 is the tiny square at the top left
    ControlArray<LineControl> Line1;   // the lines drawn; 0 lies along the canvas's top edge
};
