// Reset throws the drawing away and restores the start state without ending the program.

#include "formdriver.h"
#include "startstate.h"

#include <QMenuBar>

class tst_Menu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void resetBeforeDrawing_data();
    void resetBeforeDrawing();
    void resetRestoresTheStartState();
    void resetReusesIndexes();
    void resetDuringADrag();
    void replacedWindowTakesNoMouse();

private:
    void triggerReset(bool byKey);

    std::unique_ptr<Form1> form;
    QImage startPicture;
};

void tst_Menu::init()
{
    form = std::make_unique<Form1>();
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form->window()));
    startPicture = FormDriver(*form).screen();
}

void tst_Menu::cleanup()
{
    form.reset();
}

void tst_Menu::triggerReset(bool byKey)
{
    QPointer<FormWindow> old = form->window();
    if (byKey) {
        old->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(old));
        QTest::keyClick(old, Qt::Key_R, Qt::AltModifier);
    } else {
        QMenuBar *bar = old->menuBar();
        QAction *reset = bar->actions().at(0);
        QCOMPARE(reset->text(), QStringLiteral("&Reset"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(reset).center());
    }
    QVERIFY(form->window());
    QVERIFY(form->window() != old);
    // The old window goes away once the command has returned.
    QTRY_VERIFY(old.isNull());
    QVERIFY(QTest::qWaitForWindowExposed(form->window()));
}

void tst_Menu::resetBeforeDrawing_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("menu click") << false;
    QTest::newRow("Alt+R") << true;
}

void tst_Menu::resetBeforeDrawing()
{
    QFETCH(bool, byKey);
    triggerReset(byKey);
    verifyStartState(*form, startPicture);
    triggerReset(byKey);
    verifyStartState(*form, startPicture);
}

void tst_Menu::resetRestoresTheStartState()
{
    FormDriver driver(*form);
    Form1Controls *ui = form->controls();
    ui->Check1->setChecked(true);
    QTest::keyClick(ui->HScroll(0), Qt::Key_End);
    QTest::keyClick(ui->HScroll(2), Qt::Key_PageDown);
    QTest::keyClick(ui->HScroll1, Qt::Key_End);
    OptionButton *options[] = {ui->Option1, ui->Option2, ui->Option3, ui->Option4};
    for (int i = 0; i < 200; ++i) {
        options[i % 4]->setChecked(true);
        const float x = 400 + (i * 37) % 4800, y = 2100 + (i * 53) % 2800;
        driver.drag({x, y}, {x + 700, y + 500});
    }
    // Reshape the start elements too.
    ui->Check1->setChecked(false);
    driver.drag({2000, 3000}, {2500, 3500});
    ui->Option2->setChecked(true);
    driver.drag({2000, 3000}, {2500, 3500});
    QCOMPARE(ui->Shape1.Count(), 151);
    QCOMPARE(ui->Line1.Count(), 51);

    triggerReset(false);
    verifyStartState(*form, startPicture);
}

void tst_Menu::resetReusesIndexes()
{
    FormDriver driver(*form);
    Form1Controls *ui = form->controls();
    ui->Check1->setChecked(true);
    ui->Option3->setChecked(true);
    driver.drag({1000, 2500}, {2000, 3000});
    driver.drag({1500, 2800}, {2500, 3800});
    ui->Option2->setChecked(true);
    driver.drag({1000, 4000}, {2000, 4500});
    const DrawingState before = form->drawingState();
    QCOMPARE(before.CurrentShape, 2);

    triggerReset(false);
    // Only the drag flag is cleared; every press sets the rest afresh before reading it.
    QCOMPARE(form->drawingState().StartX, before.StartX);
    QCOMPARE(form->drawingState().StartY, before.StartY);
    QCOMPARE(form->drawingState().CurrentShape, before.CurrentShape);
    QCOMPARE(form->drawingState().CurrentLine, before.CurrentLine);

    ui = form->controls();
    FormDriver fresh(*form);
    fresh.drag({3000, 3000}, {4000, 3500});
    QCOMPARE(ui->Shape1.Count(), 1);
    QCOMPARE(QRectF(ui->Shape1(0).Left(), ui->Shape1(0).Top(), ui->Shape1(0).Width(),
                    ui->Shape1(0).Height()),
             QRectF(3000, 3000, 1000, 500));
    ui->Check1->setChecked(true);
    fresh.drag({1000, 2500}, {1500, 2600});
    QCOMPARE(ui->Shape1.Count(), 2);
    QCOMPARE(form->drawingState().CurrentShape, 1);
}

void tst_Menu::resetDuringADrag()
{
    for (bool line : {false, true}) {
        FormDriver driver(*form);
        Form1Controls *ui = form->controls();
        (line ? ui->Option2 : ui->Option3)->setChecked(true);
        ui->Check1->setChecked(true);
        driver.press(1000, 2500);
        driver.move(2000, 3000);
        triggerReset(true);
        // The rest of the drag belongs to a window that is gone: nothing is drawn.
        driver.move(3000, 4000);
        driver.release(3000, 4000);
        verifyStartState(*form, startPicture);

        FormDriver fresh(*form);
        fresh.move(3500, 4500);
        fresh.release(3500, 4500);
        verifyStartState(*form, startPicture);
    }
}

// Events still queued for the window that Reset replaced, until it is deleted, reach no handler.
void tst_Menu::replacedWindowTakesNoMouse()
{
    form->controls()->Check1->setChecked(true);
    FormDriver(*form).drag({1000, 2500}, {2000, 3500});
    QPointer<FormSurface> replaced = FormDriver(*form).surface();
    form->controls()->mnuReset->trigger();
    QVERIFY(replaced);
    form->controls()->Check1->setChecked(true);

    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const QPointF at(Twips::toLogical(1500), Twips::toLogical(3000));
        QMouseEvent event(type, at, replaced->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(replaced, &event);
        QCOMPARE(form->drawingState().DragActive, Vb::False);
    }
    QCOMPARE(form->controls()->Shape1.Count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!replaced);
    form->controls()->Check1->setChecked(false);
    verifyStartState(*form, startPicture);
}

QTEST_MAIN(tst_Menu)
#include "tst_menu.moc"
