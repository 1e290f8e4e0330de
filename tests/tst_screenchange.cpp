// The window moved to a screen of another pixel ratio while figures are on it and while a figure
// is being dragged: what the screen shows of the canvas after each drag, bit by bit as each
// repaint left it, is what a paint from scratch gives at the new ratio. Runs on two offscreen
// screens side by side, which Qt scales by 1 and 2.

#include "formdriver.h"

#include <QBackingStore>

class tst_ScreenChange : public QObject
{
    Q_OBJECT

private slots:
    void movingToAnotherScreenRepaintsExactly();

private:
    static void moveTo(FormWindow *window, const QString &screenName);
    // The client area as the window's backing store holds it, which is what the offscreen
    // platform's screen shows: each repaint changes only the part it was asked to.
    static QImage shown(const FormDriver &driver)
    {
        QCoreApplication::processEvents();
        FormSurface *surface = driver.surface();
        QPaintDevice *device = surface->window()->backingStore()->paintDevice();
        if (device->devType() != QInternal::Image)
            return {};
        const qreal ratio = surface->devicePixelRatioF();
        const QRect area(surface->mapTo(surface->window(), QPoint(0, 0)), surface->size());
        QImage image = static_cast<QImage *>(device)
                           ->copy(Twips::logicalToDevice(area, ratio))
                           .convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        return image;
    }
};

void tst_ScreenChange::moveTo(FormWindow *window, const QString &screenName)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == screenName)
            window->move(screen->geometry().topLeft() + QPoint(20, 20));
    }
    QCoreApplication::processEvents();
}

void tst_ScreenChange::movingToAnotherScreenRepaintsExactly()
{
    QCOMPARE(QGuiApplication::screens().size(), 2);
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    FormDriver driver(form);
    Form1Controls *ui = form.controls();
    moveTo(form.window(), QStringLiteral("standard"));
    QCOMPARE(driver.surface()->devicePixelRatioF(), 1.0);

    ui->Check1->setChecked(true);
    ui->Option4->setChecked(true);
    ui->HScroll(0)->setValue(200);
    driver.drag({600, 2300}, {2600, 4300});
    ui->Option2->setChecked(true);
    ui->HScroll1->setValue(6);
    driver.drag({500, 4800}, {5000, 2200});
    const QRect standardCanvas = driver.canvas();
    QCOMPARE(shown(driver).copy(standardCanvas), driver.rendered().copy(standardCanvas));

    // Moved in the middle of a drag: the drag goes on, painted at the new ratio.
    ui->Option3->setChecked(true);
    driver.press(3000, 2500);
    driver.move(3500, 3000);
    moveTo(form.window(), QStringLiteral("dense"));
    QCOMPARE(driver.surface()->devicePixelRatioF(), 2.0);
    driver.move(4000, 3500);
    driver.release(4000, 3500);
    QCOMPARE(ui->Shape1(2).Width(), 1000);
    const QRect denseCanvas = driver.canvas();
    QCOMPARE(shown(driver).copy(denseCanvas), driver.rendered().copy(denseCanvas));

    moveTo(form.window(), QStringLiteral("standard"));
    QCOMPARE(driver.surface()->devicePixelRatioF(), 1.0);
    driver.drag({1000, 4000}, {1500, 4500});
    QCOMPARE(shown(driver).copy(standardCanvas), driver.rendered().copy(standardCanvas));
}

QTEST_MAIN(tst_ScreenChange)
#include "tst_screenchange.moc"
