#include "figurepainter.h"

#include "twips.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace FigurePainter {

namespace {

int penPixels(quint8 borderWidth, qreal devicePixelRatio)
{
    return std::max(1, int(std::lround(borderWidth * devicePixelRatio)));
}

// Hairlines stay aliased, crisp on whole pixels; thicker lines get smooth edges.
bool lineIsAntialiased(int pen)
{
    return pen > 1;
}

QPoint devicePoint(float x, float y, qreal devicePixelRatio)
{
    return QPoint(Twips::toDevice(x, devicePixelRatio), Twips::toDevice(y, devicePixelRatio));
}

// A line's point snaps to a device pixel, and a line of width 1 covers the device pixels of the
// logical pixel there, from that device pixel down and to the right: the pixels a shape's border
// of width 1 covers at the same place, so a line along the edge of a shape is that edge at every
// pixel ratio. A wider line is centred on those pixels. Like any one-pixel line, a line of width 1
// stops short of its last point, so it never pokes out past the edge it runs along; a wider line
// has round ends.
struct DeviceSegment
{
    QLineF centre;
    int pen;
    Qt::PenCapStyle cap;
};

DeviceSegment deviceSegment(const LineData &line, qreal devicePixelRatio)
{
    const int pen = penPixels(line.borderWidth, devicePixelRatio);
    const int onePixel = penPixels(1, devicePixelRatio);
    const qreal across = std::floor((onePixel - pen) / 2.0) + pen / 2.0;
    QLineF centre(
        QPointF(devicePoint(line.x1, line.y1, devicePixelRatio)) + QPointF(across, across),
        QPointF(devicePoint(line.x2, line.y2, devicePixelRatio)) + QPointF(across, across));
    if (line.borderWidth > 1 || centre.length() == 0)
        return {centre, pen, Qt::RoundCap};
    // Half a pixel back along the line, so its first pixel is covered whole and its last not.
    const QPointF back = (centre.p2() - centre.p1()) / centre.length() * (onePixel / 2.0);
    return {centre.translated(-back), pen, Qt::FlatCap};
}

QRect labelBox(const LabelData &label, qreal devicePixelRatio)
{
    return Twips::toDeviceBox(label.left, label.top, label.width, label.height, devicePixelRatio);
}

QRect shapeBox(const ShapeData &shape, qreal devicePixelRatio)
{
    return Twips::toDeviceBox(shape.left, shape.top, shape.width, shape.height, devicePixelRatio);
}

// The border lies inside the box, as four strips; the inside is filled only when opaque.
void paintRectangle(QPainter &painter, const QRect &box, int pen, const ShapeData &shape)
{
    if (shape.backOpaque)
        painter.fillRect(box, toQColor(shape.backColor));
    const QColor border = toQColor(shape.borderColor);
    const int across = std::min(pen, (box.width() + 1) / 2);
    const int down = std::min(pen, (box.height() + 1) / 2);
    painter.fillRect(QRect(box.left(), box.top(), box.width(), down), border);
    painter.fillRect(QRect(box.left(), box.bottom() - down + 1, box.width(), down), border);
    const int innerHeight = box.height() - 2 * down;
    if (innerHeight > 0) {
        painter.fillRect(QRect(box.left(), box.top() + down, across, innerHeight), border);
        painter.fillRect(QRect(box.right() - across + 1, box.top() + down, across, innerHeight),
                         border);
    }
}

// The radius of a rounded rectangle's corners, at the outer edge of its border.
qreal cornerRadius(const QRect &box, int pen)
{
    return std::min(box.width(), box.height()) / 6.0 + pen / 2.0;
}

// Ovals and rounded rectangles are stroked along a path inset by half the pen, so the outer
// edge of the border meets the box exactly.
void paintCurved(QPainter &painter, const QRect &box, int pen, const ShapeData &shape)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor border = toQColor(shape.borderColor);
    const qreal inset = pen / 2.0;
    const QRectF path = QRectF(box).adjusted(inset, inset, -inset, -inset);
    if (path.width() <= 0 || path.height() <= 0) {
        // Too small for a hole in the middle: all border.
        painter.setPen(Qt::NoPen);
        painter.setBrush(border);
        painter.drawEllipse(QRectF(box));
    } else {
        painter.setPen(QPen(border, pen));
        painter.setBrush(shape.backOpaque ? QBrush(toQColor(shape.backColor)) : QBrush());
        if (shape.shape == ShapeOval) {
            painter.drawEllipse(path);
        } else {
            const qreal radius = cornerRadius(box, pen) - inset;
            painter.drawRoundedRect(path, radius, radius);
        }
    }
    painter.restore();
}

QRect opaqueCore(const ShapeData &shape, qreal devicePixelRatio)
{
    if (!shape.visible)
        return {};
    const QRect box = shapeBox(shape, devicePixelRatio);
    const int pen = penPixels(shape.borderWidth, devicePixelRatio);
    const bool allBorder = 2 * pen >= std::min(box.width(), box.height());
    if (!shape.backOpaque && !allBorder)
        return {};
    // One pixel more is given up to the antialiased edge of a curve.
    switch (shape.shape) {
    case ShapeRectangle:
        return box;
    case ShapeOval: {
        const int across = int(std::ceil(box.width() * (1 - M_SQRT1_2) / 2)) + 1;
        const int down = int(std::ceil(box.height() * (1 - M_SQRT1_2) / 2)) + 1;
        return box.adjusted(across, down, -across, -down);
    }
    case ShapeRoundedRectangle: {
        const int inset = int(std::ceil(cornerRadius(box, pen) * (1 - M_SQRT1_2))) + 1;
        return box.adjusted(inset, inset, -inset, -inset);
    }
    }
    return {}; // GCOVR_EXCL_LINE: every kind is handled above
}

} // namespace

