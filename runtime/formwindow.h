#pragma once

#include "colorvalue.h"

#include <QMainWindow>

class FormEvents;
class FormSurface;
class WindowlessLayer;

// The top-level window of a form: a caption, a menu bar, and the client area beneath it.
class FormWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormWindow(FormEvents *form);

    // The client area: the form's own surface, where windowed controls sit and the windowless
    // layer is painted.
    FormSurface *surface() const { return m_surface; }
    WindowlessLayer &layer() const;

    void setCaption(const QString &caption) { setWindowTitle(caption); }
    void setBackColor(ColorValue color);
    void setClientSizeInTwips(float width, float height);

    // Where the events of the window and its client area go; null once detached.
    FormEvents *form() const { return m_form; }
    // After Unload no event of this window reaches the form any more.
    void detachFromForm() { m_form = nullptr; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    FormEvents *m_form;
    FormSurface *m_surface;
};
