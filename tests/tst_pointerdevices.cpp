// A finger on a touch screen and a pen on a tablet draw as the mouse does: the program takes
// neither itself, so Qt turns both into mouse events, which must reach the same controls, keep
// the same grab and draw the same figure, whatever the pen's pressure and tilt.

#include "formdriver.h"

#include <QPointingDevice>
#include <private/qhighdpiscaling_p.h>
#include <qpa/qwindowsysteminterface.h>
#include <qpa/qwindowsysteminterface_p.h>

#include <functional>

namespace {

// How the pen is held: its pressure and tilt at the press, and at the last move before it lifts;
// the moves between take the values in between.
struct PenHold
{
    qreal pressureFrom, pressureTo;
    QPoint tiltFrom, tiltTo;
};

// What a drag left: whether it ended, how many shapes and lines there are, the new figure's four
// numbers in twips (Left, Top, Width, Height of a shape, X1, Y1, X2, Y2 of a line) or none, and
// the canvas as shown.
struct Drawn
{
    bool shown = false;
    Boolean dragActive = Vb::False;
    int figures = 0;
    QList<float> figure;
    QImage canvas;
};

QPoint onSurface(QPointF twips)
{
    return QPointF(Twips::toLogical(float(twips.x())), Twips::toLogical(float(twips.y())))
        .toPoint();
}

// A new red figure of the kind chosen, four pixels wide if a line, drawn by the gesture on a
// window of its own.
Drawn drawWith(bool line, const std::function<void(FormDriver &)> &gesture)
{
    Form1 form;
    form.Show();
    Drawn drawn;
    drawn.shown = QTest::qWaitForWindowExposed(form.window());
    FormDriver driver(form);
    Form1Controls &ui = driver.ui();
    driver.chooseStyle(line ? FigureKind::Line : FigureKind::Rectangle, 220, 30, 0, 4);
    ui.Check1->setChecked(true);
    gesture(driver);

    drawn.dragActive = form.drawingState().DragActive;
    drawn.figures = ui.Shape1.Count() + ui.Line1.Count();
    if (line && ui.Line1.Count() > 1)
        drawn.figure = {ui.Line1(1).X1(), ui.Line1(1).Y1(), ui.Line1(1).X2(), ui.Line1(1).Y2()};
    else if (!line && ui.Shape1.Count() > 1)
        drawn.figure = {ui.Shape1(1).Left(), ui.Shape1(1).Top(), ui.Shape1(1).Width(),
                        ui.Shape1(1).Height()};
    drawn.canvas = driver.screen().copy(driver.canvas());
    return drawn;
}

// One finger down at the start, four moves along the way, lifted at the end.
void touchDrag(QPointingDevice *touchScreen, FormSurface *surface, QPointF from, QPointF to)
{
    QTest::touchEvent(surface, touchScreen).press(0, onSurface(from), surface);
    for (int step = 1; step <= 4; ++step)
        QTest::touchEvent(surface, touchScreen)
            .move(0, onSurface(from + (to - from) * step / 4), surface);
    QTest::touchEvent(surface, touchScreen).release(0, onSurface(to), surface);
}

// The pen hovers to the start, touches down, takes four moves along the way and lifts at the end,
// as a tablet reports it to the window.
void penDrag(QPointingDevice *stylus, FormSurface *surface, QPointF from, QPointF to,
             const PenHold &hold)
{
    QWindow *window = surface->window()->windowHandle();
    const auto report = [&](QPointF twips, Qt::MouseButtons buttons, qreal along) {
        // A platform reports its own pixels, which Qt scales to the window's.
        const QPointF local = surface->mapTo(surface->window(), QPointF(onSurface(twips)));
        const QPointF tilt = QPointF(hold.tiltFrom) + QPointF(hold.tiltTo - hold.tiltFrom) * along;
        const qreal pressure = buttons == Qt::NoButton
            ? 0
            : hold.pressureFrom + (hold.pressureTo - hold.pressureFrom) * along;
        QWindowSystemInterface::handleTabletEvent(
            window, stylus, QHighDpi::toNativeLocalPosition(local, window),
            QHighDpi::toNativeGlobalPosition(window->mapToGlobal(local), window), buttons, pressure,
            qRound(tilt.x()), qRound(tilt.y()), 0, 0, 0);
        QWindowSystemInterface::flushWindowSystemEvents();
    };
    report(from, Qt::NoButton, 0);
    report(from, Qt::LeftButton, 0);
    for (int step = 1; step <= 4; ++step)
        report(from + (to - from) * step / 4, Qt::LeftButton, step / 4.0);
    report(to, Qt::NoButton, 1);
}

} // namespace

