// The forms layer beneath the program: a form of its own with one windowless shape, shown,
// unloaded, closed and ended, and the mouse events it gets.

#include "form.h"
#include "formsurface.h"
#include "formwindow.h"
#include "twips.h"

#include <QTest>
#include <QTimer>

namespace {

class PlainForm : public Form
{
public:
    int loads = 0;
    int unloads = 0;

protected:
    void load(FormWindow &window) override
    {
        ++loads;
        window.setCaption(QStringLiteral("Plain"));
        window.setClientSizeInTwips(3000, 1500);
        window.layer().addShape(ShapeData{150, 150, 600, 600});
    }
    void unload() override { ++unloads; }
};

} // namespace

class tst_Form : public QObject
{
    Q_OBJECT

private slots:
    void showLoadsOnce();
    void unloadDestroysTheWindowOnly();
    void unhandledMouseEventsChangeNothing();
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
}

void tst_Form::unloadDestroysTheWindowOnly()
{
    PlainForm form;
    form.Show();
    QPointer<FormWindow> window = form.window();
    form.Unload();
    form.Unload();
    QCOMPARE(form.unloads, 1);
    QVERIFY(!form.isLoaded());
    QVERIFY(window && window->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
    form.Show();
    QCOMPARE(form.loads, 2);
    QVERIFY(form.isLoaded());
}

// A form without mouse handlers of its own takes presses, moves and releases and does nothing.
void tst_Form::unhandledMouseEventsChangeNothing()
{
    PlainForm form;
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

// After End no form shows again and no mouse event reaches one. Last, as a program ends once.
void tst_Form::endStopsEverything()
{
    PlainForm form;
    form.Show();
    QTimer::singleShot(0, [] { Form::End(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(Form::hasEnded());
    form.Unload();
    form.Show();
    QVERIFY(!form.isLoaded());
    QCOMPARE(form.loads, 1);
}

QTEST_MAIN(tst_Form)
#include "tst_form.moc"
