#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

#include <cmath>

// Every position and size the program handles is in twips, 1440 to the inch. A logical pixel is
// 1/96 inch, so 15 twips make one; Qt maps logical pixels onto device pixels by the screen's
// device pixel ratio. This is the one place where twips become pixels.
namespace Twips {

inline constexpr float PerLogicalPixel = 15.0f;
inline constexpr float PerPoint = 20.0f;

constexpr qreal toLogical(float twips)
{
    return qreal(twips) / PerLogicalPixel;
}
constexpr float fromLogical(qreal pixels)
{
    return float(pixels * PerLogicalPixel);
}
inline QPointF fromLogical(QPointF pixels)
{
    return pixels * PerLogicalPixel;
}

// Figures snap to whole device pixels, so their edges stay crisp at any pixel ratio. Multiplying
// first keeps the usual ratios exact: 2015 twips at 1.5 are 201.5 pixels, which dividing first
// makes 201.49999 and rounds the other way from the edge 15 twips before it.
inline int toDevice(float twips, qreal devicePixelRatio)
{
    return int(std::lround(double(twips) * devicePixelRatio / PerLogicalPixel));
}

// The box from (left, top) spanning width by height, snapped to device pixels. Even an empty box
// covers one pixel, as a shape of size zero still shows as a dot.
inline QRect toDeviceBox(float left, float top, float width, float height, qreal devicePixelRatio)
{
    const int x0 = toDevice(left, devicePixelRatio);
    const int y0 = toDevice(top, devicePixelRatio);
    const int x1 = toDevice(left + width, devicePixelRatio);
    const int y1 = toDevice(top + height, devicePixelRatio);
    return QRect(x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0));
}

// Widgets are placed in logical pixels; Qt scales them for the screen.
inline QRect toLogicalRect(float left, float top, float width, float height)
{
    const int x0 = int(std::lround(toLogical(left)));
    const int y0 = int(std::lround(toLogical(top)));
    return QRect(x0, y0, int(std::lround(toLogical(left + width))) - x0,
                 int(std::lround(toLogical(top + height))) - y0);
}

// A device-pixel rectangle as the smallest logical rectangle that covers it, for QWidget::update().
inline QRect deviceToLogical(const QRect &device, qreal devicePixelRatio)
{
    if (device.isEmpty())
        return {};
    const QRectF logical(device.x() / devicePixelRatio, device.y() / devicePixelRatio,
                         device.width() / devicePixelRatio, device.height() / devicePixelRatio);
    return logical.toAlignedRect();
}

inline QRect logicalToDevice(const QRect &logical, qreal devicePixelRatio)
{
    return QRectF(logical.x() * devicePixelRatio, logical.y() * devicePixelRatio,
                  logical.width() * devicePixelRatio, logical.height() * devicePixelRatio)
        .toAlignedRect();
}

// Font sizes are given in points; 20 twips make a point.
inline int fontPixelSize(qreal points)
{
    return int(std::lround(toLogical(float(points * PerPoint))));
}

} // namespace Twips
