#pragma once

#include "runtimeerror.h"

#include <limits>
#include <optional>
#include <vector>

// A family of like controls under one name, addressed by a 16-bit index. Windowless controls can
// load new elements at run time; each starts as a hidden copy of the lowest-index element.
template <class Control>
class ControlArray
{
public:
    // Indexes run from 0 to 32767, so an array never holds more elements than this.
    static constexpr int Capacity = std::numeric_limits<qint16>::max() + 1;

    // Number of loaded elements.
    int Count() const { return m_count; }

    Control &Item(int index)
    {
        if (index < 0 || index >= int(m_elements.size()) || !m_elements[index])
            raiseRuntimeError(RuntimeError::ElementDoesNotExist,
                              QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        return *m_elements[index];
    }
    Control &operator()(int index) { return Item(index); }

    void Load(int index)
    {
        if (index < 0 || index >= Capacity)
            raiseRuntimeError(RuntimeError::SubscriptOutOfRange,
                              QStringLiteral("Subscript out of range"));
        if (index < int(m_elements.size()) && m_elements[index])
            raiseRuntimeError(RuntimeError::ObjectAlreadyLoaded,
                              QStringLiteral("Object already loaded"));
        place(index, Item(lowestIndex()).loadCopy());
    }

    // Puts an element that the form's definition creates into the array.
    void place(int index, Control control)
    {
        if (index >= int(m_elements.size()))
            m_elements.resize(index + 1);
        m_elements[index] = std::move(control);
        ++m_count;
    }

private:
    int lowestIndex() const
    {
        int index = 0;
        while (!m_elements[index])
            ++index;
        return index;
    }

    std::vector<std::optional<Control>> m_elements;
    int m_count = 0;
};
