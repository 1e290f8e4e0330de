#pragma once

// What a form's window tells the form: the mouse events of its client area, in twips, and the
// user's closing of the window. The window's client area holds the one pointer to it, and
// drops it when the form unloads.
class FormEvents
{
public:
    virtual void Form_MouseDown(int Button, int Shift, float X, float Y) = 0;
    virtual void Form_MouseMove(int Button, int Shift, float X, float Y) = 0;
    virtual void Form_MouseUp(int Button, int Shift, float X, float Y) = 0;
    // The user closed the window: the form unloads, and with the last form the program ends.
    virtual void closedByUser() = 0;

    // Every event reaches its form through here: once End has stopped the program, none does,
    // neither the mouse, nor a control's signal, nor the closing of a window.
    template <class Handler> static void deliver(const Handler &handler)
    {
        if (!s_ended)
            handler();
    }
    static bool hasEnded() { return s_ended; }

protected:
    ~FormEvents() = default;
    static inline bool s_ended = false;
};
