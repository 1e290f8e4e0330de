// The cached picture of the windowless layer and the grid it finds elements by, without a window:
// random edits beneath the top and at the top, compared with a rendering from scratch.

#include "formdriver.h"
#include "layercache.h"
#include "spatialgrid.h"

#include <QPainter>
#include <QTest>

#include <random>

namespace {

// Keeps the cache in step with the layer, as the window's client area does.
class CacheFollower : public LayerObserver
{
public:
    explicit CacheFollower(LayerCache &cache) : m_cache(cache) { }
    void elementAboutToChange(ElementId) override { }
    void elementChanged(ElementId id) override { m_cache.elementChanged(id); }
    void elementAdded(ElementId id) override { m_cache.elementChanged(id); }

private:
    LayerCache &m_cache;
};

QImage fromCache(LayerCache &cache, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    cache.paint(painter, QRegion(QRect(QPoint(0, 0), size)));
    return image;
}

QImage fromScratch(const WindowlessLayer &layer, QSize size, qreal ratio)
{
    return FormDriver::render(layer, size, ratio);
}

} // namespace

class tst_LayerCache : public QObject
{
    Q_OBJECT

private slots:
    void raisedFigureLeavesNoTrace();
    void randomEditsMatchAFullRendering_data();
    void randomEditsMatchAFullRendering();
    void gridFindsEachElementOnce_data();
    void gridFindsEachElementOnce();
};

// A figure raised from beneath others and then moved must not leave its old picture behind.
void tst_LayerCache::raisedFigureLeavesNoTrace()
{
    const QSize size(200, 200);
    WindowlessLayer layer;
    LayerCache cache(layer);
    CacheFollower follower(cache);
    layer.addObserver(&follower);
    ShapeData square;
    square.left = 300;
    square.top = 300;
    square.width = 600;
    square.height = 600;
    square.backOpaque = true;
    square.backColor = RGB(255, 0, 0);
    const ElementId buried = layer.addShape(square);
    LineData line{0, 0, 2900, 2900, RGB(0, 0, 255), 3, true};
    layer.addLine(line);
    cache.rebuild(size, 1, Qt::white);
    QCOMPARE(fromCache(cache, size), fromScratch(layer, size, 1));

    layer.bringToFront(buried);
    layer.editShape(buried.index(), [](ShapeData &d) { d.left = 1800; });
    QCOMPARE(fromCache(cache, size), fromScratch(layer, size, 1));
}

void tst_LayerCache::randomEditsMatchAFullRendering_data()
{
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio : {1.0, 1.5, 2.0}) {
        for (unsigned seed : {1u, 20261208u, 4242u})
            QTest::addRow("seed %u, ratio %.1f", seed, ratio) << seed << ratio;
    }
}

