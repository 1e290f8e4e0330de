// The window at the device pixel ratio that QT_SCALE_FACTOR sets for the run: the layout keeps
// its proportions and figures land on whole device pixels where they belong.

#include "canvas.h"
#include "formdriver.h"

class tst_HighDpi : public QObject
{
    Q_OBJECT

private slots:
    void layoutScales();
    void figuresAreCrisp_data();
    void figuresAreCrisp();
    void firstFrameMatchesLaterFrames();

private:
    qreal expectedRatio() const
    {
        const qreal factor =
            qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        return factor > 0 ? factor : 1;
    }
};

void tst_HighDpi::layoutScales()
{
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    FormSurface *surface = form.window()->surface();
    QCOMPARE(surface->devicePixelRatioF(), expectedRatio());
    // Logical sizes stay those of the definition; Qt scales them.
    QCOMPARE(surface->size(), QSize(373, 350));
    QCOMPARE(form.controls()->HScroll(0)->geometry(), Twips::toLogicalRect(1680, 480, 2775, 255));
    const QImage screen = surface->grab().toImage();
    QCOMPARE(screen.size(), (QSizeF(373, 350) * expectedRatio()).toSize());
}

void tst_HighDpi::figuresAreCrisp_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("rectangle") << int(ShapeRectangle);
    QTest::newRow("line") << -1;
}

void tst_HighDpi::figuresAreCrisp()
{
    QFETCH(int, kind);
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    Form1Controls *ui = form.controls();
    FormDriver driver(form);
    ui->Check1->setChecked(true);
    ui->HScroll(0)->setValue(255);
    ui->HScroll1->setValue(4);
    (kind < 0 ? ui->Option2 : ui->Option3)->setChecked(true);
    driver.drag({1005, 2505}, {3000, 4005});

    const qreal ratio = expectedRatio();
    // The surface as its own paint path draws it, cache and all, at the run's pixel ratio.
    const QImage screen = form.window()->surface()->grab().toImage();
    QCOMPARE(screen.devicePixelRatio(), ratio);
    const auto device = [ratio](float twips) { return Twips::toDevice(twips, ratio); };
    const QColor red(255, 0, 0);
    if (kind < 0) {
        // Four pixels wide at ratio 1, scaled with the screen; the middle of the line is red.
        const int x = device(2002), y = device(3255);
        QCOMPARE(screen.pixelColor(x, y), red);
        QCOMPARE(screen.pixelColor(device(1005) - device(75), device(3255)), Qt::white);
        return;
    }
    const int left = device(1005), top = device(2505), right = device(3000), bottom = device(4005);
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
    const QPoint origin = form.window()->surface()->mapTo(form.window(), QPoint());
    const QRect canvas =
        Twips::toLogicalRect(Canvas::Left, Canvas::Top, Canvas::Width, Canvas::Height)
            .translated(origin);
    const QRect changed = QRectF(QRectF(canvas).topLeft() * ratio, QRectF(canvas).size() * ratio)
                              .toAlignedRect()
                              .adjusted(-1, -1, 1, 1);
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

QTEST_MAIN(tst_HighDpi)
#include "tst_hidpi.moc"
