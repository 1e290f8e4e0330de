// The drawing window as it starts: every control in its place with its start value.

#include "application.h"
#include "formdriver.h"
#include "startstate.h"

#include <QMenuBar>

class tst_Form1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startValues();
    void geometryInTwips_data();
    void geometryInTwips();
    void stacking();
    void optionButtonsFormOneGroup();
    void canvasPixels();
    void labelsSizeThemselves();
    void applicationDescribesItself();

private:
    std::unique_ptr<Form1> form;
};

void tst_Form1::init()
{
    form = std::make_unique<Form1>();
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form->window()));
}

void tst_Form1::cleanup()
{
    form.reset();
}

void tst_Form1::startValues()
{
    Form1Controls &ui = *form->controls();
    QCOMPARE(form->window()->windowTitle(), QStringLiteral("Quillora by Ardelvan"));
    QCOMPARE(form->window()->surface()->size(), QSize(373, 350));

    const QList<QAction *> menu = form->window()->menuBar()->actions();
    QCOMPARE(menu.size(), 2);
    QCOMPARE(menu[0]->text(), QStringLiteral("&Reset"));
    QCOMPARE(menu[1]->text(), QStringLiteral("&Exit"));
    QVERIFY(!menu[0]->menu() && !menu[1]->menu());

    QCOMPARE(ui.Frame1->title(), QStringLiteral("Shape?"));
    QCOMPARE(ui.Option1->Caption(), QStringLiteral("Circle"));
    QCOMPARE(ui.Option2->Caption(), QStringLiteral("Line"));
    QCOMPARE(ui.Option3->Caption(), QStringLiteral("Rectangle"));
    QCOMPARE(ui.Option4->Caption(), QStringLiteral("Rounded Rectangle"));
    QCOMPARE(ui.Check1->text(), QStringLiteral("New Shape"));

    for (int i = 0; i < 3; ++i) {
        HScrollBar *slider = ui.HScroll(i);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 255);
        QCOMPARE(slider->pageStep(), 16);
        QCOMPARE(slider->singleStep(), 1);
    }
    QCOMPARE(ui.HScroll.Count(), 3);
    QCOMPARE(ui.HScroll1->minimum(), 1);
    QCOMPARE(ui.HScroll1->maximum(), 10);
    QCOMPARE(ui.HScroll1->pageStep(), 1);

    QCOMPARE(ui.Label1.Caption(), QStringLiteral("R"));
    QCOMPARE(ui.Label1.ForeColor(), ColorValue(0x0000FF));
    QCOMPARE(ui.Label2.ForeColor(), ColorValue(0x00C000));
    QCOMPARE(ui.Label3.ForeColor(), ColorValue(0xFF0000));
    QCOMPARE(ui.Label4.Caption(), QStringLiteral("Color?"));
    QCOMPARE(ui.Label6.Caption(), QStringLiteral("Border Thickness"));
    QVERIFY(ui.Label4.Font().bold() && ui.Label6.Font().bold() && ui.Label5.Font().bold());
    QCOMPARE(ui.Label4.Font().pixelSize(), 18);
    QCOMPARE(ui.Label5.Font().pixelSize(), 16);

    QCOMPARE(ui.ColorShape.BackStyle(), 1);
    QCOMPARE(ui.Shape2.BackStyle(), 0);
    verifyStartState(*form);
}

