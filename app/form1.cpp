#include "form1.h"

#include "formwindow.h"

Form1::Form1() = default;
Form1::~Form1() = default;

void Form1::load(FormWindow &window)
{
    ui = std::make_unique<Form1Controls>(window);
}

void Form1::unload()
{
    ui.reset();
}
