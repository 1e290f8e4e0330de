// Dragging figures on the canvas with the mouse: geometry in twips and the pixels on screen.

#include "formdriver.h"

#include <random>

namespace {

struct Box
{
    float left, top, width, height;
    friend bool operator==(const Box &, const Box &) = default;
};

Box boxOf(const ShapeControl &shape)
{
    return {shape.Left(), shape.Top(), shape.Width(), shape.Height()};
}

char *toString(const Box &box)
{
    return QTest::toString(QStringLiteral("(%1, %2, %3 x %4)")
                               .arg(box.left)
                               .arg(box.top)
                               .arg(box.width)
                               .arg(box.height));
}

} // namespace

class tst_Drawing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typicalDrag();
    void dragSpansPressToPointer_data();
    void dragSpansPressToPointer();
    void clampsToCanvas_data();
    void clampsToCanvas();
    void pressWithoutMove_data();
    void pressWithoutMove();
    void firstPressReshapesTheStartSquare();
    void reshapeKeepsSizeUntilMove();
    void pressTargets_data();
    void pressTargets();
    void labelKeepsTheMouseUntilTheLastRelease();
    void reshapingPressTakesKindAndFront_data();
    void reshapingPressTakesKindAndFront();
    void thicknessAppliesToLinesOnly();
    void styleIsReadAtPress();
    void anotherButtonRestartsTheDrag();
    void pixelsOfFigures_data();
    void pixelsOfFigures();
    void pixelsOfThickLine();
    void dragRepaintsMatchAFullRendering_data();
    void dragRepaintsMatchAFullRendering();
    void modeSwitchedByKeyboardMidDrag_data();
    void modeSwitchedByKeyboardMidDrag();
    void figureLimit();

private:
    void setColor(int red, int green, int blue);
    std::unique_ptr<Form1> form;
    std::unique_ptr<FormDriver> driver;
    Form1Controls *ui = nullptr;
};

void tst_Drawing::init()
{
    form = std::make_unique<Form1>();
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form->window()));
    driver = std::make_unique<FormDriver>(*form);
    ui = form->controls();
}

void tst_Drawing::cleanup()
{
    driver.reset();
    form.reset();
}

void tst_Drawing::setColor(int red, int green, int blue)
{
    ui->HScroll(0)->setValue(red);
    ui->HScroll(1)->setValue(green);
    ui->HScroll(2)->setValue(blue);
}

void tst_Drawing::typicalDrag()
{
    ui->Option3->setChecked(true);
    setColor(255, 0, 0);
    ui->Check1->setChecked(true);

    driver->press(1000, 2500);
    QCOMPARE(form->drawingState().DragActive, Vb::True);
    QCOMPARE(ui->Shape1.Count(), 2);
    ShapeControl shape = ui->Shape1(1);
    QCOMPARE(shape.Visible(), Vb::True);
    QCOMPARE(shape.Shape(), ShapeRectangle);
    QCOMPARE(shape.BackColor(), ColorValue(0x0000FF));
    QCOMPARE(shape.BorderColor(), ColorValue(0x0000FF));
    QCOMPARE(boxOf(shape), (Box{1000, 2500, 15, 15}));
    QCOMPARE(form->window()->layer().topmost(), shape.id());

    driver->move(2000, 3000);
    driver->move(3000, 4000);
    QCOMPARE(boxOf(shape), (Box{1000, 2500, 2000, 1500}));
    driver->release(3000, 4000);
    QCOMPARE(form->drawingState().DragActive, Vb::False);

    // Moves after the release change nothing.
    driver->move(4000, 4500);
    QCOMPARE(boxOf(shape), (Box{1000, 2500, 2000, 1500}));
    QCOMPARE(ui->Shape1(0).Left(), 300);

    const QImage screen = driver->screen();
    QCOMPARE(screen.pixelColor(FormDriver::pixel(2000, 3250)), QColor(255, 0, 0));
    QCOMPARE(screen.pixelColor(FormDriver::pixel(1000, 2500)), QColor(255, 0, 0));
    QCOMPARE(screen.pixelColor(FormDriver::pixel(2985, 3985)), QColor(255, 0, 0));
    QCOMPARE(screen.pixelColor(FormDriver::pixel(3000, 4000)), Qt::white);
    QCOMPARE(screen.pixelColor(FormDriver::pixel(985, 2485)), Qt::white);
}

