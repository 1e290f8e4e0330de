#include "windowlesscontrols.h"

#include "runtimeerror.h"
#include "twips.h"

#include <QFontMetricsF>

#include <cmath>

namespace {

void rejectInvalidValue()
{
    raiseRuntimeError(RuntimeError::InvalidPropertyValue, QStringLiteral("Invalid property value"));
}

quint8 checkedBorderWidth(qint16 pixels)
{
    if (pixels < 1 || pixels > 255)
        rejectInvalidValue();
    return quint8(pixels);
}

float checkedExtent(float twips)
{
    if (!(twips >= 0) || !std::isfinite(twips))
        rejectInvalidValue();
    return twips;
}

} // namespace

ShapeControl ShapeControl::loadCopy() const
{
    ShapeData copy = data();
    copy.visible = false;
    return ShapeControl(m_layer, m_layer->addShape(copy));
}

void ShapeControl::setShape(qint16 kind)
{
    if (kind != ShapeRectangle && kind != ShapeOval && kind != ShapeRoundedRectangle)
        rejectInvalidValue();
    edit([kind](ShapeData &d) { d.shape = kind; });
}

void ShapeControl::setBackColor(ColorValue color)
{
    edit([color](ShapeData &d) { d.backColor = color; });
}

void ShapeControl::setBorderColor(ColorValue color)
{
    edit([color](ShapeData &d) { d.borderColor = color; });
}

void ShapeControl::setFillColor(ColorValue color)
{
    edit([color](ShapeData &d) { d.fillColor = color; });
}

void ShapeControl::setLeft(float twips)
{
    edit([twips](ShapeData &d) { d.left = twips; });
}

void ShapeControl::setTop(float twips)
{
    edit([twips](ShapeData &d) { d.top = twips; });
}

void ShapeControl::setWidth(float twips)
{
    const float width = checkedExtent(twips);
    edit([width](ShapeData &d) { d.width = width; });
}

void ShapeControl::setHeight(float twips)
{
    const float height = checkedExtent(twips);
    edit([height](ShapeData &d) { d.height = height; });
}

void ShapeControl::setVisible(bool visible)
{
    edit([visible](ShapeData &d) { d.visible = visible; });
}

void ShapeControl::ZOrder()
{
    m_layer->bringToFront(m_id);
}

LineControl LineControl::loadCopy() const
{
    LineData copy = data();
    copy.visible = false;
    return LineControl(m_layer, m_layer->addLine(copy));
}

void LineControl::setX1(float twips)
{
    edit([twips](LineData &d) { d.x1 = twips; });
}

void LineControl::setY1(float twips)
{
    edit([twips](LineData &d) { d.y1 = twips; });
}

void LineControl::setX2(float twips)
{
    edit([twips](LineData &d) { d.x2 = twips; });
}

void LineControl::setY2(float twips)
{
    edit([twips](LineData &d) { d.y2 = twips; });
}

void LineControl::setBorderColor(ColorValue color)
{
    edit([color](LineData &d) { d.borderColor = color; });
}

void LineControl::setBorderWidth(qint16 pixels)
{
    const quint8 width = checkedBorderWidth(pixels);
    edit([width](LineData &d) { d.borderWidth = width; });
}

void LineControl::setVisible(bool visible)
{
    edit([visible](LineData &d) { d.visible = visible; });
}

void LineControl::ZOrder()
{
    m_layer->bringToFront(m_id);
}

void LabelControl::setCaption(const QString &caption)
{
    edit([&caption](LabelData &d) { d.caption = caption; });
    fitToCaption();
}

void LabelControl::setAutoSize(bool autoSize)
{
    edit([autoSize](LabelData &d) { d.autoSize = autoSize; });
    fitToCaption();
}

void LabelControl::fitToCaption()
{
    if (!data().autoSize)
        return;
    const QFontMetricsF metrics(data().font);
    const float width = Twips::fromLogical(std::ceil(metrics.horizontalAdvance(data().caption)));
    const float height = Twips::fromLogical(std::ceil(metrics.height()));
    edit([=](LabelData &d) {
        d.width = width;
        d.height = height;
    });
}