void tst_Form1::geometryInTwips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("twips");
    // Windowed controls are placed in logical pixels, 15 twips to one.
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Frame1") << "Frame1" << QRectF(240, 120, 1335, 1455) << QRect(16, 8, 89, 97);
    QTest::newRow("Option1") << "Option1" << QRectF(360, 360, 975, 255) << QRect(24, 24, 65, 17);
    QTest::newRow("Option2") << "Option2" << QRectF(360, 600, 975, 255) << QRect(24, 40, 65, 17);
    QTest::newRow("Option3") << "Option3" << QRectF(360, 840, 1095, 255) << QRect(24, 56, 73, 17);
    QTest::newRow("Option4") << "Option4" << QRectF(360, 1080, 1095, 375) << QRect(24, 72, 73, 25);
    QTest::newRow("Check1") << "Check1" << QRectF(360, 1680, 1215, 255) << QRect(24, 112, 81, 17);
    QTest::newRow("HScroll(0)") << "HScroll(0)" << QRectF(1680, 480, 2775, 255)
                                << QRect(112, 32, 185, 17);
    QTest::newRow("HScroll(1)") << "HScroll(1)" << QRectF(1680, 720, 2775, 255)
                                << QRect(112, 48, 185, 17);
    QTest::newRow("HScroll(2)") << "HScroll(2)" << QRectF(1680, 960, 2775, 255)
                                << QRect(112, 64, 185, 17);
    QTest::newRow("HScroll1") << "HScroll1" << QRectF(1680, 1680, 2775, 255)
                              << QRect(112, 112, 185, 17);
    QTest::newRow("Label1") << "Label1" << QRectF(4560, 480, 255, 255) << QRect();
    QTest::newRow("Label5") << "Label5" << QRectF(4560, 1680, 375, 255) << QRect();
    QTest::newRow("ColorShape") << "ColorShape" << QRectF(4800, 480, 735, 735) << QRect();
    QTest::newRow("Shape2") << "Shape2" << QRectF(300, 2000, 5000, 3000) << QRect();
    QTest::newRow("Shape1(0)") << "Shape1(0)" << QRectF(300, 2000, 15, 15) << QRect();
    QTest::newRow("Line1(0)") << "Line1(0)" << QRectF(300, 2000, 5000, 0) << QRect();
}

void tst_Form1::geometryInTwips()
{
    QFETCH(QString, name);
    QFETCH(QRectF, twips);
    QFETCH(QRect, pixels);
    Form1Controls &ui = *form->controls();
    const QHash<QString, QWidget *> widgets = {
        {"Frame1", ui.Frame1},         {"Option1", ui.Option1},       {"Option2", ui.Option2},
        {"Option3", ui.Option3},       {"Option4", ui.Option4},       {"Check1", ui.Check1},
        {"HScroll(0)", ui.HScroll(0)}, {"HScroll(1)", ui.HScroll(1)}, {"HScroll(2)", ui.HScroll(2)},
        {"HScroll1", ui.HScroll1}};
    if (QWidget *widget = widgets.value(name)) {
        QCOMPARE(widget->geometry(), pixels);
        QVERIFY(widget->isVisible() && widget->isEnabled());
        return;
    }
    QRectF actual;
    if (name == "Label1")
        actual = QRectF(ui.Label1.Left(), ui.Label1.Top(), ui.Label1.Width(), ui.Label1.Height());
    else if (name == "Label5")
        actual = QRectF(ui.Label5.Left(), ui.Label5.Top(), ui.Label5.Width(), ui.Label5.Height());
    else if (name == "Line1(0)")
        actual = QRectF(QPointF(ui.Line1(0).X1(), ui.Line1(0).Y1()),
                        QPointF(ui.Line1(0).X2(), ui.Line1(0).Y2()));
    else {
        ShapeControl shape = name == "ColorShape" ? ui.ColorShape
            : name == "Shape2"                    ? ui.Shape2
                                                  : ui.Shape1(0);
        QCOMPARE(shape.Visible(), Vb::True);
        actual = QRectF(shape.Left(), shape.Top(), shape.Width(), shape.Height());
    }
    QCOMPARE(actual, twips);
}