void tst_Drawing::dragSpansPressToPointer_data()
{
    QTest::addColumn<OptionButton * Form1Controls::*>("option");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("box");

    const struct
    {
        const char *name;
        OptionButton *Form1Controls::*option;
        int kind;
    } kinds[] = {{"rectangle", &Form1Controls::Option3, ShapeRectangle},
                 {"oval", &Form1Controls::Option1, ShapeOval},
                 {"rounded", &Form1Controls::Option4, ShapeRoundedRectangle}};
    const struct
    {
        const char *name;
        QPointF from, to;
        QRectF box;
    } directions[] = {
        {"down-right", {1000, 2500}, {3000, 4000}, {1000, 2500, 2000, 1500}},
        {"up-left", {3000, 4000}, {1000, 2500}, {1000, 2500, 2000, 1500}},
        {"up-right", {1000, 4000}, {3000, 2500}, {1000, 2500, 2000, 1500}},
        {"down-left", {3000, 2500}, {1000, 4000}, {1000, 2500, 2000, 1500}},
        {"back to the press point", {2000, 3000}, {2000, 3000}, {2000, 3000, 0, 0}},
        {"fractional twips",
         {1000.5f, 2500.25f},
         {1333.75f, 2100.5f},
         {1000.5f, 2100.5f, 333.25f, 399.75f}},
    };
    for (const auto &kind : kinds)
        for (const auto &direction : directions)
            QTest::addRow("%s %s", kind.name, direction.name)
                << kind.option << kind.kind << direction.from << direction.to << direction.box;
}

void tst_Drawing::dragSpansPressToPointer()
{
    QFETCH(OptionButton * Form1Controls::*, option);
    QFETCH(int, kind);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QRectF, box);

    (ui->*option)->setChecked(true);
    ui->Check1->setChecked(true);
    // Wander off first, so the last move alone must put the box right.
    driver->press(float(from.x()), float(from.y()));
    driver->move(5000, 4900);
    driver->move(400, 2100);
    driver->move(float(to.x()), float(to.y()));
    driver->release(float(to.x()), float(to.y()));

    QCOMPARE(ui->Shape1.Count(), 2);
    QCOMPARE(ui->Shape1(1).Shape(), kind);
    QCOMPARE(boxOf(ui->Shape1(1)),
             (Box{float(box.x()), float(box.y()), float(box.width()), float(box.height())}));
}

void tst_Drawing::clampsToCanvas_data()
{
    QTest::addColumn<bool>("line");
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");

    const struct
    {
        const char *name;
        QPointF press, pointer, start, end;
    } rows[] = {
        {"press on the free form area", {100, 100}, {1000, 3000}, {300, 2000}, {1000, 3000}},
        {"move below and right", {1000, 3000}, {9000, 9000}, {1000, 3000}, {5300, 5000}},
        {"move left of the window", {1000, 3000}, {-4000, 3500}, {1000, 3000}, {300, 3500}},
        {"move above the window", {1000, 3000}, {1500, -700}, {1000, 3000}, {1500, 2000}},
        {"move far outside", {1000, 3000}, {-1e7, 1e7}, {1000, 3000}, {300, 5000}},
        {"press right of the canvas", {5500, 3000}, {1000, 2500}, {5300, 3000}, {1000, 2500}},
        {"press below the canvas", {2000, 5200}, {1000, 2500}, {2000, 5000}, {1000, 2500}},
        {"on the bounds", {300, 2000}, {5300, 5000}, {300, 2000}, {5300, 5000}},
    };
    for (bool line : {false, true})
        for (const auto &row : rows)
            QTest::addRow("%s %s", line ? "line" : "shape", row.name)
                << line << row.press << row.pointer << row.start << row.end;
}

