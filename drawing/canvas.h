#pragma once

// The canvas, in twips of the client area: the frame drawn by Shape2. Every point of a drag is
// held to it.
namespace Canvas {

inline constexpr float Left = 300;
inline constexpr float Top = 2000;
inline constexpr float Right = 5300;
inline constexpr float Bottom = 5000;
inline constexpr float Width = Right - Left;
inline constexpr float Height = Bottom - Top;

} // namespace Canvas
