// Exit ends the program at once with status 0, and so does closing the window. Each way runs in
// a process of its own, since a program can end only once.

#include "formdriver.h"

#include <QMenuBar>
#include <QTimer>

class tst_Exit : public QObject
{
    Q_OBJECT

private slots:
    void exitByMenuClick();
    void exitByAccessKeyDuringADrag();
    void closingTheWindowEndsTheProgram();

private:
    void verifyEnded(Form1 &form, int status);
};

void tst_Exit::verifyEnded(Form1 &form, int status)
{
    QCOMPARE(status, 0);
    QVERIFY(Form::hasEnded());
    // No handler of the program runs any more: a press on the canvas draws nothing.
    FormDriver driver(form);
    const int figures = form.controls()->Shape1.Count();
    const Boolean dragActive = form.drawingState().DragActive;
    form.controls()->Check1->setChecked(true);
    driver.press(1000, 2500);
    QCOMPARE(form.drawingState().DragActive, dragActive);
    driver.move(2000, 3000);
    driver.release(2000, 3000);
    QCOMPARE(form.controls()->Shape1.Count(), figures);
    QCOMPARE(form.drawingState().DragActive, dragActive);
}

void tst_Exit::exitByMenuClick()
{
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    QMenuBar *bar = form.window()->menuBar();
    QAction *exit = bar->actions().at(1);
    QCOMPARE(exit->text(), QStringLiteral("&Exit"));
    QTimer::singleShot(0, bar, [&] {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(exit).center());
    });
    verifyEnded(form, QApplication::exec());
}

void tst_Exit::exitByAccessKeyDuringADrag()
{
    Form1 form;
    form.Show();
    FormWindow *window = form.window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    FormDriver driver(form);
    QTimer::singleShot(0, window, [&] {
        driver.press(1000, 2500);
        driver.move(2000, 3000);
        QTest::keyClick(window, Qt::Key_E, Qt::AltModifier);
        driver.move(2500, 3500);
        driver.release(2500, 3500);
    });
    const int status = QApplication::exec();
    // The drag's last move came after Exit and changed nothing.
    QCOMPARE(form.controls()->Shape1(0).Width(), 1000);
    verifyEnded(form, status);
}

void tst_Exit::closingTheWindowEndsTheProgram()
{
    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    QPointer<FormWindow> window = form.window();
    QTimer::singleShot(0, window, [&] { window->close(); });
    // A program that went on running would be stopped here with another status.
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(3); });
    QCOMPARE(QApplication::exec(), 0);
    // The form unloaded: its window and every control on it are gone.
    QVERIFY(!form.window());
    QVERIFY(!form.controls());
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(tst_Exit)
#include "tst_exit.moc"