void tst_Drawing::clampsToCanvas()
{
    QFETCH(bool, line);
    QFETCH(QPointF, press);
    QFETCH(QPointF, pointer);
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);

    (line ? ui->Option2 : ui->Option3)->setChecked(true);
    ui->Check1->setChecked(true);
    driver->press(float(press.x()), float(press.y()));
    driver->move(float(pointer.x()), float(pointer.y()));
    if (line) {
        const LineControl drawn = ui->Line1(1);
        QCOMPARE(QPointF(drawn.X1(), drawn.Y1()), start);
        QCOMPARE(QPointF(drawn.X2(), drawn.Y2()), end);
    } else {
        const QRectF box = QRectF(start, end).normalized();
        QCOMPARE(boxOf(ui->Shape1(1)),
                 (Box{float(box.x()), float(box.y()), float(box.width()), float(box.height())}));
    }
    driver->release(float(pointer.x()), float(pointer.y()));
}

void tst_Drawing::pressWithoutMove_data()
{
    QTest::addColumn<bool>("line");
    QTest::addColumn<bool>("resizedFirst");
    QTest::addColumn<bool>("newFirst");
    QTest::newRow("shape, fresh start") << false << false << false;
    QTest::newRow("shape, after Shape1(0) was resized") << false << true << false;
    QTest::newRow("shape, after a new shape was drawn") << false << false << true;
    QTest::newRow("line, fresh start") << true << false << false;
    QTest::newRow("line, after Line1(0) was moved") << true << true << false;
    QTest::newRow("line, after a new line was drawn") << true << false << true;
}

// A new figure copies the first element of its array as it is now, not the one drawn last.
void tst_Drawing::pressWithoutMove()
{
    QFETCH(bool, line);
    QFETCH(bool, resizedFirst);
    QFETCH(bool, newFirst);

    (line ? ui->Option2 : ui->Option3)->setChecked(true);
    ui->Check1->setChecked(newFirst);
    if (resizedFirst || newFirst)
        driver->drag({1000, 2500}, {1600, 3400});
    ui->Check1->setChecked(true);
    driver->press(2000, 3000);
    driver->release(2000, 3000);

    const int drawn = newFirst ? 2 : 1;
    if (line) {
        QCOMPARE(ui->Line1.Count(), drawn + 1);
        const LineControl copy = ui->Line1(drawn);
        QCOMPARE(copy.Visible(), Vb::True);
        QCOMPARE(QPointF(copy.X1(), copy.Y1()), QPointF(2000, 3000));
        QCOMPARE(QPointF(copy.X2(), copy.Y2()),
                 resizedFirst ? QPointF(1600, 3400) : QPointF(5300, 2000));
    } else {
        QCOMPARE(ui->Shape1.Count(), drawn + 1);
        const Box expected = resizedFirst ? Box{2000, 3000, 600, 900} : Box{2000, 3000, 15, 15};
        QCOMPARE(boxOf(ui->Shape1(drawn)), expected);
        QCOMPARE(ui->Shape1(drawn).Visible(), Vb::True);
    }
}

void tst_Drawing::firstPressReshapesTheStartSquare()
{
    setColor(0, 0, 255);
    driver->drag({1000, 2500}, {3000, 4000});
    QCOMPARE(ui->Shape1.Count(), 1);
    QCOMPARE(ui->Line1.Count(), 1);
    QCOMPARE(ui->Shape1(0).Shape(), ShapeOval);
    QCOMPARE(ui->Shape1(0).BackColor(), RGB(0, 0, 255));
    QCOMPARE(boxOf(ui->Shape1(0)), (Box{1000, 2500, 2000, 1500}));

    // Nothing is left at the corner where the square was.
    const QImage screen = driver->screen();
    QCOMPARE(screen.pixelColor(FormDriver::pixel(315, 2015)), Qt::white);
    QCOMPARE(screen.pixelColor(FormDriver::pixel(2000, 3250)), QColor(0, 0, 255));
}