QRect bounds(const ShapeData &shape, qreal devicePixelRatio)
{
    if (!shape.visible)
        return {};
    const QRect box = shapeBox(shape, devicePixelRatio);
    // The antialiased edge of a curve may tint the pixels just outside its box.
    return shape.shape == ShapeRectangle ? box : box.adjusted(-1, -1, 1, 1);
}

QRect bounds(const LineData &line, qreal devicePixelRatio)
{
    if (!line.visible)
        return {};
    const DeviceSegment segment = deviceSegment(line, devicePixelRatio);
    // Round ends reach half the pen past each end; one more pixel covers antialiasing.
    const qreal reach = segment.pen / 2.0 + 1;
    return QRectF(segment.centre.p1(), segment.centre.p2())
        .normalized()
        .adjusted(-reach, -reach, reach, reach)
        .toAlignedRect();
}

QRect bounds(const LabelData &label, qreal devicePixelRatio)
{
    return label.visible ? labelBox(label, devicePixelRatio) : QRect();
}

QRect bounds(const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio)
{
    switch (id.type()) {
    case ElementId::Shape:
        return bounds(layer.shape(id.index()), devicePixelRatio);
    case ElementId::Line:
        return bounds(layer.line(id.index()), devicePixelRatio);
    case ElementId::Label:
        return bounds(layer.label(id.index()), devicePixelRatio);
    }
    return {}; // GCOVR_EXCL_LINE: every type is handled above
}

void paint(QPainter &painter, const ShapeData &shape, qreal devicePixelRatio)
{
    if (!shape.visible)
        return;
    const QRect box = shapeBox(shape, devicePixelRatio);
    const int pen = penPixels(shape.borderWidth, devicePixelRatio);
    switch (shape.shape) {
    case ShapeOval:
    case ShapeRoundedRectangle:
        paintCurved(painter, box, pen, shape);
        return;
    case ShapeRectangle:
        paintRectangle(painter, box, pen, shape);
        return;
    }
    // ShapeControl::setShape() accepts no other kind.
    Q_UNREACHABLE(); // GCOVR_EXCL_LINE
}

void paint(QPainter &painter, const LineData &line, qreal devicePixelRatio)
{
    if (!line.visible)
        return;
    const DeviceSegment segment = deviceSegment(line, devicePixelRatio);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, lineIsAntialiased(segment.pen));
    painter.setPen(QPen(toQColor(line.borderColor), segment.pen, Qt::SolidLine, segment.cap));
    if (segment.centre.length() == 0)
        painter.drawPoint(segment.centre.p1());
    else
        painter.drawLine(segment.centre);
    painter.restore();
}

void paint(QPainter &painter, const LabelData &label, qreal devicePixelRatio)
{
    if (!label.visible || label.caption.isEmpty())
        return;
    painter.save();
    // Text is laid out in logical pixels, where the font sizes are given.
    painter.scale(devicePixelRatio, devicePixelRatio);
    painter.setFont(label.font);
    painter.setPen(toQColor(label.foreColor));
    const QRectF box(Twips::toLogical(label.left), Twips::toLogical(label.top),
                     Twips::toLogical(label.width), Twips::toLogical(label.height));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label.caption);
    painter.restore();
}

void paint(QPainter &painter, const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio)
{
    switch (id.type()) {
    case ElementId::Shape:
        paint(painter, layer.shape(id.index()), devicePixelRatio);
        return;
    case ElementId::Line:
        paint(painter, layer.line(id.index()), devicePixelRatio);
        return;
    case ElementId::Label:
        paint(painter, layer.label(id.index()), devicePixelRatio);
        return;
    }
}

bool isAntialiased(const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio)
{
    switch (id.type()) {
    case ElementId::Shape:
        return layer.shape(id.index()).shape != ShapeRectangle;
    case ElementId::Line: {
        const LineData &line = layer.line(id.index());
        return lineIsAntialiased(penPixels(line.borderWidth, devicePixelRatio));
    }
    case ElementId::Label:
        break;
    }
    return true;
}

void paintAll(QPainter &painter, const WindowlessLayer &layer, qreal devicePixelRatio)
{
    layer.forEachInStackingOrder(
        [&](ElementId id) { paint(painter, layer, id, devicePixelRatio); });
}

QRect opaqueCore(const WindowlessLayer &layer, ElementId id, qreal devicePixelRatio)
{
    // Lines and labels are too thin to hide much; only shapes are worth the reckoning.
    if (id.type() != ElementId::Shape)
        return {};
    const QRect core = opaqueCore(layer.shape(id.index()), devicePixelRatio);
    return core.isValid() ? core : QRect();
}

} // namespace FigurePainter
