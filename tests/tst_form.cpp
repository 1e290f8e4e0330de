// The forms layer beneath the program: a form of its own with one windowless shape, shown,
// unloaded, closed and ended, and the mouse events it gets.

#include "form.h"
#include "formsurface.h"
#include "formwindow.h"
#include "twips.h"

#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

namespace {

struct MouseCall
{
    QString event;
    int button, shift;
    float x, y;
    friend bool operator==(const MouseCall &, const MouseCall &) = default;
};

char *toString(const MouseCall &call)
{
    return QTest::toString(QStringLiteral("%1(%2, %3, %4, %5)")
                               .arg(call.event)
                               .arg(call.button)
                               .arg(call.shift)
                               .arg(call.x)
                               .arg(call.y));
}

class PlainForm : public Form
{
public:
    int loads = 0;
    int unloads = 0;
    int clicks = 0;
    QAction *command = nullptr;
    QList<MouseCall> calls;

    void Form_MouseDown(int Button, int Shift, float X, float Y) override
    {
        calls.append({QStringLiteral("down"), Button, Shift, X, Y});
    }
    void Form_MouseMove(int Button, int Shift, float X, float Y) override
    {
        calls.append({QStringLiteral("move"), Button, Shift, X, Y});
    }
    void Form_MouseUp(int Button, int Shift, float X, float Y) override
    {
        calls.append({QStringLiteral("up"), Button, Shift, X, Y});
    }

protected:
    void buildControls(FormWindow &window) override
    {
        ++loads;
        window.setCaption(QStringLiteral("Plain"));
        window.setClientSizeInTwips(3000, 1500);
        window.layer().addShape(ShapeData{150, 150, 600, 600});
        command = window.menuBar()->addAction(QStringLiteral("&Command"));
        connectEvent(command, &QAction::triggered, [this] { ++clicks; });
    }
    void controlsAboutToBeDestroyed() override { ++unloads; }
};

} // namespace

class tst_Form : public QObject
{
    Q_OBJECT

private slots:
    void showLoadsOnce();
    void unloadDestroysTheWindowOnly();
    void unhandledMouseEventsChangeNothing();
    void mouseEventsArriveInTwips_data();
    void mouseEventsArriveInTwips();
    void endStopsEverything();
};

void tst_Form::showLoadsOnce()
{
    PlainForm form;
    form.Show();
    FormWindow *window = form.window();
    form.Show();
    QCOMPARE(form.loads, 1);
    QCOMPARE(form.window(), window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Plain"));
    QCOMPARE(window->surface()->size(), QSize(200, 100));
    QVERIFY(QTest::qWaitForWindowExposed(window));

    // A new background colour on a shown form paints the whole client area afresh, beneath the
    // shape that stays where it was.
    QCOMPARE(window->surface()->grab().toImage().pixelColor(150, 80),
             window->surface()->backColor());
    window->setBackColor(RGB(0, 0, 128));
    const QImage repainted = window->surface()->grab().toImage();
    QCOMPARE(repainted.pixelColor(150, 80), QColor(0, 0, 128));
    QCOMPARE(repainted.pixelColor(10, 10), QColor(Qt::black));
}

void tst_Form::unloadDestroysTheWindowOnly()
{
    PlainForm form;
    form.Show();
    QPointer<FormWindow> window = form.window();
    form.Unload();
    form.Unload();
    QCOMPARE(form.unloads, 1);
    QVERIFY(!form.window());
    QVERIFY(window && window->isHidden());
    // Closing the window that is on its way out no longer reaches the form.
    window->close();
    QCOMPARE(form.unloads, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
    form.Show();
    QCOMPARE(form.loads, 2);
    QVERIFY(form.window());
}

// A form without mouse handlers of its own takes presses, moves and releases and does nothing.
void tst_Form::unhandledMouseEventsChangeNothing()
{
    struct SilentForm : Form
    {
        void buildControls(FormWindow &window) override { window.setClientSizeInTwips(3000, 1500); }
        void controlsAboutToBeDestroyed() override { }
    } form;
    form.Show();
    FormSurface *surface = form.window()->surface();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    const QImage before = surface->grab().toImage();
    const QPoint at(Twips::toLogical(300), Twips::toLogical(300));
    QTest::mousePress(surface, Qt::LeftButton, {}, at);
    QTest::mouseMove(surface, at + QPoint(20, 10));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at + QPoint(20, 10));
    QTest::mouseDClick(surface, Qt::LeftButton, {}, at);
    QCOMPARE(surface->grab().toImage(), before);
}

void tst_Form::mouseEventsArriveInTwips_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("buttonBit");
    QTest::addColumn<int>("shiftBits");
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << 1 << 0;
    QTest::newRow("right with Shift")
        << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << 2 << 1;
    QTest::newRow("middle with Ctrl and Alt")
        << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier) << 4
        << 6;
    QTest::newRow("left with all three")
        << Qt::LeftButton
        << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << 1
        << 7;
}

// Button and Shift as bits, the point in twips of the client area: a press and a release name the
// button that changed, a move every button held.
void tst_Form::mouseEventsArriveInTwips()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, buttonBit);
    QFETCH(int, shiftBits);
    PlainForm form;
    form.Show();
    FormSurface *surface = form.window()->surface();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, surface->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        QApplication::sendEvent(surface, &event);
    };
    send(QEvent::MouseButtonPress, {20, 10}, button);
    send(QEvent::MouseMove, {30.5, -4}, button);
    send(QEvent::MouseButtonRelease, {30.5, -4}, Qt::NoButton);
    const QList<MouseCall> expected = {
        {QStringLiteral("down"), buttonBit, shiftBits, 300, 150},
        {QStringLiteral("move"), buttonBit, shiftBits, 457.5, -60},
        {QStringLiteral("up"), buttonBit, shiftBits, 457.5, -60},
    };
    QCOMPARE(form.calls, expected);
}

// After End no form shows again and no event reaches one: no mouse event, no control's signal,
// no closing of its window. Last, as a program ends once.
void tst_Form::endStopsEverything()
{
    PlainForm form;
    form.Show();
    FormWindow *window = form.window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    form.command->trigger();
    QCOMPARE(form.clicks, 1);
    QTimer::singleShot(0, qApp, [] { Form::End(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(Form::hasEnded());

    QTest::mouseClick(window->surface(), Qt::LeftButton, {}, QPoint(20, 10));
    QVERIFY(form.calls.isEmpty());
    form.command->trigger();
    QCOMPARE(form.clicks, 1);
    window->close();
    QCOMPARE(form.unloads, 0);
    QVERIFY(form.window());
    form.Unload();
    form.Show();
    QVERIFY(!form.window());
    QCOMPARE(form.loads, 1);
}

QTEST_MAIN(tst_Form)
#include "tst_form.moc"
