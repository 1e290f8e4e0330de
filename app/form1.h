#pragma once

#include "drawing.h"
#include "form.h"
#include "form1controls.h"

#include <memory>

// The drawing window. Its handlers are the entry points of the window's events; each hands its
// work to the part it belongs to: the drawing (drawing/), the style panel (style/), the menu
// commands (menucommands.cpp).
class Form1 : public Form
{
public:
    Form1();
    ~Form1() override;

    // The controls while the form is loaded, null otherwise.
    Form1Controls *controls() const { return ui.get(); }
    const DrawingState &drawingState() const { return drawing.drawingState(); }

    void Form_MouseDown(int Button, int Shift, float X, float Y) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void Form_MouseUp(int Button, int Shift, float X, float Y) override;

protected:
    void buildControls(FormWindow &window) override;
    void controlsAboutToBeDestroyed() override;
    void Form_Load() override;

private:
    void HScroll_Change(int Index);
    void HScroll1_Change();
    void mnuReset_Click();
    void mnuExit_Click();

    FigureArrays figures() const;
    DrawingChoice drawingChoice() const;
    // The colour the red, green and blue sliders mix.
    ColorValue mixedColor() const;

    std::unique_ptr<Form1Controls> ui;
    Drawing drawing;
};
