#pragma once

#include "boolean.h"
#include "windowlesslayer.h"

// Handles to the windowless controls of a form. A handle is two words: the layer that holds the
// control's values and the control's slot in it. Every property write goes through the layer, so
// the window repaints what the write changed.

class ShapeControl
{
public:
    ShapeControl() = default;
    ShapeControl(WindowlessLayer *layer, ElementId id) : m_layer(layer), m_id(id) { }

    // A new hidden control with the same property values, as a control array loads its elements.
    ShapeControl loadCopy() const;

    qint16 Shape() const { return data().shape; }
    void setShape(qint16 kind);
    ColorValue BackColor() const { return data().backColor; }
    void setBackColor(ColorValue color);
    // 0 transparent, 1 opaque.
    qint16 BackStyle() const { return data().backOpaque ? 1 : 0; }
    ColorValue BorderColor() const { return data().borderColor; }
    void setBorderColor(ColorValue color);
    ColorValue FillColor() const { return data().fillColor; }
    void setFillColor(ColorValue color);
    qint16 BorderWidth() const { return data().borderWidth; }
    float Left() const { return data().left; }
    void setLeft(float twips);
    float Top() const { return data().top; }
    void setTop(float twips);
    float Width() const { return data().width; }
    void setWidth(float twips);
    float Height() const { return data().height; }
    void setHeight(float twips);
    Boolean Visible() const { return Vb::fromBool(data().visible); }
    void setVisible(bool visible);
    void ZOrder();

    ElementId id() const { return m_id; }

private:
    const ShapeData &data() const { return m_layer->shape(m_id.index()); }
    template <class Edit> void edit(Edit &&change) { m_layer->editShape(m_id.index(), change); }

    WindowlessLayer *m_layer = nullptr;
    ElementId m_id;
};

class LineControl
{
public:
    LineControl() = default;
    LineControl(WindowlessLayer *layer, ElementId id) : m_layer(layer), m_id(id) { }

    LineControl loadCopy() const;

    float X1() const { return data().x1; }
    void setX1(float twips);
    float Y1() const { return data().y1; }
    void setY1(float twips);
    float X2() const { return data().x2; }
    void setX2(float twips);
    float Y2() const { return data().y2; }
    void setY2(float twips);
    ColorValue BorderColor() const { return data().borderColor; }
    void setBorderColor(ColorValue color);
    qint16 BorderWidth() const { return data().borderWidth; }
    void setBorderWidth(qint16 pixels);
    Boolean Visible() const { return Vb::fromBool(data().visible); }
    void setVisible(bool visible);
    void ZOrder();

    ElementId id() const { return m_id; }

private:
    const LineData &data() const { return m_layer->line(m_id.index()); }
    template <class Edit> void edit(Edit &&change) { m_layer->editLine(m_id.index(), change); }

    WindowlessLayer *m_layer = nullptr;
    ElementId m_id;
};

class LabelControl
{
public:
    LabelControl() = default;
    LabelControl(WindowlessLayer *layer, ElementId id) : m_layer(layer), m_id(id) { }

    QString Caption() const { return data().caption; }
    void setCaption(const QString &caption);
    ColorValue ForeColor() const { return data().foreColor; }
    QFont Font() const { return data().font; }
    // A label that sizes itself keeps its box just large enough for its caption.
    Boolean AutoSize() const { return Vb::fromBool(data().autoSize); }
    void setAutoSize(bool autoSize);
    float Left() const { return data().left; }
    float Top() const { return data().top; }
    float Width() const { return data().width; }
    float Height() const { return data().height; }
    Boolean Visible() const { return Vb::fromBool(data().visible); }

    ElementId id() const { return m_id; }

private:
    const LabelData &data() const { return m_layer->label(m_id.index()); }
    template <class Edit> void edit(Edit &&change) { m_layer->editLabel(m_id.index(), change); }
    void fitToCaption();

    WindowlessLayer *m_layer = nullptr;
    ElementId m_id;
};
