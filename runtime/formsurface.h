#pragma once

#include "formaccessibility.h"
#include "layercache.h"
#include "windowlesslayer.h"

#include <QRect>
#include <QWidget>

class FormEvents;

// The client area of a form. It holds the windowless layer and paints it beneath the windowed
// controls, repainting only what each change touches, holds what screen readers learn of it, and
// turns Qt's mouse events into the form's mouse events in twips.
class FormSurface : public QWidget, private LayerObserver
{
    Q_OBJECT
public:
    // The client area of a form's window, which passes its mouse events on to the form.
    FormSurface(FormEvents *form, QWidget *window);

    WindowlessLayer &layer() { return m_layer; }
    FormAccessibility &accessibility() { return m_accessibility; }

    // Where the mouse events go; null once the form has unloaded, and then no event reaches it.
    FormEvents *form() const { return m_form; }
    void detachFromForm() { m_form = nullptr; }

    // The form's background. It is painted, not set as a palette: Qt's style caches the pixmaps
    // of the controls under their palette's key, and a widget given a palette of its own gets a
    // new key in every window, so each Reset would leave another set of pixmaps in the cache.
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void elementAboutToChange(ElementId id) override;
    void elementChanged(ElementId id) override;
    void elementAdded(ElementId id) override;
    void repaintChange(ElementId id, const QRect &boundsBefore);
    void forwardToForm(QMouseEvent *event);

    FormEvents *m_form;
    QColor m_backColor;
    // The picture and what screen readers learn both refer to the layer, so they come after it
    // and go before it.
    WindowlessLayer m_layer;
    LayerCache m_cache{m_layer};
    FormAccessibility m_accessibility{this, m_layer};
    QRect m_boundsBeforeChange;
    // Gathers the repaints asked for while a mouse handler runs into one.
    struct RepaintBatch
    {
        explicit RepaintBatch(FormSurface &surface);
        ~RepaintBatch();
        FormSurface &surface;
        QRect touched; // device pixels
    };
    RepaintBatch *m_batch = nullptr;
    // The device pixel ratio of the last paint. A change of screen repaints the whole surface,
    // so the areas asked for in between need not know of it.
    qreal m_ratio;
    // A press on a label belongs to the label, and so does the rest of that drag.
    bool m_labelHasMouse = false;
    // Whether paints copy from the cached picture: from the first change on the shown window.
    bool m_keepsPicture = false;
};