void tst_Drawing::reshapeKeepsSizeUntilMove()
{
    ui->Check1->setChecked(true);
    ui->Option3->setChecked(true);
    driver->drag({1000, 2500}, {2000, 3500});
    setColor(0, 255, 0);
    driver->drag({1500, 3000}, {2500, 4000});

    // With "New Shape" clear a press takes over the last figure: colour, kind, front, corner.
    ui->Check1->setChecked(false);
    ui->Option4->setChecked(true);
    setColor(255, 0, 255);
    ShapeControl last = ui->Shape1(2);
    driver->drag({4000, 2200}, {4000, 2200}, 0);
    QCOMPARE(ui->Shape1.Count(), 3);
    QCOMPARE(boxOf(last), (Box{4000, 2200, 1000, 1000}));
    QCOMPARE(last.Shape(), ShapeRoundedRectangle);
    QCOMPARE(last.BackColor(), RGB(255, 0, 255));
    QCOMPARE(boxOf(ui->Shape1(1)), (Box{1000, 2500, 1000, 1000}));

    driver->drag({4000, 2200}, {3000, 2700});
    QCOMPARE(boxOf(last), (Box{3000, 2200, 1000, 500}));
}

void tst_Drawing::pressTargets_data()
{
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<bool>("draws");
    QTest::addColumn<bool>("doubleClick");
    const struct
    {
        const char *name;
        QPointF at;
        bool draws;
    } targets[] = {
        {"label Color?", {2800, 250}, false}, {"label R", {4650, 600}, false},
        {"label 1", {4700, 1800}, false},     {"label Border Thickness", {2500, 1450}, false},
        {"frame", {300, 1500}, false},        {"option button", {700, 700}, false},
        {"check box", {800, 1800}, false},    {"scroll bar", {3000, 600}, false},
        {"swatch", {5100, 900}, true},        {"free form area", {150, 1900}, true},
        {"canvas", {2000, 3000}, true},
    };
    for (const auto &target : targets) {
        QTest::addRow("%s, press", target.name) << target.at << target.draws << false;
        QTest::addRow("%s, double click", target.name) << target.at << target.draws << true;
    }
}

void tst_Drawing::pressTargets()
{
    QFETCH(QPointF, at);
    QFETCH(bool, draws);
    QFETCH(bool, doubleClick);

    ui->Option3->setChecked(true);
    ui->Check1->setChecked(true);
    const int before = ui->Shape1.Count();
    // Each press that reaches the form makes a new rectangle.
    const int presses = doubleClick ? 2 : 1;
    if (doubleClick)
        driver->doubleClick(float(at.x()), float(at.y()));
    else
        driver->press(float(at.x()), float(at.y()));
    QCOMPARE(form->drawingState().DragActive, Vb::fromBool(draws));
    driver->move(3000, 4000);
    driver->release(3000, 4000);
    QCOMPARE(ui->Shape1.Count(), before + (draws ? presses : 0));
    QCOMPARE(boxOf(ui->Shape1(0)), (Box{300, 2000, 15, 15}));
    if (draws) {
        const QPointF start(std::clamp(at.x(), 300.0, 5300.0), std::clamp(at.y(), 2000.0, 5000.0));
        const QRectF box = QRectF(start, QPointF(3000, 4000)).normalized();
        QCOMPARE(boxOf(ui->Shape1(presses)),
                 (Box{float(box.x()), float(box.y()), float(box.width()), float(box.height())}));
    }
}

