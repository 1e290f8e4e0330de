#include "layercache.h"

#include "figurepainter.h"

#include <QPainter>

#include <algorithm>

bool LayerCache::isValidFor(QSize deviceSize, qreal devicePixelRatio,
                            const QColor &background) const
{
    return !m_image.isNull() && m_image.size() == deviceSize && m_ratio == devicePixelRatio
        && m_background == background;
}

void LayerCache::rebuild(QSize deviceSize, qreal devicePixelRatio, const QColor &background)
{
    m_ratio = devicePixelRatio;
    m_background = background;
    m_image = QImage(deviceSize, QImage::Format_RGB32);
    m_image.fill(background);
    m_grid.reset(deviceSize);
    m_stale = QRegion();
    // Until something changes, the picture holds the top element too, so a paint is a plain copy.
    m_top = ElementId();

    QPainter painter(&m_image);
    m_layer.forEachInStackingOrder([&](ElementId id) {
        FigurePainter::paint(painter, m_layer, id, m_ratio);
        m_grid.insert(id, FigurePainter::bounds(m_layer, id, m_ratio));
    });
}

void LayerCache::elementChanged(ElementId id)
{
    if (m_image.isNull())
        return;
    followTopElement();
    if (id == m_top)
        return;
    // A change beneath the top element: the picture is stale where it was and where it is.
    m_stale += m_grid.boundsOf(id);
    const QRect bounds = FigurePainter::bounds(m_layer, id, m_ratio);
    m_grid.insert(id, bounds);
    m_stale += bounds;
}

void LayerCache::followTopElement()
{
    const ElementId top = m_layer.topmost();
    if (top == m_top)
        return;
    // The old top element now lies above everything in the picture: paint it on.
    if (!m_top.isNull()) {
        QPainter painter(&m_image);
        FigurePainter::paint(painter, m_layer, m_top, m_ratio);
        m_grid.insert(m_top, FigurePainter::bounds(m_layer, m_top, m_ratio));
    }
    // The new one leaves the picture, which is stale where it was.
    m_stale += m_grid.boundsOf(top);
    m_grid.remove(top);
    m_top = top;
}

void LayerCache::paint(QPainter &painter, const QRegion &area)
{
    repairStaleAreas();
    const bool topShows =
        !m_top.isNull() && area.intersects(FigurePainter::bounds(m_layer, m_top, m_ratio));
    if (!topShows) {
        copy(painter, m_image, area);
        return;
    }
    if (!FigurePainter::isAntialiased(m_layer, m_top, m_ratio)) {
        // What the top figure covers completely need not be copied first.
        copy(painter, m_image, area - FigurePainter::opaqueCore(m_layer, m_top, m_ratio));
        FigurePainter::paint(painter, m_layer, m_top, m_ratio);
        return;
    }
    prepareScratch(area);
    QPainter scratch(&m_scratch);
    FigurePainter::paint(scratch, m_layer, m_top, m_ratio);
    scratch.end();
    copy(painter, m_scratch, area);
}

void LayerCache::copy(QPainter &painter, const QImage &from, const QRegion &area)
{
    for (const QRect &part : area)
        painter.drawImage(part, from, part);
}

// Antialiased figures are never drawn clipped, nor straight onto the window where the menu bar
// shifts the origin: the raster engine can place an antialiased edge a hair differently then.
// They are drawn whole onto a scratch picture placed like the cached one, and only the area is
// copied on, so every pixel comes out exactly as in a rendering of the whole layer.
void LayerCache::prepareScratch(const QRegion &area)
{
    ensureScratch();
    QPainter painter(&m_scratch);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    copy(painter, m_image, area);
}

void LayerCache::ensureScratch()
{
    if (m_scratch.size() != m_image.size())
        m_scratch = QImage(m_image.size(), m_image.format());
}

void LayerCache::repairStaleAreas()
{
    for (const QRect &area : m_stale)
        repair(area);
    m_stale = QRegion();
}

// Redraws one area of the picture from the elements there. Walking them from the top down, an
// element hidden beneath opaque figures already seen is left out, and the walk stops once the
// area is covered: in a dense drawing only the few figures on top are painted.
void LayerCache::repair(const QRect &area)
{
    struct Candidate
    {
        quint32 position;
        ElementId id;
    };
    std::vector<Candidate> candidates;
    m_grid.forEachIntersecting(area, [&](ElementId id) {
        candidates.push_back({m_layer.stackingPosition(id), id});
    });
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate &a, const Candidate &b) { return a.position > b.position; });

    QRegion uncovered(area);
    std::vector<ElementId> visible;
    for (const Candidate &candidate : candidates) {
        if (!uncovered.intersects(m_grid.boundsOf(candidate.id)))
            continue;
        visible.push_back(candidate.id);
        uncovered -= FigurePainter::opaqueCore(m_layer, candidate.id, m_ratio);
        if (uncovered.isEmpty())
            break;
    }

    ensureScratch();
    QPainter scratch(&m_scratch);
    scratch.fillRect(area, m_background);
    std::for_each(visible.rbegin(), visible.rend(),
                  [&](ElementId id) { FigurePainter::paint(scratch, m_layer, id, m_ratio); });
    scratch.end();
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    copy(painter, m_scratch, area);
}
