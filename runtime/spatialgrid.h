#pragma once

#include "windowlesslayer.h"

#include <QRect>

#include <vector>

// Which elements touch which part of the window: a grid of square cells, each listing the
// elements whose bounds reach into it. It answers "what lies under this rectangle" without
// walking every element.
class SpatialGrid
{
public:
    void reset(QSize deviceSize);

    void insert(ElementId id, const QRect &bounds);
    void remove(ElementId id);
    // The bounds an element was inserted with; empty when it is not in the grid.
    QRect boundsOf(ElementId id) const;

    // Calls visit(id) once for each element whose bounds intersect the area.
    template <class Visit> void forEachIntersecting(const QRect &area, Visit &&visit) const
    {
        const QRect cells = cellsCovering(area);
        for (int row = cells.top(); row <= cells.bottom(); ++row) {
            for (int column = cells.left(); column <= cells.right(); ++column) {
                for (quint32 packed : m_cells[row * m_columns + column]) {
                    const ElementId id = ElementId::fromPacked(packed);
                    const QRect bounds = boundsOf(id);
                    // An element spanning several cells is reported from the first of them only.
                    if (!bounds.intersects(area)
                        || firstSharedCell(bounds, area) != QPoint(column, row))
                        continue;
                    visit(id);
                }
            }
        }
    }

private:
    static constexpr int CellSize = 64;

    // Bounds in 16 bits a side keep the grid small; windows are far smaller than 32767 pixels.
    struct Box
    {
        qint16 left = 0, top = 0, right = -1, bottom = -1;
    };

    QRect cellsCovering(const QRect &area) const;
    QPoint firstSharedCell(const QRect &a, const QRect &b) const;
    Box &boxOf(ElementId id);

    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::vector<quint32>> m_cells;
    std::vector<Box> m_boxes[3]; // by element type, then index
};
