// The window at the device pixel ratio that QT_SCALE_FACTOR sets for the run: the layout keeps
// its proportions and figures land on whole device pixels where they belong.

#include "formdriver.h"

#include <QAccessible>

namespace {

// Where things land in device pixels, worked out by hand from their twips: 15 twips to a logical
// pixel, times the ratio, halves rounded away from zero.
struct DevicePixels
{
    qreal ratio;
    QRect frame;       // the canvas frame, (300, 2000) to (5300, 5000)
    QRect square;      // a copy of the start square, 15 x 15 twips at (2000, 3000)
    QRect box;         // a box from (1005, 2505) to (3000, 4005)
    QPoint lineMiddle; // (2002, 3255)
    int leftOfLine;    // x of 930 twips
};

const DevicePixels atRatios[] = {
    {1, {20, 133, 333, 200}, {133, 200, 1, 1}, {67, 167, 133, 100}, {133, 217}, 62},
    {1.5, {30, 200, 500, 300}, {200, 300, 2, 2}, {101, 251, 199, 150}, {200, 326}, 93},
    {2, {40, 267, 667, 400}, {267, 400, 2, 2}, {134, 334, 266, 200}, {267, 434}, 124},
};

// Where the frame round the figure kinds, (240, 120) to (1575, 1575) twips, shows its outline:
// the first and last device pixels of its box, from 16 to 105 logical pixels across and down to
// 105, scaled with halves rounded up, and the width of every edge, a logical pixel scaled and
// rounded.
struct OptionFrame
{
    qreal ratio;
    int left, right, bottom, edge;
};
const OptionFrame optionFrames[] = {{1, 16, 104, 104, 1},
                                    {1.5, 24, 157, 157, 2},
                                    {2, 32, 209, 209, 2}};

// What a screen reader is told of the swatch, (4800, 480, 735, 735) twips, and of the thickness
// number's box, (4560, 1680, 375, 255): whole logical pixels that hold every device pixel of them.
struct ScreenReaderBoxes
{
    qreal ratio;
    QRect swatch, thicknessNumber;
};
const ScreenReaderBoxes screenReaderBoxes[] = {
    {1, {320, 32, 49, 49}, {304, 112, 25, 17}},
    {1.5, {320, 32, 50, 50}, {304, 112, 26, 18}},
    {2, {320, 32, 49, 49}, {304, 112, 25, 17}},
};

template <class Row, std::size_t Size> const Row *rowFor(const Row (&rows)[Size], qreal ratio)
{
    for (const Row &row : rows) {
        if (qFuzzyCompare(row.ratio, ratio))
            return &row;
    }
    return nullptr;
}

// The smallest rectangle that holds every pixel of the area that is not white.
QRect inkWithin(const QImage &image, const QRect &area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != Qt::white)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

} // namespace

class tst_HighDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layoutScales();
    void frameAndSquareOnWholePixels();
    void figuresAreCrisp_data();
    void figuresAreCrisp();
    void firstFrameMatchesLaterFrames();
    void optionFrameWhole();
    void screenReaderBoxesInLogicalPixels();

private:
    qreal expectedRatio() const
    {
        const qreal factor =
            qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        return factor > 0 ? factor : 1;
    }
    const DevicePixels *expected = nullptr;
};

void tst_HighDpi::initTestCase()
{
    expected = rowFor(atRatios, expectedRatio());
    QVERIFY2(expected, "no expected device pixels for this QT_SCALE_FACTOR");
}

void tst_HighDpi::layoutScales()
{
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    FormSurface *surface = form.window()->surface();
    QCOMPARE(surface->devicePixelRatioF(), expectedRatio());
    // Logical sizes stay those of the definition; Qt scales them.
    QCOMPARE(surface->size(), QSize(373, 350));
    QCOMPARE(form.controls()->HScroll(0)->geometry(), QRect(112, 32, 185, 17));
    const QImage screen = surface->grab().toImage();
    QCOMPARE(screen.size(), (QSizeF(373, 350) * expectedRatio()).toSize());
}

// The frame's outer edge, and the size of the start square that a new shape copies, fall on the
// device pixels their twips give, at every ratio.
void tst_HighDpi::frameAndSquareOnWholePixels()
{
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    FormDriver driver(form);
    QCOMPARE(inkWithin(form.window()->surface()->grab().toImage(),
                       expected->frame.adjusted(-3, -3, 3, 3)),
             expected->frame);

    form.controls()->Option3->setChecked(true);
    form.controls()->Check1->setChecked(true);
    driver.press(2000, 3000);
    driver.release(2000, 3000);
    QCOMPARE(inkWithin(form.window()->surface()->grab().toImage(),
                       expected->square.adjusted(-4, -4, 4, 4)),
             expected->square);
}

void tst_HighDpi::figuresAreCrisp_data()
{
    QTest::addColumn<FigureKind>("kind");
    QTest::newRow("rectangle") << FigureKind::Rectangle;
    QTest::newRow("line") << FigureKind::Line;
}

