// The whole window works from the keyboard and speaks to screen readers: Tab order, arrows within
// the figure kinds, Space on the check box, keys on the sliders, and a name for every control.

#include "formdriver.h"

#include <QAccessible>
#include <QMenuBar>

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
    void f10EntersTheMenuBar_data();
    void f10EntersTheMenuBar();
    void controlsHaveAccessibleNames();

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
    // The focus chain follows the definition's tab indexes, the option buttons Tab skips included.
    const QList<QWidget *> chain = {ui->Option1,    ui->Option2,    ui->Option3,
                                    ui->Check1,     ui->HScroll(0), ui->HScroll(1),
                                    ui->HScroll(2), ui->HScroll1,   ui->Option4};
    for (qsizetype i = 1; i < chain.size(); ++i)
        QCOMPARE(chain[i - 1]->nextInFocusChain(), chain[i]);

    ui->Option1->setFocus();
    QList<QWidget *> visited = {QApplication::focusWidget()};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget());
    }
    // The option group takes one Tab stop, at its selected button, as radio groups do.
    const QList<QWidget *> expected = {ui->Option1,    ui->Check1,   ui->HScroll(0), ui->HScroll(1),
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
    QTest::keyClick(ui->Option1, Qt::Key_Down);                // Line
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // New Shape
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // red
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    for (int i = 0; i < 3; ++i) // to the thickness
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

void tst_Keyboard::f10EntersTheMenuBar_data()
{
    QTest::addColumn<int>("presses");
    QTest::newRow("once") << 1;
    // Pressed again on the menu bar, F10 leaves the control to return to as it was.
    QTest::newRow("twice") << 2;
}

// F10 moves to the menu bar, as in GNOME's applications, and Escape hands the focus back; the
// arrows meanwhile move along the menu bar, not the slider that had the focus.
void tst_Keyboard::f10EntersTheMenuBar()
{
    QFETCH(int, presses);
    QMenuBar *menuBar = form->window()->menuBar();
    ui->HScroll1->setFocus();
    for (int press = 0; press < presses; ++press)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    QCOMPARE(QApplication::focusWidget(), menuBar);
    QCOMPARE(menuBar->activeAction(), ui->mnuReset);
    QTest::keyClick(menuBar, Qt::Key_Right);
    QCOMPARE(menuBar->activeAction(), ui->mnuExit);
    QTest::keyClick(menuBar, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), ui->HScroll1);
    QCOMPARE(menuBar->activeAction(), nullptr);
    QCOMPARE(ui->HScroll1->Value(), 1);
    QTest::keyClick(ui->HScroll1, Qt::Key_Right);
    QCOMPARE(ui->HScroll1->Value(), 2);
}

void tst_Keyboard::controlsHaveAccessibleNames()
{
    const QList<std::pair<QWidget *, QString>> widgets = {{ui->Frame1, "Shape?"},
                                                          {ui->Option1, "Circle"},
                                                          {ui->Option2, "Line"},
                                                          {ui->Option3, "Rectangle"},
                                                          {ui->Option4, "Rounded Rectangle"},
                                                          {ui->Check1, "New Shape"},
                                                          {ui->HScroll(0), "Red"},
                                                          {ui->HScroll(1), "Green"},
                                                          {ui->HScroll(2), "Blue"},
                                                          {ui->HScroll1, "Border Thickness"}};
    for (const auto &[widget, name] : widgets) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
    }

    // The frame's caption, then the canvas, the windowless labels and the swatch, are children of
    // the client area, after its windowed controls and in their stacking order; the figures drawn
    // are not, but the canvas counts them.
    ui->Check1->setChecked(true);
    FormDriver driver(*form);
    for (int i = 0; i < 3; ++i)
        driver.drag({600.0f + 300 * i, 2400}, {1500.0f + 300 * i, 3600});
    QAccessibleInterface *client = QAccessible::queryAccessibleInterface(form->window()->surface());
    QVERIFY(client);
    QHash<QString, QAccessibleInterface *> children;
    QStringList windowless;
    for (int i = 0; i < client->childCount(); ++i) {
        QAccessibleInterface *child = client->child(i);
        QVERIFY(child && child->isValid());
        QCOMPARE(client->indexOfChild(child), i);
        children.insert(child->text(QAccessible::Name), child);
        if (!child->object())
            windowless.append(child->text(QAccessible::Name));
    }
    QCOMPARE(windowless,
             QStringList({"Shape?", "Canvas", "R", "G", "B", "Color preview", "Color?", "1",
                          "Border Thickness"}));
    for (const char *caption : {"Shape?", "R", "G", "B", "Color?", "1", "Border Thickness"})
        QCOMPARE(children.value(caption)->role(), QAccessible::StaticText);
    QAccessibleInterface *canvas = children.value(QStringLiteral("Canvas"));
    QCOMPARE(canvas->role(), QAccessible::Canvas);
    QCOMPARE(canvas->text(QAccessible::Description),
             QStringLiteral("3 circles, 1 line, 1 rectangle"));
    QAccessibleInterface *swatch = children.value(QStringLiteral("Color preview"));
    QVERIFY(swatch);
    QCOMPARE(swatch->role(), QAccessible::Graphic);
    QCOMPARE(swatch->text(QAccessible::Description), QStringLiteral("red 0, green 0, blue 0"));
    const QPoint origin = form->window()->surface()->mapToGlobal(QPoint(0, 0));
    QCOMPARE(swatch->rect(), QRect(320, 32, 49, 49).translated(origin));
    QCOMPARE(canvas->rect(), QRect(20, 133, 333, 200).translated(origin));
    QCOMPARE(swatch->parent(), client);
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
