#pragma once

#include "colorvalue.h"

#include <QMainWindow>

class Form;
class FormSurface;
class WindowlessLayer;

// The top-level window of a form: a caption, a menu bar, and the client area beneath it.
class FormWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormWindow(Form *form);

    // The client area: the form's own surface, where windowed controls sit and the windowless
    // layer is painted.
    FormSurface *surface() const { return m_surface; }
    WindowlessLayer &layer() const;

    void setCaption(const QString &caption) { setWindowTitle(caption); }
    void setBackColor(ColorValue color);
    void setClientSizeInTwips(float width, float height);

    // After Unload no event of this window reaches the form any more.
    void detachFromForm();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Form *m_form;
    FormSurface *m_surface;
};