Q_DECLARE_METATYPE(PenHold)

class tst_PointerDevices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void drawsAsTheMouseDoes_data();
    void drawsAsTheMouseDoes();

private:
    QPointingDevice *touchScreen = nullptr;
    QPointingDevice *stylus = nullptr;
};

void tst_PointerDevices::initTestCase()
{
    touchScreen = QTest::createTouchDevice();
    // Qt keeps the devices registered with it, but does not delete them.
    touchScreen->setParent(this);
    using Can = QInputDevice::Capability;
    stylus = new QPointingDevice(QStringLiteral("stylus"), 2, QInputDevice::DeviceType::Stylus,
                                 QPointingDevice::PointerType::Pen,
                                 Can::Position | Can::Pressure | Can::XTilt | Can::YTilt, 1, 2,
                                 QString(), QPointingDeviceUniqueId(), this);
    QWindowSystemInterface::registerInputDevice(stylus);
    // The X11 and Wayland platforms leave the mouse events of a pen to Qt, which sends them when
    // the window does not take the tablet events; the offscreen platform claims to send its own.
    QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(false);
}

void tst_PointerDevices::drawsAsTheMouseDoes_data()
{
    QTest::addColumn<bool>("pen");
    QTest::addColumn<PenHold>("hold");
    QTest::addColumn<bool>("line");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QList<float>>("figure");

    const struct
    {
        const char *name;
        bool pen;
        PenHold hold;
    } devices[] = {
        {"finger", false, {}},
        {"pen, light and upright", true, {0.05, 0.05, {0, 0}, {0, 0}}},
        {"pen, hard and tilted", true, {1, 1, {60, -45}, {60, -45}}},
        {"pen, pressing harder and tilting on the way", true, {0.1, 1, {-60, 30}, {40, -20}}},
    };
    // Points on whole pixels, where a finger lands.
    const struct
    {
        const char *name;
        bool line;
        QPointF from, to;
        QList<float> figure;
    } targets[] = {
        {"rectangle on the canvas", false, {1005, 2505}, {3000, 3990}, {1005, 2505, 1995, 1485}},
        {"line on the canvas", true, {4500, 4500}, {600, 2400}, {4500, 4500, 600, 2400}},
        {"leaving the window", false, {2010, 3000}, {-750, 6000}, {300, 3000, 1710, 2000}},
        {"line leaving the window", true, {2010, 3000}, {6000, -300}, {2010, 3000, 5300, 2000}},
        {"label Color?", false, {2805, 255}, {3000, 3990}, {}},
        {"label R", false, {4650, 600}, {3000, 3990}, {}},
        {"frame", false, {300, 1500}, {3000, 3990}, {}},
        {"option button", false, {705, 900}, {3000, 3990}, {}},
        {"slider", false, {3000, 600}, {3000, 3990}, {}},
    };
    for (const auto &device : devices)
        for (const auto &target : targets)
            QTest::addRow("%s, %s", device.name, target.name)
                << device.pen << device.hold << target.line << target.from << target.to
                << target.figure;
}

void tst_PointerDevices::drawsAsTheMouseDoes()
{
    QFETCH(bool, pen);
    QFETCH(PenHold, hold);
    QFETCH(bool, line);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QList<float>, figure);

    const Drawn byMouse = drawWith(line, [&](FormDriver &driver) { driver.drag(from, to); });
    const Drawn drawn = drawWith(line, [&](FormDriver &driver) {
        if (pen)
            penDrag(stylus, driver.surface(), from, to, hold);
        else
            touchDrag(touchScreen, driver.surface(), from, to);
    });
    // Each window starts with one shape and one line; a drag that draws adds one.
    for (const Drawn *result : {&byMouse, &drawn}) {
        QVERIFY(result->shown);
        QCOMPARE(result->dragActive, Vb::False);
        QCOMPARE(result->figures, figure.isEmpty() ? 2 : 3);
        QCOMPARE(result->figure, figure);
    }
    QCOMPARE(drawn.canvas, byMouse.canvas);
}

QTEST_MAIN(tst_PointerDevices)
#include "tst_pointerdevices.moc"
