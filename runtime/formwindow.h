#pragma once

#include "colorvalue.h"

#include <QMainWindow>

class FormAccessibility;
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
    // What screen readers learn of the client area beyond each control's own name.
    FormAccessibility &accessibility() const;

    void setCaption(const QString &caption) { setWindowTitle(caption); }
    void setBackColor(ColorValue color);
    void setClientSizeInTwips(float width, float height);

    // After Unload no event of this window reaches the form any more.
    void detachFromForm();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    FormSurface *m_surface;
};
