#pragma once

#include "runtimeerror.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

// A family of like controls under one name, addressed by a 16-bit index. Windowless controls can
// load new elements at run time; each starts as a hidden copy of the lowest-index element.
template <class Control> class ControlArray
{
public:
    // Indexes run from 0 to 32767, so an array never holds more elements than this.
    static constexpr int Capacity = std::numeric_limits<qint16>::max() + 1;

    // Number of loaded elements.
    int Count() const { return m_count; }

    Control &Item(int index)
    {
        if (index < 0 || index >= int(m_elements.size()) || !m_elements[index])
            raiseRuntimeError(
                RuntimeError::ElementDoesNotExist,
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
        assign(index, Item(lowestIndex()).loadCopy());
    }

    // Puts an element that the form's definition creates into its slot, replacing any there.
    void assign(int index, Control control)
    {
        if (index >= int(m_elements.size()))
            m_elements.resize(index + 1);
        if (!m_elements[index])
            ++m_count;
        m_elements[index] = std::move(control);
    }

private:
    // The lowest loaded index; 0 in an empty array, where Item then reports the missing element.
    int lowestIndex() const
    {
        const auto first =
            std::find_if(m_elements.begin(), m_elements.end(),
                         [](const std::optional<Control> &e) { return e.has_value(); });
        return first == m_elements.end() ? 0 : int(first - m_elements.begin());
    }

    std::vector<std::optional<Control>> m_elements;
    int m_count = 0;
};
