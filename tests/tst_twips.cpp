// Twips become logical and device pixels in one place; positions snap to whole device pixels at
// every pixel ratio, so edges stay crisp and a drawn box covers exactly the pixels it should.

#include "twips.h"

#include <QTest>

class tst_Twips : public QObject
{
    Q_OBJECT

private slots:
    void toDeviceRounds_data();
    void toDeviceRounds();
    void boxSnapsToDevicePixels_data();
    void boxSnapsToDevicePixels();
    void deviceAndLogicalRectangles_data();
    void deviceAndLogicalRectangles();
    void fontSizes();
};

void tst_Twips::toDeviceRounds_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("pixels");
    QTest::newRow("canvas left at 1") << 300.0f << 1.0 << 20;
    QTest::newRow("canvas left at 1.5") << 300.0f << 1.5 << 30;
    QTest::newRow("canvas left at 2") << 300.0f << 2.0 << 40;
    QTest::newRow("canvas right at 1") << 5300.0f << 1.0 << 353;
    QTest::newRow("canvas right at 1.5") << 5300.0f << 1.5 << 530;
    QTest::newRow("canvas right at 2") << 5300.0f << 2.0 << 707;
    QTest::newRow("half a pixel rounds away from zero") << 7.5f << 1.0 << 1;
    QTest::newRow("below half rounds down") << 7.0f << 1.0 << 0;
    QTest::newRow("negative") << -22.5f << 1.0 << -2;
    QTest::newRow("a third of a pixel at 1.5") << 5.0f << 1.5 << 1;
}

void tst_Twips::toDeviceRounds()
{
    QFETCH(float, twips);
    QFETCH(qreal, ratio);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toDevice(twips, ratio), pixels);
}

void tst_Twips::boxSnapsToDevicePixels_data()
{
    QTest::addColumn<QRectF>("twips");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QRect>("device");
    QTest::newRow("start square at 1") << QRectF(300, 2000, 15, 15) << 1.0 << QRect(20, 133, 1, 1);
    QTest::newRow("start square at 1.5")
        << QRectF(300, 2000, 15, 15) << 1.5 << QRect(30, 200, 2, 2);
    QTest::newRow("start square at 2") << QRectF(300, 2000, 15, 15) << 2.0 << QRect(40, 267, 2, 2);
    QTest::newRow("canvas at 1.5")
        << QRectF(300, 2000, 5000, 3000) << 1.5 << QRect(30, 200, 500, 300);
    // Neighbouring boxes share their edge at any ratio: no gap, no overlap.
    QTest::newRow("box after a fractional edge")
        << QRectF(310, 2000, 20, 20) << 1.5 << QRect(31, 200, 2, 2);
    QTest::newRow("empty box is still a dot")
        << QRectF(1000, 3000, 0, 0) << 2.0 << QRect(133, 400, 1, 1);
}

void tst_Twips::boxSnapsToDevicePixels()
{
    QFETCH(QRectF, twips);
    QFETCH(qreal, ratio);
    QFETCH(QRect, device);
    QCOMPARE(Twips::toDeviceBox(float(twips.x()), float(twips.y()), float(twips.width()),
                                float(twips.height()), ratio),
             device);
}

void tst_Twips::deviceAndLogicalRectangles_data()
{
    QTest::addColumn<QRect>("device");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QRect>("logical");
    QTest::newRow("whole pixels at 1") << QRect(10, 20, 30, 40) << 1.0 << QRect(10, 20, 30, 40);
    QTest::newRow("covers odd pixels at 2") << QRect(3, 5, 3, 1) << 2.0 << QRect(1, 2, 2, 1);
    QTest::newRow("covers thirds at 1.5") << QRect(1, 1, 1, 1) << 1.5 << QRect(0, 0, 2, 2);
    QTest::newRow("empty stays empty") << QRect() << 1.5 << QRect();
}

// A repaint asked for in logical pixels must cover every device pixel that changed, and the
// logical rectangle it asks for maps back over at least those pixels.
void tst_Twips::deviceAndLogicalRectangles()
{
    QFETCH(QRect, device);
    QFETCH(qreal, ratio);
    QFETCH(QRect, logical);
    const QRect asked = Twips::deviceToLogical(device, ratio);
    QCOMPARE(asked, logical);
    if (!device.isEmpty())
        QVERIFY(Twips::logicalToDevice(asked, ratio).contains(device));
}

void tst_Twips::fontSizes()
{
    QCOMPARE(Twips::fontPixelSize(12), 16);
    QCOMPARE(Twips::fontPixelSize(13.5), 18);
    QCOMPARE(Twips::fontPixelSize(8.25), 11);
    const QRect widget = Twips::toLogicalRect(360, 1080, 1095, 375);
    QCOMPARE(widget, QRect(24, 72, 73, 25));
}

QTEST_APPLESS_MAIN(tst_Twips)
#include "tst_twips.moc"
