#include "form.h"

#include "formwindow.h"

#include <QApplication>

int Form::s_loadedForms = 0;

Form::~Form()
{
    delete m_window;
}

void Form::Show()
{
    if (s_ended)
        return;
    if (!m_window) {
        // Reset unloads the only window and shows it again; Qt must not take that moment
        // without a window for the end of the program. Closing by the user ends it instead.
        QApplication::setQuitOnLastWindowClosed(false);
        m_window = new FormWindow(this);
        ++s_loadedForms;
        buildControls(*m_window);
        Form_Load();
    }
    m_window->show();
    // A window shown again by Reset takes the keyboard back, so its access keys keep working.
    m_window->activateWindow();
}

void Form::Unload()
{
    if (!m_window)
        return;
    controlsAboutToBeDestroyed();
    FormWindow *window = std::exchange(m_window, nullptr);
    --s_loadedForms;
    window->detachFromForm();
    window->hide();
    // Unload is often called from one of the window's own event handlers (a menu command), which
    // must be allowed to return before the window goes away.
    window->deleteLater();
}

void Form::End()
{
    s_ended = true;
    QCoreApplication::exit(0);
}

void Form::closedByUser()
{
    Unload();
    if (s_loadedForms == 0)
        QCoreApplication::quit();
}

void Form::Form_MouseDown(int, int, float, float)
{ }
void Form::Form_MouseMove(int, int, float, float)
{ }
void Form::Form_MouseUp(int, int, float, float)
{ }
void Form::Form_Load()
{ }
