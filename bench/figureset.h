#pragma once

#include "canvas.h"
#include "colorvalue.h"
#include "figurekind.h"
#include "twips.h"
#include "windowlesslayer.h"

#include <QPoint>

#include <random>
#include <vector>

// The figures every design under measurement holds: the same seeded list for all of them.
struct BenchFigure
{
    FigureKind kind;
    QPoint from, to; // logical pixels of the client area
    ColorValue color;
    int thickness;

    ShapeData shape() const
    {
        ShapeData data;
        data.left = float(std::min(from.x(), to.x()) * Twips::PerLogicalPixel);
        data.top = float(std::min(from.y(), to.y()) * Twips::PerLogicalPixel);
        data.width = float(std::abs(to.x() - from.x()) * Twips::PerLogicalPixel);
        data.height = float(std::abs(to.y() - from.y()) * Twips::PerLogicalPixel);
        data.shape = kind == FigureKind::Circle ? ShapeOval
            : kind == FigureKind::Rectangle     ? ShapeRectangle
                                                : ShapeRoundedRectangle;
        data.backColor = data.borderColor = color;
        data.backOpaque = true;
        return data;
    }

    LineData line() const
    {
        constexpr float perPixel = Twips::PerLogicalPixel;
        return {float(from.x() * perPixel),
                float(from.y() * perPixel),
                float(to.x() * perPixel),
                float(to.y() * perPixel),
                color,
                quint8(thickness),
                true};
    }
};

// The canvas within its frame, in logical pixels: x 21..352, y 134..332.
inline QRect canvasInside()
{
    return Twips::toDeviceBox(Canvas::Left, Canvas::Top, Canvas::Width, Canvas::Height, 1)
        .adjusted(1, 1, 0, 0);
}

// Figures of the four kinds with sides of 4 to 100 pixels and lines 1 to 10 pixels wide, all on
// the canvas within its frame.
inline std::vector<BenchFigure> makeFigures(int count)
{
    const QRect inside = canvasInside();
    std::mt19937 random(1440);
    std::uniform_int_distribution<int> kind(0, 3), side(4, 100), color(0, 0xFFFFFF), width(1, 10);
    std::uniform_int_distribution<int> x(inside.left(), inside.right() - 100);
    std::uniform_int_distribution<int> y(inside.top(), inside.bottom() - 100);
    std::vector<BenchFigure> figures;
    figures.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const QPoint from(x(random), y(random));
        const QPoint to = from + QPoint(side(random), side(random));
        figures.push_back(
            {FigureKind(kind(random)), from, to, ColorValue(color(random)), width(random)});
    }
    return figures;
}
