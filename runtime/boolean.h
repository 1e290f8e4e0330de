#pragma once

#include <QtGlobal>

// The program's booleans are 16 bits wide, with True as -1.
using Boolean = qint16;

namespace Vb {
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

constexpr Boolean fromBool(bool value)
{
    return value ? True : False;
}
} // namespace Vb
