#pragma once

#include "colorvalue.h"

#include <QFont>
#include <QString>

#include <vector>

// The values behind the windowless controls: plain data, a few tens of bytes for a figure.
// Positions and sizes are in twips, border widths in pixels.

enum ShapeKind : qint16 {
    ShapeRectangle = 0,
    ShapeOval = 2,
    ShapeRoundedRectangle = 4,
};

struct ShapeData
{
    float left = 0, top = 0, width = 0, height = 0;
    ColorValue backColor = vbWhite;
    ColorValue borderColor = vbBlack;
    ColorValue fillColor = vbBlack; // Fill style is always transparent, so this never shows.
    qint16 shape = ShapeRectangle;
    quint8 borderWidth = 1;
    bool backOpaque = false;
    bool visible = true;
};

struct LineData
{
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ColorValue borderColor = vbBlack;
    quint8 borderWidth = 1;
    bool visible = true;
};

struct LabelData
{
    QString caption;
    QFont font;
    float left = 0, top = 0, width = 0, height = 0;
    ColorValue foreColor = vbBlack;
    bool autoSize = false;
    bool visible = true;
};

// Names one element of the layer: its kind and its slot among the elements of that kind.
class ElementId
{
public:
    enum Type : quint32 { Shape = 0, Line = 1, Label = 2 };

    constexpr ElementId() = default;
    constexpr ElementId(Type type, quint32 index) : m_packed((quint32(type) << 30) | index) { }

    constexpr Type type() const { return Type(m_packed >> 30); }
    constexpr quint32 index() const { return m_packed & IndexMask; }
    constexpr bool isNull() const { return m_packed == Null; }
    constexpr quint32 packed() const { return m_packed; }
    static constexpr ElementId fromPacked(quint32 packed) { return ElementId(packed); }

    friend constexpr bool operator==(ElementId, ElementId) = default;

private:
    static constexpr quint32 IndexMask = (1u << 30) - 1;
    static constexpr quint32 Null = ~0u;
    constexpr explicit ElementId(quint32 packed) : m_packed(packed) { }

    quint32 m_packed = Null;
};

// Told of every change that may alter what the layer looks like, so the view can repaint
// just the part of the window that changed, and screen readers hear of a new caption.
class LayerObserver
{
public:
    virtual ~LayerObserver() = default;
    virtual void elementAboutToChange(ElementId) { }
    virtual void elementChanged(ElementId) { }
    // A new element, on top of the stack.
    virtual void elementAdded(ElementId) { }
};

// The windowless controls of a form, shapes, lines and labels, in their stacking order. They
// all lie beneath the form's windowed controls.
class WindowlessLayer
{
public:
    ElementId addShape(const ShapeData &data) { return add(m_shapes, ElementId::Shape, data); }
    ElementId addLine(const LineData &data) { return add(m_lines, ElementId::Line, data); }
    ElementId addLabel(const LabelData &data) { return add(m_labels, ElementId::Label, data); }

    const ShapeData &shape(quint32 index) const { return m_shapes[index].data; }
    const LineData &line(quint32 index) const { return m_lines[index].data; }
    const LabelData &label(quint32 index) const { return m_labels[index].data; }
    quint32 labelCount() const { return quint32(m_labels.size()); }

    template <class Edit> void editShape(quint32 index, Edit &&edit)
    {
        this->edit(m_shapes, ElementId(ElementId::Shape, index), edit);
    }
    template <class Edit> void editLine(quint32 index, Edit &&edit)
    {
        this->edit(m_lines, ElementId(ElementId::Line, index), edit);
    }
    template <class Edit> void editLabel(quint32 index, Edit &&edit)
    {
        this->edit(m_labels, ElementId(ElementId::Label, index), edit);
    }

    // Moves the element to the front of the layer.
    void bringToFront(ElementId id);
    // Position in the stacking order: a higher value lies above a lower one.
    quint32 stackingPosition(ElementId id) const;
    ElementId topmost() const;

    // Calls visit(ElementId) for every element, from the bottom of the stack to the top.
    template <class Visit> void forEachInStackingOrder(Visit &&visit) const
    {
        for (quint32 packed : m_order) {
            if (packed != Removed)
                visit(ElementId::fromPacked(packed));
        }
    }

    // The topmost visible label whose box holds the point, in twips.
    ElementId labelAt(float x, float y) const;

    // Observers are told in the order they were added; each must stay until it is removed or
    // the layer is gone.
    void addObserver(LayerObserver *observer) { m_observers.push_back(observer); }
    void removeObserver(LayerObserver *observer) { std::erase(m_observers, observer); }

private:
    template <class Data> struct Slot
    {
        Data data;
        quint32 position; // index into m_order
    };
    static constexpr quint32 Removed = ~0u;

    template <class Data>
    ElementId add(std::vector<Slot<Data>> &elements, ElementId::Type type, const Data &data)
    {
        const ElementId id(type, quint32(elements.size()));
        elements.push_back({data, quint32(m_order.size())});
        m_order.push_back(id.packed());
        notify(&LayerObserver::elementAdded, id);
        return id;
    }

    template <class Data, class Edit>
    void edit(std::vector<Slot<Data>> &elements, ElementId id, Edit &edit)
    {
        notify(&LayerObserver::elementAboutToChange, id);
        edit(elements[id.index()].data);
        notify(&LayerObserver::elementChanged, id);
    }

    void notify(void (LayerObserver::*event)(ElementId), ElementId id)
    {
        for (LayerObserver *observer : m_observers)
            (observer->*event)(id);
    }

    quint32 &positionOf(ElementId id);
    void compactOrder();

    std::vector<Slot<ShapeData>> m_shapes;
    std::vector<Slot<LineData>> m_lines;
    std::vector<Slot<LabelData>> m_labels;
    // Packed element ids from bottom to top; raising an element leaves a Removed hole behind,
    // squeezed out once holes make up half of the order.
    std::vector<quint32> m_order;
    quint32 m_holes = 0;
    std::vector<LayerObserver *> m_observers;
};