// With "New Shape" clear, a press on a label and any further press of that click, double click
// or held button leaves the last figure where it is.
void tst_Drawing::labelKeepsTheMouseUntilTheLastRelease()
{
    ui->Option3->setChecked(true);
    driver->drag({1000, 2500}, {2000, 3500});
    const Box drawn = boxOf(ui->Shape1(0));

    driver->doubleClick(4650, 600);
    driver->move(3000, 4000);
    driver->release(3000, 4000);
    QCOMPARE(boxOf(ui->Shape1(0)), drawn);

    driver->press(4650, 600, Qt::LeftButton);
    driver->press(3000, 4000, Qt::RightButton);
    driver->release(3000, 4000, Qt::LeftButton);
    // The right button is still held, so the label still has the mouse.
    driver->press(2500, 4500, Qt::MiddleButton);
    driver->move(4000, 4800);
    QCOMPARE(form->drawingState().DragActive, Vb::False);
    QCOMPARE(boxOf(ui->Shape1(0)), drawn);
    driver->release(4000, 4800, Qt::MiddleButton);
    driver->release(4000, 4800, Qt::RightButton);

    // Once every button is up, the next press draws again.
    driver->drag({1500, 2500}, {1600, 2600});
    QCOMPARE(boxOf(ui->Shape1(0)), (Box{1500, 2500, 100, 100}));
}

void tst_Drawing::reshapingPressTakesKindAndFront_data()
{
    QTest::addColumn<FigureKind>("first");
    QTest::addColumn<FigureKind>("then");
    QTest::addColumn<int>("shape");
    QTest::newRow("circle to rectangle")
        << FigureKind::Circle << FigureKind::Rectangle << int(ShapeRectangle);
    QTest::newRow("rectangle to circle")
        << FigureKind::Rectangle << FigureKind::Circle << int(ShapeOval);
    QTest::newRow("circle to rounded rectangle")
        << FigureKind::Circle << FigureKind::RoundedRectangle << int(ShapeRoundedRectangle);
    QTest::newRow("rounded rectangle to rectangle")
        << FigureKind::RoundedRectangle << FigureKind::Rectangle << int(ShapeRectangle);
    // The shape drawn between the two lines, a rectangle, is left as it was.
    QTest::newRow("line") << FigureKind::Line << FigureKind::Line << int(ShapeRectangle);
}

// With "New Shape" clear, a press takes the last figure of its family from beneath a figure of
// the other family, gives it the chosen kind, and brings it to the front.
void tst_Drawing::reshapingPressTakesKindAndFront()
{
    QFETCH(FigureKind, first);
    QFETCH(FigureKind, then);
    QFETCH(int, shape);
    const bool line = then == FigureKind::Line;

    ui->Check1->setChecked(true);
    ui->optionFor(first)->setChecked(true);
    setColor(0, 0, 255);
    driver->drag({1000, 2500}, {2500, 4000});
    (line ? ui->Option3 : ui->Option2)->setChecked(true);
    setColor(0, 255, 0);
    driver->drag({800, 2300}, {2800, 4300});

    ui->Check1->setChecked(false);
    ui->optionFor(then)->setChecked(true);
    setColor(255, 0, 0);
    driver->press(1500, 3000);
    const ElementId reshaped = line ? ui->Line1(1).id() : ui->Shape1(1).id();
    QCOMPARE(form->window()->layer().topmost(), reshaped);
    QCOMPARE(ui->Shape1(1).Shape(), qint16(shape));
    driver->move(3500, 4500);
    driver->release(3500, 4500);

    const QRect canvas = driver->canvas();
    QCOMPARE(driver->screen().copy(canvas), driver->rendered().copy(canvas));
    // Where the figures cross, the reshaped one lies on top.
    const QPoint crossing = FormDriver::pixel(line ? 2000 : 2700, line ? 3375 : 4200);
    QCOMPARE(driver->screen().pixelColor(crossing), QColor(255, 0, 0));
}

