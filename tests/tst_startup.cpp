#include "startup.h"

#include <QTest>
#include <QWidget>

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void workWaitsForTheFirstFrame();
    void workRunsWhenNoWindowIsExposed();
};

void tst_Startup::workWaitsForTheFirstFrame()
{
    struct PaintCounter : QWidget
    {
        int paints = 0;
        void paintEvent(QPaintEvent *) override { ++paints; }
    } window;
    int runs = 0;
    int paintsBeforeRun = -1;
    runAfterFirstFrame(*qApp, [&] {
        ++runs;
        paintsBeforeRun = window.paints;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(runs, 1);
    QVERIFY(paintsBeforeRun >= 1);
    // Not again when the fallback for a window that is never exposed comes due.
    QTest::qWait(1200);
    QCOMPARE(runs, 1);
}

void tst_Startup::workRunsWhenNoWindowIsExposed()
{
    int runs = 0;
    runAfterFirstFrame(*qApp, [&] { ++runs; });
    QCOMPARE(runs, 0);
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
