#pragma once

// What a form's window tells the form: the mouse events of its client area, in twips, and the
// user's closing of the window. The window's client area holds the one pointer to it, and
// drops it when the form unloads.
class FormEvents
{
public:
    virtual void mouseDown(int button, int shift, float x, float y) = 0;
    virtual void mouseMove(int buttons, int shift, float x, float y) = 0;
    virtual void mouseUp(int button, int shift, float x, float y) = 0;
    virtual void closedByUser() = 0;

protected:
    ~FormEvents() = default;
};
