#pragma once

#include "twips.h"

#include <QSize>

// The drawing window's client area, beneath its menu bar, in twips, and the same in logical
// pixels: 373 x 350.
namespace ClientArea {

inline constexpr float Width = 5595;
inline constexpr float Height = 5250;
inline constexpr QSize LogicalSize(qRound(Twips::toLogical(Width)),
                                   qRound(Twips::toLogical(Height)));

} // namespace ClientArea
