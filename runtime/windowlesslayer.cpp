#include "windowlesslayer.h"

void WindowlessLayer::bringToFront(ElementId id)
{
    quint32 &position = positionOf(id);
    if (position == m_order.size() - 1)
        return;

    notify(&LayerObserver::elementAboutToChange, id);
    m_order[position] = Removed;
    ++m_holes;
    position = quint32(m_order.size());
    m_order.push_back(id.packed());
    if (m_holes > m_order.size() / 2)
        compactOrder();
    notify(&LayerObserver::elementChanged, id);
}

quint32 WindowlessLayer::stackingPosition(ElementId id) const
{
    return const_cast<WindowlessLayer *>(this)->positionOf(id);
}

ElementId WindowlessLayer::topmost() const
{
    return m_order.empty() ? ElementId() : ElementId::fromPacked(m_order.back());
}

ElementId WindowlessLayer::labelAt(float x, float y) const
{
    ElementId found;
    for (quint32 index = 0; index < m_labels.size(); ++index) {
        const LabelData &label = m_labels[index].data;
        const bool inside = label.visible && x >= label.left && x < label.left + label.width
            && y >= label.top && y < label.top + label.height;
        const ElementId id(ElementId::Label, index);
        if (inside && (found.isNull() || stackingPosition(id) > stackingPosition(found)))
            found = id;
    }
    return found;
}

quint32 &WindowlessLayer::positionOf(ElementId id)
{
    switch (id.type()) {
    case ElementId::Shape:
        return m_shapes[id.index()].position;
    case ElementId::Line:
        return m_lines[id.index()].position;
    case ElementId::Label:
        break;
    }
    return m_labels[id.index()].position;
}

void WindowlessLayer::compactOrder()
{
    std::erase(m_order, Removed);
    m_holes = 0;
    for (quint32 position = 0; position < m_order.size(); ++position)
        positionOf(ElementId::fromPacked(m_order[position])) = position;
}