// Moves, recolours, raises, hides and adds, anywhere in the stack, with a look at the picture
// after every few edits.
void tst_LayerCache::randomEditsMatchAFullRendering()
{
    QFETCH(unsigned, seed);
    QFETCH(qreal, ratio);
    const QSize size = (QSizeF(240, 180) * ratio).toSize();
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> coordinate(-300, 3900), extent(0, 1500);
    std::uniform_int_distribution<int> byte(0, 255), action(0, 5), kind(0, 2), width(1, 10);
    auto color = [&] { return RGB(byte(random), byte(random), byte(random)); };
    const qint16 kinds[] = {ShapeRectangle, ShapeOval, ShapeRoundedRectangle};
    auto randomShape = [&](float left, float top, bool opaque) {
        ShapeData shape;
        shape.left = left;
        shape.top = top;
        shape.width = extent(random);
        shape.height = extent(random);
        shape.backColor = color();
        shape.borderColor = color();
        shape.shape = kinds[kind(random)];
        shape.backOpaque = opaque;
        return shape;
    };

    WindowlessLayer layer;
    LayerCache cache(layer);
    CacheFollower follower(cache);
    QList<ElementId> elements;
    for (int i = 0; i < 30; ++i) {
        const float left = coordinate(random), top = coordinate(random);
        elements.append(layer.addShape(randomShape(left, top, i % 2 == 0)));
        LineData line{coordinate(random),
                      coordinate(random),
                      coordinate(random),
                      coordinate(random),
                      color(),
                      quint8(width(random)),
                      true};
        elements.append(layer.addLine(line));
    }
    layer.addObserver(&follower);
    cache.rebuild(size, ratio, Qt::white);

    for (int edit = 0; edit < 300; ++edit) {
        const ElementId id =
            elements[std::uniform_int_distribution<int>(0, int(elements.size()) - 1)(random)];
        const float x = coordinate(random), y = coordinate(random);
        const bool shape = id.type() == ElementId::Shape;
        switch (action(random)) {
        case 0:
            layer.bringToFront(id);
            break;
        case 1:
            if (shape)
                layer.editShape(id.index(), [&](ShapeData &d) { d.left = x, d.top = y; });
            else
                layer.editLine(id.index(), [&](LineData &d) { d.x2 = x, d.y2 = y; });
            break;
        case 2:
            if (shape)
                layer.editShape(id.index(), [&](ShapeData &d) { d.backColor = color(); });
            else
                layer.editLine(id.index(), [&](LineData &d) { d.borderColor = color(); });
            break;
        case 3:
            if (shape)
                layer.editShape(id.index(), [](ShapeData &d) { d.visible = !d.visible; });
            else
                layer.editLine(id.index(), [](LineData &d) { d.visible = !d.visible; });
            break;
        case 4: {
            // Raised, then moved: the press of a drag that reshapes a buried figure.
            layer.bringToFront(id);
            if (shape)
                layer.editShape(id.index(), [&](ShapeData &d) { d.left = x, d.top = y; });
            else
                layer.editLine(id.index(), [&](LineData &d) { d.x1 = x, d.y1 = y; });
            break;
        }
        default: {
            elements.append(layer.addShape(randomShape(x, y, true)));
        }
        }
        if (edit % 5 == 4)
            QCOMPARE(fromCache(cache, size), fromScratch(layer, size, ratio));
    }
}

void tst_LayerCache::gridFindsEachElementOnce_data()
{
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("found");
    QTest::newRow("inside one cell") << QRect(10, 10, 5, 5) << QRect(0, 0, 64, 64) << true;
    QTest::newRow("across many cells") << QRect(10, 10, 300, 200) << QRect(0, 0, 400, 300) << true;
    QTest::newRow("area in a far cell")
        << QRect(10, 10, 300, 200) << QRect(250, 150, 10, 10) << true;
    QTest::newRow("beside the area") << QRect(10, 10, 50, 50) << QRect(61, 10, 20, 20) << false;
    QTest::newRow("past the left and top edges")
        << QRect(-500, -500, 520, 520) << QRect(0, 0, 30, 30) << true;
    QTest::newRow("past the right and bottom edges")
        << QRect(300, 200, 1000, 1000) << QRect(310, 210, 5, 5) << true;
    QTest::newRow("wholly outside the window")
        << QRect(-900, -900, 10, 10) << QRect(0, 0, 320, 240) << false;
    QTest::newRow("area past the edges")
        << QRect(0, 0, 320, 240) << QRect(-100, -100, 1000, 1000) << true;
}

void tst_LayerCache::gridFindsEachElementOnce()
{
    QFETCH(QRect, bounds);
    QFETCH(QRect, area);
    QFETCH(bool, found);
    SpatialGrid grid;
    grid.reset(QSize(320, 240));
    const ElementId element(ElementId::Shape, 3), other(ElementId::Line, 0);
    grid.insert(element, bounds);
    grid.insert(other, QRect(100, 100, 1, 1));
    grid.insert(other, QRect(200, 200, 1, 1)); // moved: only its new place counts
    QList<ElementId> seen;
    grid.forEachIntersecting(area, [&](ElementId id) { seen.append(id); });
    QCOMPARE(seen.count(element), found ? 1 : 0);
    QCOMPARE(seen.count(other), area.intersects(QRect(200, 200, 1, 1)) ? 1 : 0);

    grid.remove(element);
    QVERIFY(grid.boundsOf(element).isEmpty());
    seen.clear();
    grid.forEachIntersecting(area, [&](ElementId id) { seen.append(id); });
    QCOMPARE(seen.count(element), 0);
}

QTEST_MAIN(tst_LayerCache)
#include "tst_layercache.moc"
