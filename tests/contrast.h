#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>

// How readable one colour is on another, as the Web Content Accessibility Guidelines reckon it:
// 1 for equal colours up to 21 for black on white; 7 is their enhanced level for text, 3 their
// level for the parts of controls that show what they are and their state.
namespace Contrast {

inline double relativeLuminance(const QColor &color)
{
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red()) + 0.7152 * linear(color.green())
        + 0.0722 * linear(color.blue());
}

inline double ratio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline constexpr double enhancedLevel = 7.0;
inline constexpr double nonTextLevel = 3.0;

} // namespace Contrast
