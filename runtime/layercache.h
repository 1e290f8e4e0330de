#pragma once

#include "spatialgrid.h"
#include "windowlesslayer.h"

#include <QColor>
#include <QImage>
#include <QRegion>

class QPainter;

// A picture of the windowless layer beneath its top element, in device pixels.
//
// The figure being dragged is always the top element (the press brings it to the front), and
// everything beneath it keeps still for the whole drag, so a repaint only copies the area from
// this picture and draws the top element over it: its cost does not grow with the number of
// figures. When another element comes to the top, the old top is painted onto the picture; an
// element that changes or leaves from beneath the top marks its area stale, and the area is
// redrawn from just the elements that the spatial grid finds there.
//
// A picture drawn afresh holds every element, the top one included, so that the window's first
// frame is a plain copy; the top element leaves it at the first change.
class LayerCache
{
public:
    explicit LayerCache(const WindowlessLayer &layer) : m_layer(layer) { }

    bool isValidFor(QSize deviceSize, qreal devicePixelRatio, const QColor &background) const;
    // Draws the whole picture afresh.
    void rebuild(QSize deviceSize, qreal devicePixelRatio, const QColor &background);

    // Keeps the picture in step after an element was added, changed or raised.
    void elementChanged(ElementId id);

    // Paints the area of the layer, in device pixels.
    void paint(QPainter &painter, const QRegion &area);

private:
    void followTopElement();
    void repairStaleAreas();
    void repair(const QRect &area);
    void ensureScratch();
    void prepareScratch(const QRegion &area);
    static void copy(QPainter &painter, const QImage &from, const QRegion &area);

    const WindowlessLayer &m_layer;
    QImage m_image;
    // Where figures are drawn before their area is copied on.
    QImage m_scratch;
    qreal m_ratio = 1;
    QColor m_background;
    SpatialGrid m_grid;
    // The top element, which is not in the picture or the grid; none right after a rebuild.
    ElementId m_top;
    QRegion m_stale;
};
