#include "formsurface.h"

#include "figurepainter.h"
#include "formevents.h"
#include "twips.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {

// Mouse buttons and shift keys as the form's mouse events number them.
int buttonBits(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftBits(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace

FormSurface::FormSurface(FormEvents *form, QWidget *window)
    : QWidget(window), m_form(form), m_backColor(palette().color(QPalette::Window)),
      m_ratio(devicePixelRatioF())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    m_layer.addObserver(this);
}

void FormSurface::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    m_ratio = ratio;
    const QSize deviceSize = Twips::logicalToDevice(rect(), ratio).size();
    QPainter painter(this);
    painter.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    // Until the layer changes on the shown window, the window shows only the few elements of its
    // definition, which cost less to draw than a picture of the whole window costs to build and
    // copy: the picture is made when the user starts drawing.
    if (!m_keepsPicture) {
        // Drawn from an origin on a whole device pixel, where a copy of the picture lands too:
        // at a fractional pixel ratio the menu bar may leave the client area between two.
        const QPointF origin = painter.deviceTransform().map(QPointF());
        painter.translate(qRound(origin.x()) - origin.x(), qRound(origin.y()) - origin.y());
        painter.fillRect(QRect(QPoint(), deviceSize), m_backColor);
        FigurePainter::paintAll(painter, m_layer, ratio);
        return;
    }
    if (!m_cache.isValidFor(deviceSize, ratio, m_backColor))
        m_cache.rebuild(deviceSize, ratio, m_backColor);

    QRegion area;
    for (const QRect &part : event->region())
        area += Twips::logicalToDevice(part, ratio);
    m_cache.paint(painter, area);
}

void FormSurface::setBackColor(const QColor &color)
{
    m_backColor = color;
    update();
}

void FormSurface::mousePressEvent(QMouseEvent *event)
{
    forwardToForm(event);
}

void FormSurface::mouseMoveEvent(QMouseEvent *event)
{
    forwardToForm(event);
}

void FormSurface::mouseReleaseEvent(QMouseEvent *event)
{
    forwardToForm(event);
}

// A press on a label gives the label the hold of the mouse until the last button is released;
// the form gets none of those events. The second press of a double click arrives as a
// double-click event; it is a press all the same.
void FormSurface::forwardToForm(QMouseEvent *event)
{
    if (!m_form)
        return;
    const QPointF twips = Twips::fromLogical(event->position());
    const float x = float(twips.x()), y = float(twips.y());
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (press && event->buttons() == event->button())
        m_labelHasMouse = !m_layer.labelAt(x, y).isNull();
    const bool toLabel = m_labelHasMouse;
    if (release && event->buttons() == Qt::NoButton)
        m_labelHasMouse = false;
    if (toLabel)
        return;

    const int shift = shiftBits(event->modifiers());
    const RepaintBatch batch(*this);
    FormEvents::deliver([&] {
        if (press)
            m_form->Form_MouseDown(buttonBits(event->button()), shift, x, y);
        else if (release)
            m_form->Form_MouseUp(buttonBits(event->button()), shift, x, y);
        else
            m_form->Form_MouseMove(buttonBits(event->buttons()), shift, x, y);
    });
}

void FormSurface::elementAboutToChange(ElementId id)
{
    m_boundsBeforeChange = FigurePainter::bounds(m_layer, id, m_ratio);
}

void FormSurface::elementChanged(ElementId id)
{
    repaintChange(id, m_boundsBeforeChange);
}

void FormSurface::elementAdded(ElementId id)
{
    repaintChange(id, QRect());
}

// Only the area that the element covered before and covers now is painted again.
void FormSurface::repaintChange(ElementId id, const QRect &boundsBefore)
{
    // Before the window is shown the definition is still being built.
    m_keepsPicture = m_keepsPicture || isVisible();
    m_cache.elementChanged(id);
    const QRect touched = boundsBefore | FigurePainter::bounds(m_layer, id, m_ratio);
    if (m_batch)
        m_batch->touched |= touched;
    else
        update(Twips::deviceToLogical(touched, m_ratio));
}

// A mouse handler sets a figure's properties one by one, each touching its own strip of the
// window. All it touched is asked for as one rectangle: the raster engine copies a rectangle from
// the cached picture quickly, but clips to an area of several strips line by line, many times
// slower.
FormSurface::RepaintBatch::RepaintBatch(FormSurface &surface) : surface(surface)
{
    surface.m_batch = this;
}

FormSurface::RepaintBatch::~RepaintBatch()
{
    surface.m_batch = nullptr;
    if (!touched.isEmpty())
        surface.update(Twips::deviceToLogical(touched, surface.m_ratio));
}