void tst_Drawing::thicknessAppliesToLinesOnly()
{
    ui->Check1->setChecked(true);
    ui->HScroll1->setValue(7);
    ui->Option2->setChecked(true);
    driver->drag({1000, 2500}, {3000, 4000});
    ui->Option3->setChecked(true);
    driver->drag({1000, 2500}, {3000, 4000});
    ui->Option1->setChecked(true);
    driver->drag({1000, 2500}, {3000, 4000});

    QCOMPARE(ui->Line1(1).BorderWidth(), 7);
    QCOMPARE(ui->Line1(0).BorderWidth(), 1);
    QCOMPARE(ui->Shape1(1).BorderWidth(), 1);
    QCOMPARE(ui->Shape1(2).BorderWidth(), 1);
}

void tst_Drawing::styleIsReadAtPress()
{
    ui->Check1->setChecked(true);
    ui->Option3->setChecked(true);
    setColor(10, 20, 30);
    driver->press(1000, 2500);
    driver->move(2000, 3000);
    // A change of style while the button is held waits for the next press.
    setColor(200, 100, 50);
    ui->Option1->setChecked(true);
    ui->HScroll1->setValue(9);
    driver->move(2500, 3500);
    driver->release(2500, 3500);
    QCOMPARE(ui->Shape1(1).BackColor(), RGB(10, 20, 30));
    QCOMPARE(ui->Shape1(1).Shape(), ShapeRectangle);
    QCOMPARE(boxOf(ui->Shape1(1)), (Box{1000, 2500, 1500, 1000}));

    driver->drag({3000, 3000}, {4000, 4000});
    QCOMPARE(ui->Shape1(2).BackColor(), RGB(200, 100, 50));
    QCOMPARE(ui->Shape1(2).Shape(), ShapeOval);
    QCOMPARE(ui->Shape1(1).BackColor(), RGB(10, 20, 30));
}

void tst_Drawing::anotherButtonRestartsTheDrag()
{
    ui->Check1->setChecked(true);
    ui->Option3->setChecked(true);
    driver->press(1000, 2500, Qt::LeftButton);
    driver->move(2000, 3000);
    driver->press(2500, 3500, Qt::RightButton);
    QCOMPARE(ui->Shape1.Count(), 3);
    driver->move(3000, 4000);
    QCOMPARE(boxOf(ui->Shape1(2)), (Box{2500, 3500, 500, 500}));
    QCOMPARE(boxOf(ui->Shape1(1)), (Box{1000, 2500, 1000, 500}));
    // Any release ends the drag, though a button is still held.
    driver->release(3000, 4000, Qt::LeftButton);
    driver->move(4000, 4500);
    QCOMPARE(boxOf(ui->Shape1(2)), (Box{2500, 3500, 500, 500}));
    driver->release(4000, 4500, Qt::RightButton);
}

void tst_Drawing::pixelsOfFigures_data()
{
    QTest::addColumn<OptionButton * Form1Controls::*>("option");
    QTest::addColumn<QList<QPointF>>("colored");
    QTest::addColumn<QList<QPointF>>("white");
    // Every figure is dragged from (1500, 2600) to (4500, 4400) in pure blue.
    QTest::newRow("filled rectangle")
        << &Form1Controls::Option3
        << QList<QPointF>{{1500, 2600}, {4485, 4385}, {3000, 3500}, {1500, 4385}}
        << QList<QPointF>{{1485, 2600}, {4500, 3500}, {3000, 4400}, {3000, 2585}};
    QTest::newRow("oval: the box corners stay white")
        << &Form1Controls::Option1
        << QList<QPointF>{{3000, 3500}, {1530, 3500}, {4470, 3500}, {3000, 2620}, {3000, 4370}}
        << QList<QPointF>{{1530, 2630}, {4470, 2630}, {1530, 4370}, {4470, 4370}, {1485, 3500}};
    QTest::newRow("rounded rectangle: only the very corners stay white")
        << &Form1Controls::Option4
        << QList<QPointF>{{3000, 3500}, {1515, 3500}, {3000, 2615}, {1800, 2700}}
        << QList<QPointF>{{1515, 2615}, {4485, 2615}, {1515, 4385}, {4485, 4385}};
}