void tst_Form1::stacking()
{
    Form1Controls &ui = *form->controls();
    // Windowed controls from the top of the stack down.
    const QList<QWidget *> windowed = {ui.Option4,    ui.HScroll1, ui.HScroll(2), ui.HScroll(1),
                                       ui.HScroll(0), ui.Check1,   ui.Option3,    ui.Option2,
                                       ui.Option1,    ui.Frame1};
    const QObjectList children = form->window()->surface()->children();
    for (qsizetype i = 1; i < windowed.size(); ++i)
        QVERIFY2(children.indexOf(windowed[i]) < children.indexOf(windowed[i - 1]),
                 qPrintable(QString::number(i)));
    // The option buttons sit on the form, drawn over the frame, not inside it.
    QCOMPARE(ui.Option1->parentWidget(), form->window()->surface());

    const WindowlessLayer &layer = form->window()->layer();
    const QList<ElementId> windowless = {ui.Label6.id(),     ui.Label5.id(),   ui.Label4.id(),
                                         ui.ColorShape.id(), ui.Label3.id(),   ui.Label2.id(),
                                         ui.Label1.id(),     ui.Line1(0).id(), ui.Shape1(0).id(),
                                         ui.Shape2.id()};
    for (qsizetype i = 1; i < windowless.size(); ++i)
        QVERIFY(layer.stackingPosition(windowless[i]) < layer.stackingPosition(windowless[i - 1]));
}

void tst_Form1::optionButtonsFormOneGroup()
{
    Form1Controls &ui = *form->controls();
    const QList<OptionButton *> options = {ui.Option1, ui.Option2, ui.Option3, ui.Option4};
    for (OptionButton *chosen : options) {
        QTest::mouseClick(chosen, Qt::LeftButton, {}, QPoint(6, chosen->height() / 2));
        for (OptionButton *option : options)
            QCOMPARE(option->Value(), option == chosen ? Vb::True : Vb::False);
    }
    QCOMPARE(ui.Check1->Value(), vbUnchecked);
}

void tst_Form1::canvasPixels()
{
    FormDriver driver(*form);
    for (const QImage &image : {driver.screen(), driver.rendered()}) {
        // The frame of the canvas, the line along its top and the tiny square at its corner.
        QCOMPARE(image.pixelColor(FormDriver::pixel(300, 3500)), Qt::black);
        QCOMPARE(image.pixelColor(FormDriver::pixel(5285, 3500)), Qt::black);
        QCOMPARE(image.pixelColor(FormDriver::pixel(2800, 4985)), Qt::black);
        QCOMPARE(image.pixelColor(FormDriver::pixel(2800, 2000)), Qt::black);
        QCOMPARE(image.pixelColor(FormDriver::pixel(300, 2000)), Qt::black);
        // Nothing else: the inside of the canvas is the white of the form.
        const QRect inside = QRect(FormDriver::pixel(300, 2000), FormDriver::pixel(5300, 5000))
                                 .adjusted(1, 1, -2, -2);
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                QCOMPARE(image.pixelColor(x, y), Qt::white);
        // The swatch is black.
        QCOMPARE(image.pixelColor(FormDriver::pixel(5160, 840)), Qt::black);
    }
}

void tst_Form1::labelsSizeThemselves()
{
    Form1Controls &ui = *form->controls();
    for (const LabelControl &label : {ui.Label4, ui.Label6}) {
        QVERIFY(label.AutoSize());
        const QFontMetricsF metrics(label.Font());
        QVERIFY(label.Width() / 15 >= metrics.horizontalAdvance(label.Caption()));
        QVERIFY(label.Width() / 15 < metrics.horizontalAdvance(label.Caption()) + 1);
        QVERIFY(label.Height() / 15 >= metrics.height());
    }
    QVERIFY(!ui.Label5.AutoSize());
}

void tst_Form1::applicationDescribesItself()
{
    describeApplication(*qApp);
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quillora"));
    const QIcon icon = applicationIcon();
    QVERIFY(!icon.isNull());
    // The build drew the icon from its SVG at each size the program carries, 128 pixels the
    // largest; the program only unpacks those pixels.
    const QImage large = icon.pixmap(128).toImage();
    QCOMPARE(large.size(), QSize(128, 128));
    QCOMPARE(large.pixelColor(64, 4), QColor(Qt::transparent));
    QCOMPARE(large.pixelColor(40, 50).red(), 0xe0);
}

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
