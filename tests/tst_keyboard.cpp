// The whole window works from the keyboard: Tab order, arrows within the figure kinds, Space on
// the check box, keys on the sliders and the menu's access keys.

#include "formdriver.h"

class tst_Keyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tabVisitsTheControlsInOrder();
    void arrowsChooseTheFigureKind();
    void spaceTicksNewShape();
    void keysDrawWithoutTheMenu();

private:
    std::unique_ptr<Form1> form;
    Form1Controls *ui = nullptr;
};

void tst_Keyboard::init()
{
    form = std::make_unique<Form1>();
    form->Show();
    QVERIFY(QTest::qWaitForWindowActive(form->window()));
    ui = form->controls();
}

void tst_Keyboard::cleanup()
{
    form.reset();
}

void tst_Keyboard::tabVisitsTheControlsInOrder()
{
    ui->Option1->setFocus();
    QList<QWidget *> visited = {QApplication::focusWidget()};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget());
    }
    // The option group takes one Tab stop, at its selected button, as radio groups do.
    const QList<QWidget *> expected = {ui->Option1, ui->Check1, ui->HScroll(0), ui->HScroll(1),
                                       ui->HScroll(2), ui->HScroll1, ui->Option1};
    QCOMPARE(visited, expected);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), ui->HScroll1);
}

void tst_Keyboard::arrowsChooseTheFigureKind()
{
    ui->Option1->setFocus();
    const QList<OptionButton *> order = {ui->Option2, ui->Option3, ui->Option4};
    for (OptionButton *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(next->Value(), Vb::True);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(ui->Option3->Value(), Vb::True);
    QCOMPARE(ui->Option4->Value(), Vb::False);
}

void tst_Keyboard::spaceTicksNewShape()
{
    ui->Check1->setFocus();
    QTest::keyClick(ui->Check1, Qt::Key_Space);
    QCOMPARE(ui->Check1->Value(), vbChecked);
    QTest::keyClick(ui->Check1, Qt::Key_Space);
    QCOMPARE(ui->Check1->Value(), vbUnchecked);
}

// Everything but the drag itself chosen by keys: kind, colour, thickness, "New Shape".
void tst_Keyboard::keysDrawWithoutTheMenu()
{
    ui->Option1->setFocus();
    QTest::keyClick(ui->Option1, Qt::Key_Down);                 // Line
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // New Shape
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // red
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    for (int i = 0; i < 3; ++i)                                 // to the thickness
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ui->HScroll1);
    QTest::keyClick(ui->HScroll1, Qt::Key_PageDown);
    QTest::keyClick(ui->HScroll1, Qt::Key_Right);

    FormDriver driver(*form);
    driver.drag({1000, 3000}, {4000, 3000});
    QCOMPARE(ui->Line1.Count(), 2);
    QCOMPARE(ui->Line1(1).BorderColor(), RGB(255, 0, 0));
    QCOMPARE(ui->Line1(1).BorderWidth(), 3);
    QCOMPARE(ui->Label5.Caption(), QStringLiteral("3"));
    QCOMPARE(ui->ColorShape.BackColor(), RGB(255, 0, 0));
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