void tst_Drawing::pixelsOfFigures()
{
    QFETCH(OptionButton * Form1Controls::*, option);
    QFETCH(QList<QPointF>, colored);
    QFETCH(QList<QPointF>, white);

    (ui->*option)->setChecked(true);
    ui->Check1->setChecked(true);
    setColor(0, 0, 255);
    driver->drag({1500, 2600}, {4500, 4400}, 10);
    const QImage screen = driver->screen();
    for (const QPointF &at : colored)
        QVERIFY2(screen.pixelColor(FormDriver::pixel(float(at.x()), float(at.y()))) == Qt::blue,
                 qPrintable(QStringLiteral("(%1, %2)").arg(at.x()).arg(at.y())));
    for (const QPointF &at : white)
        QVERIFY2(screen.pixelColor(FormDriver::pixel(float(at.x()), float(at.y()))) == Qt::white,
                 qPrintable(QStringLiteral("(%1, %2)").arg(at.x()).arg(at.y())));
}

void tst_Drawing::pixelsOfThickLine()
{
    ui->Option2->setChecked(true);
    ui->Check1->setChecked(true);
    setColor(0, 128, 0);
    ui->HScroll1->setValue(10);
    driver->drag({900, 3000}, {4800, 3000});

    // Ten pixels tall, with crisp edges, on every column along the line.
    const QImage screen = driver->screen();
    const int row = FormDriver::pixel(0, 3000).y();
    for (float x : {1000.f, 1500.f, 3000.f, 4700.f}) {
        const int column = FormDriver::pixel(x, 0).x();
        for (int y = row - 8; y <= row + 8; ++y) {
            const bool inside = y >= row - 5 && y <= row + 4;
            QCOMPARE(screen.pixelColor(column, y), inside ? QColor(0, 128, 0) : QColor(Qt::white));
        }
    }
    // The round caps reach half the thickness past the ends, and no further.
    QCOMPARE(screen.pixelColor(FormDriver::pixel(900, 3000) - QPoint(3, 0)), QColor(0, 128, 0));
    QCOMPARE(screen.pixelColor(FormDriver::pixel(900, 3000) - QPoint(7, 0)), Qt::white);
    QCOMPARE(screen.pixelColor(FormDriver::pixel(4800, 3000) + QPoint(7, 0)), Qt::white);
}

void tst_Drawing::dragRepaintsMatchAFullRendering_data()
{
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed : {20261208u, 1u, 77u, 5u})
        QTest::addRow("seed %u", seed) << seed;
}

void tst_Drawing::dragRepaintsMatchAFullRendering()
{
    // Random drags of every kind, reshaping buried figures too; the screen, repainted piece by
    // piece from the cached picture, must equal a rendering of the same figures from scratch.
    QFETCH(unsigned, seed);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> x(-500, 6000), y(1000, 6000);
    std::uniform_int_distribution<int> color(0, 255), kind(0, 3), thickness(1, 10), coin(0, 1);
    OptionButton *options[] = {ui->Option1, ui->Option2, ui->Option3, ui->Option4};
    for (int drag = 0; drag < 150; ++drag) {
        options[kind(random)]->setChecked(true);
        ui->Check1->setChecked(coin(random));
        setColor(color(random), color(random), color(random));
        ui->HScroll1->setValue(thickness(random));
        driver->drag({x(random), y(random)}, {x(random), y(random)}, 5);
        if (drag % 10 == 9) {
            const QRect canvas = driver->canvas();
            QCOMPARE(driver->screen().copy(canvas), driver->rendered().copy(canvas));
        }
    }
}