void tst_HighDpi::figuresAreCrisp()
{
    QFETCH(FigureKind, kind);
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    Form1Controls *ui = form.controls();
    FormDriver driver(form);
    ui->Check1->setChecked(true);
    ui->HScroll(0)->setValue(255);
    ui->HScroll1->setValue(4);
    ui->optionFor(kind)->setChecked(true);
    driver.drag({1005, 2505}, {3000, 4005});

    // The surface as its own paint path draws it, cache and all, at the run's pixel ratio.
    const QImage screen = form.window()->surface()->grab().toImage();
    QCOMPARE(screen.devicePixelRatio(), expectedRatio());
    const QColor red(255, 0, 0);
    if (kind == FigureKind::Line) {
        // Four pixels wide at ratio 1, scaled with the screen; the middle of the line is red.
        QCOMPARE(screen.pixelColor(expected->lineMiddle), red);
        QCOMPARE(screen.pixelColor(expected->leftOfLine, expected->lineMiddle.y()), Qt::white);
        return;
    }
    const QRect &box = expected->box;
    const int left = box.left(), top = box.top(), right = box.right() + 1,
              bottom = box.bottom() + 1;
    for (int y : {top, (top + bottom) / 2, bottom - 1}) {
        QCOMPARE(screen.pixelColor(left, y), red);
        QCOMPARE(screen.pixelColor(left - 1, y), Qt::white);
        QCOMPARE(screen.pixelColor(right - 1, y), red);
        QCOMPARE(screen.pixelColor(right, y), Qt::white);
    }
    QCOMPARE(screen.pixelColor((left + right) / 2, top - 1), Qt::white);
    QCOMPARE(screen.pixelColor((left + right) / 2, bottom), Qt::white);
}

// A new window is drawn straight from its elements; from the first drag on, from the cached
// picture. Beside the canvas nothing may change between the two, wherever the menu bar puts the
// client area's origin in device pixels.
void tst_HighDpi::firstFrameMatchesLaterFrames()
{
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    const QImage first = form.window()->grab().toImage();
    FormDriver(form).drag({1005, 2505}, {3000, 4005});
    const QImage later = form.window()->grab().toImage();
    QCOMPARE(later.size(), first.size());

    const qreal ratio = expectedRatio();
    const QPointF origin =
        QPointF(form.window()->surface()->mapTo(form.window(), QPoint())) * ratio;
    const QRect changed =
        QRectF(expected->frame).translated(origin).toAlignedRect().adjusted(-1, -1, 1, 1);
    int differing = 0;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            if (!changed.contains(x, y) && first.pixel(x, y) != later.pixel(x, y))
                ++differing;
        }
    }
    QCOMPARE(differing, 0);
    // The drag did reach the picture.
    QVERIFY(first != later);
}

// The frame round the figure kinds shows every edge, down to the last column and row of its box.
void tst_HighDpi::optionFrameWhole()
{
    const OptionFrame *frame = rowFor(optionFrames, expectedRatio());
    QVERIFY(frame);
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    const QImage screen = form.window()->surface()->grab().toImage();
    const int left = frame->left, right = frame->right, bottom = frame->bottom;
    // Within three pixels beside and below the frame lies only the form's white free area.
    const QRect ink =
        inkWithin(screen, QRect(QPoint(left - 3, bottom / 2), QPoint(right + 3, bottom + 3)));
    QCOMPARE(ink, QRect(QPoint(left, ink.top()), QPoint(right, bottom)));
    const auto inked = [&screen](int x, int y) { return screen.pixelColor(x, y) != Qt::white; };
    for (int y = bottom / 2; y <= bottom - frame->edge; ++y) {
        for (int step = 0; step < frame->edge; ++step)
            QVERIFY2(inked(left + step, y) && inked(right - step, y),
                     qPrintable(QString::number(y)));
        QVERIFY2(!inked(left + frame->edge, y) && !inked(right - frame->edge, y),
                 qPrintable(QString::number(y)));
    }
    for (int x = left + frame->edge; x <= right - frame->edge; ++x) {
        for (int step = 0; step < frame->edge; ++step)
            QVERIFY2(inked(x, bottom - step), qPrintable(QString::number(x)));
        QVERIFY2(!inked(x, bottom - frame->edge), qPrintable(QString::number(x)));
    }
}

// A screen reader, and a magnifier that follows it, is told where the windowless controls are in
// the same logical pixels as the windowed ones, at any ratio.
void tst_HighDpi::screenReaderBoxesInLogicalPixels()
{
    const ScreenReaderBoxes *boxesFor = rowFor(screenReaderBoxes, expectedRatio());
    QVERIFY(boxesFor);
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    QAccessibleInterface *client = QAccessible::queryAccessibleInterface(form.window()->surface());
    QVERIFY(client);
    QHash<QString, QRect> boxes;
    for (int i = 0; i < client->childCount(); ++i)
        boxes.insert(client->child(i)->text(QAccessible::Name), client->child(i)->rect());
    const QPoint origin = form.window()->surface()->mapToGlobal(QPoint(0, 0));
    QCOMPARE(boxes.value(QStringLiteral("Color preview")), boxesFor->swatch.translated(origin));
    QCOMPARE(boxes.value(QStringLiteral("1")), boxesFor->thicknessNumber.translated(origin));
    QCOMPARE(boxes.value(QStringLiteral("Red")), QRect(112, 32, 185, 17).translated(origin));
}

QTEST_MAIN(tst_HighDpi)
#include "tst_hidpi.moc"
