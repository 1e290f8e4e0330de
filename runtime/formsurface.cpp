#include "formsurface.h"

#include "figurepainter.h"
#include "formaccessibility.h"
#include "formevents.h"
#include "formwindow.h"
#include "twips.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

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

FormSurface::FormSurface(FormWindow *window)
    : QWidget(window), m_window(window), m_backColor(palette().color(QPalette::Window)),
      m_ratio(devicePixelRatioF())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    m_layer.setObserver(this);
    installFormAccessibility();
}

FormSurface::~FormSurface()
{
    m_layer.setObserver(nullptr);
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

bool FormSurface::routeToForm(QMouseEvent *event)
{
    if (!m_window->form())
        return false;
    // The second press of a double click arrives as a double-click event; it is a press all the
    // same, and a label keeps it as it keeps the first.
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && event->buttons() == event->button()) {
        const QPointF twips = Twips::fromLogical(event->position());
        m_labelHasMouse = !m_layer.labelAt(float(twips.x()), float(twips.y())).isNull();
    }
    const bool toLabel = m_labelHasMouse;
    if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton)
        m_labelHasMouse = false;
    return !toLabel;
}

void FormSurface::mousePressEvent(QMouseEvent *event)
{
    if (routeToForm(event)) {
        const QPointF twips = Twips::fromLogical(event->position());
        const RepaintBatch batch(*this);
        m_window->form()->mouseDown(buttonBits(event->button()), shiftBits(event->modifiers()),
                                    float(twips.x()), float(twips.y()));
    }
}

void FormSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (routeToForm(event)) {
        const QPointF twips = Twips::fromLogical(event->position());
        const RepaintBatch batch(*this);
        m_window->form()->mouseMove(buttonBits(event->buttons()), shiftBits(event->modifiers()),
                                    float(twips.x()), float(twips.y()));
    }
}

void FormSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (routeToForm(event)) {
        const QPointF twips = Twips::fromLogical(event->position());
        const RepaintBatch batch(*this);
        m_window->form()->mouseUp(buttonBits(event->button()), shiftBits(event->modifiers()),
                                  float(twips.x()), float(twips.y()));
    }
}

void FormSurface::elementAboutToChange(ElementId id)
{
    m_boundsBeforeChange = FigurePainter::bounds(m_layer, id, m_ratio);
}

void FormSurface::elementChanged(ElementId id)
{
    repaintChange(id, m_boundsBeforeChange);
    if (id.type() == ElementId::Label || m_accessibleNames.contains(id.packed()))
        announceWindowlessChange(this, id);
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

void FormSurface::setElementAccessibleName(ElementId id, const QString &name)
{
    m_accessibleNames.insert(id.packed(), name);
}

// Only labels and named shapes are spoken, a handful, so they are gathered directly rather than
// found by walking every figure of a large drawing.
QList<ElementId> FormSurface::accessibleElements() const
{
    QList<ElementId> elements;
    for (quint32 index = 0; index < m_layer.labelCount(); ++index)
        elements.append(ElementId(ElementId::Label, index));
    for (quint32 packed : m_accessibleNames.keys())
        elements.append(ElementId::fromPacked(packed));
    elements.removeIf(
        [this](ElementId id) { return FigurePainter::bounds(m_layer, id, m_ratio).isEmpty(); });
    std::sort(elements.begin(), elements.end(), [this](ElementId a, ElementId b) {
        return m_layer.stackingPosition(a) < m_layer.stackingPosition(b);
    });
    return elements;
}

QString FormSurface::accessibleNameOf(ElementId id) const
{
    if (id.type() == ElementId::Label)
        return m_layer.label(id.index()).caption;
    return m_accessibleNames.value(id.packed());
}

// A named shape tells the colour it shows, read from the shape itself.
QString FormSurface::accessibleDescriptionOf(ElementId id) const
{
    if (id.type() != ElementId::Shape || !m_accessibleNames.contains(id.packed()))
        return {};
    return colourInWords(m_layer.shape(id.index()).backColor);
}