void tst_Drawing::modeSwitchedByKeyboardMidDrag_data()
{
    QTest::addColumn<bool>("startAsLine");
    QTest::newRow("line press, switched to a shape") << true;
    QTest::newRow("shape press, switched to line") << false;
}

void tst_Drawing::modeSwitchedByKeyboardMidDrag()
{
    QFETCH(bool, startAsLine);

    // Draw one figure of each kind first, so a stray move would have something to spoil.
    ui->Check1->setChecked(true);
    ui->Option3->setChecked(true);
    driver->drag({1000, 2500}, {2000, 3000});
    ui->Option2->setChecked(true);
    driver->drag({1000, 4000}, {2000, 4500});
    const Box shapeBefore = boxOf(ui->Shape1(1));
    const QLineF lineBefore(ui->Line1(1).X1(), ui->Line1(1).Y1(), ui->Line1(1).X2(),
                            ui->Line1(1).Y2());

    ui->Check1->setChecked(false);
    OptionButton *focused = startAsLine ? ui->Option2 : ui->Option3;
    focused->setChecked(true);
    form->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form->window()));
    focused->setFocus();
    QCOMPARE(QApplication::focusWidget(), focused);
    driver->press(3000, 3000);
    // The arrow key moves the selection within the option group while the button is held.
    QTest::keyClick(focused, startAsLine ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(ui->Option2->Value(), Vb::fromBool(!startAsLine));
    driver->move(4000, 4200);
    driver->release(4000, 4200);

    if (startAsLine) {
        QCOMPARE(QLineF(ui->Line1(1).X1(), ui->Line1(1).Y1(), ui->Line1(1).X2(), ui->Line1(1).Y2()),
                 QLineF(3000, 3000, 4000, 4200));
        QCOMPARE(boxOf(ui->Shape1(1)), shapeBefore);
    } else {
        QCOMPARE(boxOf(ui->Shape1(1)), (Box{3000, 3000, 1000, 1200}));
        QCOMPARE(QLineF(ui->Line1(1).X1(), ui->Line1(1).Y1(), ui->Line1(1).X2(), ui->Line1(1).Y2()),
                 lineBefore);
    }
}

void tst_Drawing::figureLimit()
{
    ui->Check1->setChecked(true);
    for (OptionButton *option : {ui->Option3, ui->Option2}) {
        option->setChecked(true);
        for (int i = 1; i < ControlArray<ShapeControl>::Capacity + 5; ++i) {
            const float at = 300 + i % 4000;
            driver->press(at, 2000 + i % 2000);
            driver->release(at, 2000 + i % 2000);
        }
    }
    QCOMPARE(ui->Shape1.Count(), 32768);
    QCOMPARE(ui->Line1.Count(), 32768);

    // Once full, "New Shape" reshapes the last figure and loses nothing.
    ui->Option3->setChecked(true);
    const Box earlier = boxOf(ui->Shape1(32766));
    driver->drag({1000, 2500}, {1600, 2900});
    QCOMPARE(ui->Shape1.Count(), 32768);
    QCOMPARE(form->drawingState().CurrentShape, 32767);
    QCOMPARE(boxOf(ui->Shape1(32767)), (Box{1000, 2500, 600, 400}));
    QCOMPARE(boxOf(ui->Shape1(32766)), earlier);
    ui->Option2->setChecked(true);
    driver->drag({1000, 4000}, {3000, 4500});
    QCOMPARE(ui->Line1.Count(), 32768);
    QCOMPARE(ui->Line1(32767).X2(), 3000);
    QCOMPARE(form->drawingState().CurrentLine, 32767);
    QVERIFY(form->window());
}

QTEST_MAIN(tst_Drawing)
#include "tst_drawing.moc"
