// The windowless layer and the control arrays built on it, without a window.

#include "controlarray.h"
#include "windowlesscontrols.h"

#include <QTest>

namespace {

class RecordingObserver : public LayerObserver
{
public:
    void elementAboutToChange(ElementId id) override { changes.append({id, false}); }
    void elementChanged(ElementId id) override { changes.append({id, true}); }
    void elementAdded(ElementId id) override { added.append(id); }
    QList<ElementId> added;
    QList<std::pair<ElementId, bool>> changes;
};

QList<ElementId> stackingOrder(const WindowlessLayer &layer)
{
    QList<ElementId> order;
    layer.forEachInStackingOrder([&](ElementId id) { order.append(id); });
    return order;
}

} // namespace

class tst_WindowlessLayer : public QObject
{
    Q_OBJECT

private slots:
    void zOrderBringsToFront_data();
    void zOrderBringsToFront();
    void loadCopiesTheLowestElement();
    void everyWriteIsAnnounced();
    void labelAtFindsTheTopmostLabel();
};

void tst_WindowlessLayer::zOrderBringsToFront_data()
{
    QTest::addColumn<int>("elements");
    QTest::addColumn<QList<int>>("raised");
    QTest::newRow("raise the bottom") << 3 << QList<int>{0};
    QTest::newRow("raise the top: no change") << 3 << QList<int>{2};
    QTest::newRow("raise each in turn") << 4 << QList<int>{0, 1, 2, 3};
    // Enough raises of the same few elements to squeeze the stacking order many times over.
    QList<int> many;
    for (int i = 0; i < 500; ++i)
        many.append((i * 7) % 5);
    QTest::newRow("many raises") << 5 << many;
}

void tst_WindowlessLayer::zOrderBringsToFront()
{
    QFETCH(int, elements);
    QFETCH(QList<int>, raised);

    WindowlessLayer layer;
    QList<ElementId> ids;
    for (int i = 0; i < elements; ++i)
        ids.append(i % 2 ? layer.addLine({}) : layer.addShape({}));
    // Follow the raises in a plain list and compare.
    QList<ElementId> model = ids;
    for (int index : raised) {
        layer.bringToFront(ids[index]);
        model.removeOne(ids[index]);
        model.append(ids[index]);
    }
    QCOMPARE(stackingOrder(layer), model);
    QCOMPARE(layer.topmost(), model.last());
    for (qsizetype i = 1; i < model.size(); ++i)
        QVERIFY(layer.stackingPosition(model[i - 1]) < layer.stackingPosition(model[i]));
}

void tst_WindowlessLayer::loadCopiesTheLowestElement()
{
    WindowlessLayer layer;
    ControlArray<ShapeControl> shapes;
    ShapeData opaqueAndThick;
    opaqueAndThick.backOpaque = true;
    opaqueAndThick.borderWidth = 3;
    shapes.assign(0, ShapeControl(&layer, layer.addShape(opaqueAndThick)));
    ShapeControl first = shapes(0);
    first.setShape(ShapeOval);
    first.setBackColor(RGB(1, 2, 3));
    first.setBorderColor(RGB(4, 5, 6));
    first.setFillColor(RGB(7, 8, 9));
    first.setLeft(100);
    first.setTop(200);
    first.setWidth(300);
    first.setHeight(400);

    shapes.Load(1);
    QCOMPARE(shapes.Count(), 2);
    const ShapeControl copy = shapes(1);
    QCOMPARE(copy.Visible(), Vb::False);
    QCOMPARE(copy.Shape(), ShapeOval);
    QCOMPARE(copy.BackColor(), RGB(1, 2, 3));
    QCOMPARE(copy.BorderColor(), RGB(4, 5, 6));
    QCOMPARE(copy.FillColor(), RGB(7, 8, 9));
    QCOMPARE(copy.BackStyle(), 1);
    QCOMPARE(copy.BorderWidth(), 3);
    QCOMPARE(QRectF(copy.Left(), copy.Top(), copy.Width(), copy.Height()),
             QRectF(100, 200, 300, 400));
    // A new element is a separate control, on top of the stack.
    QVERIFY(copy.id() != first.id());
    QCOMPARE(layer.topmost(), copy.id());
    first.setLeft(0);
    QCOMPARE(shapes(1).Left(), 100);

    ControlArray<LineControl> lines;
    lines.assign(0, LineControl(&layer, layer.addLine({10, 20, 30, 40, RGB(9, 9, 9), 5, true})));
    lines.Load(1);
    QCOMPARE(lines(1).X2(), 30);
    QCOMPARE(lines(1).BorderWidth(), 5);
    QCOMPARE(lines(1).BorderColor(), RGB(9, 9, 9));
    QCOMPARE(lines(1).Visible(), Vb::False);
}

void tst_WindowlessLayer::everyWriteIsAnnounced()
{
    WindowlessLayer layer;
    RecordingObserver observer;
    layer.addObserver(&observer);
    ShapeControl shape(&layer, layer.addShape({}));
    LineControl line(&layer, layer.addLine({}));
    shape.setLeft(10);
    line.setX2(20);
    shape.ZOrder();
    line.ZOrder();
    const QList<std::pair<ElementId, bool>> expected = {{shape.id(), false}, {shape.id(), true},
                                                        {line.id(), false},  {line.id(), true},
                                                        {shape.id(), false}, {shape.id(), true},
                                                        {line.id(), false},  {line.id(), true}};
    QCOMPARE(observer.changes, expected);
    QCOMPARE(observer.added, (QList<ElementId>{shape.id(), line.id()}));
}

void tst_WindowlessLayer::labelAtFindsTheTopmostLabel()
{
    WindowlessLayer layer;
    LabelData data;
    data.left = 100;
    data.top = 100;
    data.width = 200;
    data.height = 100;
    LabelControl lower(&layer, layer.addLabel(data));
    data.left = 200;
    LabelControl upper(&layer, layer.addLabel(data));
    QCOMPARE(layer.labelAt(150, 150), lower.id());
    QCOMPARE(layer.labelAt(250, 150), upper.id());
    QVERIFY(layer.labelAt(99, 150).isNull());
    QVERIFY(layer.labelAt(150, 200).isNull());
    layer.bringToFront(lower.id());
    QCOMPARE(layer.labelAt(250, 150), lower.id());
}

QTEST_APPLESS_MAIN(tst_WindowlessLayer)
#include "tst_windowlesslayer.moc"
