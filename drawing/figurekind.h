#pragma once

// The kinds of figure the user can draw, in the order the window offers them.
enum class FigureKind { Circle, Line, Rectangle, RoundedRectangle };
