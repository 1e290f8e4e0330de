#pragma once

#include "formevents.h"

#include <QObject>

class FormWindow;

// A form: the definition of a window and its controls, with the handlers of its events. The form
// object outlives its window: Unload destroys the window and every control on it, while the
// form's own fields stay, and a later Show builds the window afresh from the definition.
class Form : private FormEvents
{
public:
    Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;
    virtual ~Form();

    // Loads the form if it is not loaded (raising Form_Load), then shows it modeless.
    void Show();
    void Unload();
    FormWindow *window() const { return m_window; }

    // Stops the program at once: no further event reaches any form, neither the mouse, nor a
    // control's signal connected with connectEvent, nor the closing of a window.
    static void End();
    static bool hasEnded() { return s_ended; }

    // Mouse events of the form, in twips of its client area, which forwards them.
    virtual void Form_MouseDown(int Button, int Shift, float X, float Y);
    virtual void Form_MouseMove(int Button, int Shift, float X, float Y);
    virtual void Form_MouseUp(int Button, int Shift, float X, float Y);

protected:
    // Builds the controls of the definition on a new window, before Form_Load.
    virtual void buildControls(FormWindow &window) = 0;
    // Unload is about to destroy the window and its controls.
    virtual void controlsAboutToBeDestroyed() = 0;
    virtual void Form_Load();

    // Connects a control's signal to one of the form's handlers, which runs only until End. The
    // connection dies with the control.
    template <class Control, class Signal, class Handler>
    static void connectEvent(Control *control, Signal signal, Handler handler)
    {
        QObject::connect(control, signal, control, [handler] {
            if (!hasEnded())
                handler();
        });
    }

private:
    // The window's events, passed on to the handlers above until End.
    void mouseDown(int button, int shift, float x, float y) override;
    void mouseMove(int buttons, int shift, float x, float y) override;
    void mouseUp(int button, int shift, float x, float y) override;
    // The user closed the window: the form unloads, and with the last form the program ends.
    void closedByUser() override;

    FormWindow *m_window = nullptr;
    static int s_loadedForms;
    static bool s_ended;
};
