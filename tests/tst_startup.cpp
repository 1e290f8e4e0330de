#include "startup.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void styleDrawsTheSameIcons_data();
    void styleDrawsTheSameIcons();
    void overflowButtonLooksTheSame();
    void iconOutlivesItsStyle();
    void workWaitsForTheFirstFrame();
    void workRunsWhenNoWindowIsExposed();
};

namespace {

// The icon as a pixmap at the pixel ratio, and as painted into a box of that size.
QList<QImage> pictures(const QIcon &icon, int side, qreal ratio)
{
    QImage painted(side, side, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    QPainter painter(&painted);
    icon.paint(&painter, painted.rect());
    painter.end();
    return {icon.pixmap(QSize(side, side), ratio).toImage(), painted};
}

// A window whose menu bar is too narrow for its entries, so that it shows its overflow button.
QImage overflowButton(QStyle *style)
{
    QApplication::setStyle(style);
    QMainWindow window;
    for (const char *entry : {"&Reset", "&Exit", "&Again", "&Once more", "&And again"})
        window.menuBar()->addAction(QString::fromLatin1(entry));
    window.resize(120, 80);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return {};
    auto *button = window.menuBar()->findChild<QToolButton *>();
    if (!button || !button->isVisible())
        return {};
    return button->grab().toImage();
}

} // namespace

void tst_Startup::styleDrawsTheSameIcons_data()
{
    QTest::addColumn<QStyle::StandardPixmap>("which");
    QTest::addColumn<int>("side");
    QTest::addColumn<qreal>("ratio");
    const auto overflow = QStyle::SP_ToolBarHorizontalExtensionButton;
    QTest::newRow("overflow, 16") << overflow << 16 << 1.0;
    QTest::newRow("overflow, 16 at ratio 2") << overflow << 16 << 2.0;
    QTest::newRow("overflow, 32") << overflow << 32 << 1.0;
    QTest::newRow("overflow, 20 at ratio 1.5") << overflow << 20 << 1.5;
    QTest::newRow("message box") << QStyle::SP_MessageBoxCritical << 32 << 1.0;
    QTest::newRow("arrow") << QStyle::SP_ArrowRight << 16 << 2.0;
}

void tst_Startup::styleDrawsTheSameIcons()
{
    QFETCH(QStyle::StandardPixmap, which);
    QFETCH(int, side);
    QFETCH(qreal, ratio);
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    DeferredIconStyle deferred(QStyleFactory::create(QStringLiteral("Fusion")));
    const QIcon expected = fusion->standardIcon(which);
    const QIcon icon = deferred.standardIcon(which);
    QVERIFY(!expected.isNull());
    QCOMPARE(pictures(icon, side, ratio), pictures(expected, side, ratio));
    QCOMPARE(icon.actualSize(QSize(side, side)), expected.actualSize(QSize(side, side)));
    QCOMPARE(icon.availableSizes(), expected.availableSizes());
    // A copy that goes its own way draws the same.
    QIcon copy = icon;
    copy.detach();
    QCOMPARE(pictures(copy, side, ratio), pictures(expected, side, ratio));
}

void tst_Startup::overflowButtonLooksTheSame()
{
    const QImage expected = overflowButton(QStyleFactory::create(QStringLiteral("Fusion")));
    QVERIFY(!expected.isNull());
    const QImage deferred =
        overflowButton(new DeferredIconStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    QVERIFY(!deferred.isNull());
    QCOMPARE(deferred, expected);
}

void tst_Startup::iconOutlivesItsStyle()
{
    QIcon icon;
    {
        DeferredIconStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
        icon = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
    }
    // Nothing left to read it from: it draws nothing rather than reach a deleted style.
    QVERIFY(icon.pixmap(16).isNull());
}

void tst_Startup::workWaitsForTheFirstFrame()
{
    struct PaintCounter : QWidget
    {
        int paints = 0;
        void paintEvent(QPaintEvent *) override { ++paints; }
    } window;
    int runs = 0;
    int paintsBeforeRun = -1;
    QElapsedTimer clock;
    qint64 runAt = -1;
    runAfterFirstFrame(*qApp, [&] {
        ++runs;
        paintsBeforeRun = window.paints;
        runAt = clock.elapsed();
    });
    clock.start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(runs, 1);
    QVERIFY(paintsBeforeRun >= 1);
    // Right after the frame, well before the fallback for a window that is never exposed.
    QVERIFY2(runAt < 800, qPrintable(QString::number(runAt)));
    // Not again when the fallback's time comes.
    QTest::qWait(1200);
    QCOMPARE(runs, 1);
}

void tst_Startup::workRunsWhenNoWindowIsExposed()
{
    int runs = 0;
    QElapsedTimer clock;
    clock.start();
    runAfterFirstFrame(*qApp, [&] { ++runs; });
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
    QVERIFY(clock.elapsed() >= 900);
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
