#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

// A colour value is laid out 0x00BBGGRR, red in the low byte.
using ColorValue = quint32;

constexpr ColorValue RGB(int red, int green, int blue)
{
    return ColorValue(red + 256 * green + 65536 * blue);
}

inline QColor toQColor(ColorValue value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline constexpr ColorValue vbBlack = 0x000000;
inline constexpr ColorValue vbWhite = 0xFFFFFF;

// A colour as a screen reader speaks it: "red 200, green 0, blue 0".
inline QString colorInWords(ColorValue value)
{
    const QColor color = toQColor(value);
    return QStringLiteral("red %1, green %2, blue %3")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue());
}
