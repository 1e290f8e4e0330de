#pragma once

#include "formevents.h"

#include <QObject>

class FormWindow;

// A form: the definition of a window and its controls, with the handlers of its events. The form
// object outlives its window: Unload destroys the window and every control on it, while the
// form's own fields stay, and a later Show builds the window afresh from the definition.
class Form : public FormEvents
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

    // Stops the program at once: no further event reaches any form.
    static void End();

    // Mouse events of the form, in twips of its client area, which raises them; a form that
    // handles none leaves these empty.
    void Form_MouseDown(int Button, int Shift, float X, float Y) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void Form_MouseUp(int Button, int Shift, float X, float Y) override;

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
        QObject::connect(control, signal, control, [handler] { deliver(handler); });
    }

private:
    void closedByUser() override;

    FormWindow *m_window = nullptr;
    static int s_loadedForms;
};
