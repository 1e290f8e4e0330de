#include "formsurface.h"

#include "figurepainter.h"
#include "form.h"
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

FormSurface::FormSurface(Form *form, QWidget *parent) : QWidget(parent), m_form(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    m_layer.setObserver(this);
}

FormSurface::~FormSurface()
{
    m_layer.setObserver(nullptr);
}

void FormSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());

    const qreal ratio = devicePixelRatioF();
    const QRect dirty = Twips::logicalToDevice(event->rect(), ratio);
    painter.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    painter.setClipRect(dirty);
    m_layer.forEachInStackingOrder([&](ElementId id) {
        if (FigurePainter::bounds(m_layer, id, ratio).intersects(dirty))
            FigurePainter::paint(painter, m_layer, id, ratio);
    });
}

bool FormSurface::formReceives(QMouseEvent *event)
{
    if (!m_form || Form::hasEnded())
        return false;
    if (event->type() == QEvent::MouseButtonPress && event->buttons() == event->button()) {
        const QPointF twips = event->position() * Twips::PerLogicalPixel;
        m_labelHasMouse = !m_layer.labelAt(float(twips.x()), float(twips.y())).isNull();
    }
    const bool toLabel = m_labelHasMouse;
    if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton)
        m_labelHasMouse = false;
    return !toLabel;
}

void FormSurface::mousePressEvent(QMouseEvent *event)
{
    if (formReceives(event)) {
        const QPointF twips = event->position() * Twips::PerLogicalPixel;
        m_form->Form_MouseDown(buttonBits(event->button()), shiftBits(event->modifiers()),
                               float(twips.x()), float(twips.y()));
    }
}

void FormSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (formReceives(event)) {
        const QPointF twips = event->position() * Twips::PerLogicalPixel;
        m_form->Form_MouseMove(buttonBits(event->buttons()), shiftBits(event->modifiers()),
                               float(twips.x()), float(twips.y()));
    }
}

void FormSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (formReceives(event)) {
        const QPointF twips = event->position() * Twips::PerLogicalPixel;
        m_form->Form_MouseUp(buttonBits(event->button()), shiftBits(event->modifiers()),
                             float(twips.x()), float(twips.y()));
    }
}

void FormSurface::elementAboutToChange(ElementId id)
{
    m_boundsBeforeChange = FigurePainter::bounds(m_layer, id, devicePixelRatioF());
}

void FormSurface::elementChanged(ElementId id)
{
    const qreal ratio = devicePixelRatioF();
    const QRect touched = m_boundsBeforeChange | FigurePainter::bounds(m_layer, id, ratio);
    update(Twips::deviceToLogical(touched, ratio));
}
