#pragma once

#include "colorvalue.h"
#include "drawingstate.h"
#include "form.h"
#include "form1controls.h"

#include <memory>

// The drawing window. Its handlers are spread over the folders of their concerns: the mouse
// handlers with the drawing, the slider handlers with the style controls, the menu commands here.
class Form1 : public Form
{
public:
    Form1();
    ~Form1() override;

    // The controls while the form is loaded, null otherwise.
    Form1Controls *controls() const { return ui.get(); }
    const DrawingState &drawingState() const { return state; }

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

    void startShape(float X, float Y);
    void startLine(float X, float Y);
    template <class Array> bool startsNewFigure(const Array &figures) const;
    ColorValue drawingColor() const;

    std::unique_ptr<Form1Controls> ui;
    DrawingState state;
};
