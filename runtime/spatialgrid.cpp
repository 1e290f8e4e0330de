#include "spatialgrid.h"

#include <algorithm>

void SpatialGrid::reset(QSize deviceSize)
{
    m_columns = std::max(1, (deviceSize.width() + CellSize - 1) / CellSize);
    m_rows = std::max(1, (deviceSize.height() + CellSize - 1) / CellSize);
    m_cells.assign(size_t(m_columns) * size_t(m_rows), {});
    for (std::vector<Box> &boxes : m_boxes)
        boxes.clear();
}

void SpatialGrid::insert(ElementId id, const QRect &bounds)
{
    remove(id);
    const QRect clipped = bounds & QRect(0, 0, m_columns * CellSize, m_rows * CellSize);
    if (clipped.isEmpty())
        return;
    boxOf(id) = {qint16(clipped.left()), qint16(clipped.top()), qint16(clipped.right()),
                 qint16(clipped.bottom())};
    const QRect cells = cellsCovering(clipped);
    for (int row = cells.top(); row <= cells.bottom(); ++row)
        for (int column = cells.left(); column <= cells.right(); ++column)
            m_cells[row * m_columns + column].push_back(id.packed());
}

void SpatialGrid::remove(ElementId id)
{
    const QRect bounds = boundsOf(id);
    if (bounds.isEmpty())
        return;
    const QRect cells = cellsCovering(bounds);
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int column = cells.left(); column <= cells.right(); ++column) {
            std::vector<quint32> &cell = m_cells[row * m_columns + column];
            const auto found = std::find(cell.begin(), cell.end(), id.packed());
            if (found != cell.end()) {
                *found = cell.back();
                cell.pop_back();
            }
        }
    }
    boxOf(id) = {};
}

QRect SpatialGrid::boundsOf(ElementId id) const
{
    const std::vector<Box> &boxes = m_boxes[id.type()];
    if (id.index() >= boxes.size())
        return {};
    const Box &box = boxes[id.index()];
    return QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom));
}

QRect SpatialGrid::cellsCovering(const QRect &area) const
{
    const QRect grid(0, 0, m_columns, m_rows);
    return QRect(QPoint(area.left() / CellSize, area.top() / CellSize),
                 QPoint(area.right() / CellSize, area.bottom() / CellSize))
        & grid;
}

QPoint SpatialGrid::firstSharedCell(const QRect &a, const QRect &b) const
{
    return QPoint(std::max({a.left(), b.left(), 0}) / CellSize,
                  std::max({a.top(), b.top(), 0}) / CellSize);
}

SpatialGrid::Box &SpatialGrid::boxOf(ElementId id)
{
    std::vector<Box> &boxes = m_boxes[id.type()];
    if (id.index() >= boxes.size())
        boxes.resize(id.index() + 1);
    return boxes[id.index()];
}
