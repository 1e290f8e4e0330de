// A seeded storm of everything a user can do to the window, with the program's invariants
// checked after every event. QUILLORA_STORM_EVENTS sets the number of events for each seed, and
// QUILLORA_STORM_SEED runs that one seed instead of the fixed ones, to replay a failure.

#include "canvas.h"
#include "clientarea.h"
#include "formdriver.h"
#include "startstate.h"

#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cstdio>
#include <random>

namespace {

class Storm
{
public:
    Storm(Form1 &form, unsigned seed) : m_form(form), m_random(seed) { }

    // Does one random thing and says what, for the log.
    QString step();
    // Reset destroys the window that held the pointer, and with it the grab.
    void forgetButtons() { m_held = {}; }

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_random); }
    float coordinate(float low, float high);
    QPointF point();
    QString mouse();
    QString key();
    QString scrollBar();
    QString reset();

    Form1 &m_form;
    std::mt19937 m_random;
    Qt::MouseButtons m_held;
    std::unique_ptr<FormDriver> m_driver;
    const Qt::MouseButton m_buttons[3] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};

    FormDriver &driver()
    {
        if (!m_driver || &m_driver->ui() != m_form.controls())
            m_driver = std::make_unique<FormDriver>(m_form);
        return *m_driver;
    }
};

// Inside the canvas, on its edges, or far outside the window.
float Storm::coordinate(float low, float high)
{
    switch (pick(6)) {
    case 0:
        return low;
    case 1:
        return high;
    case 2:
        return std::uniform_real_distribution<float>(-1e6f, 1e6f)(m_random);
    case 3:
        return std::uniform_real_distribution<float>(-2000, 0)(m_random);
    default:
        return std::uniform_real_distribution<float>(low - 500, high + 500)(m_random);
    }
}

QPointF Storm::point()
{
    if (pick(4) == 0) // anywhere on the window, controls included
        return {std::uniform_real_distribution<float>(0, ClientArea::Width)(m_random),
                std::uniform_real_distribution<float>(0, ClientArea::Height)(m_random)};
    return {coordinate(Canvas::Left, Canvas::Right), coordinate(Canvas::Top, Canvas::Bottom)};
}

QString Storm::mouse()
{
    const QPointF at = point();
    const Qt::MouseButton button = m_buttons[pick(3)];
    const float x = float(at.x()), y = float(at.y());
    switch (pick(4)) {
    case 0:
        if (m_held & button)
            break;
        m_held |= button;
        driver().press(x, y, button);
        return QStringLiteral("press %1 at (%2, %3)").arg(int(button)).arg(x).arg(y);
    case 1:
        if (!(m_held & button))
            break;
        m_held &= ~button;
        driver().release(x, y, button);
        return QStringLiteral("release %1 at (%2, %3)").arg(int(button)).arg(x).arg(y);
    }
    driver().move(x, y);
    return QStringLiteral("move to (%1, %2)").arg(x).arg(y);
}

QString Storm::key()
{
    const Qt::Key keys[] = {Qt::Key_Tab,      Qt::Key_Backtab, Qt::Key_Left,  Qt::Key_Right,
                            Qt::Key_Up,       Qt::Key_Down,    Qt::Key_Space, Qt::Key_PageUp,
                            Qt::Key_PageDown, Qt::Key_Home,    Qt::Key_End,   Qt::Key_R,
                            Qt::Key_X};
    const Qt::Key key = keys[pick(std::size(keys))];
    QWidget *target = QApplication::focusWidget();
    if (!target || target->window() != m_form.window())
        target = m_form.window();
    QTest::keyClick(target, key);
    return QStringLiteral("key %1 on %2")
        .arg(QKeySequence(key).toString(), target->metaObject()->className());
}

QString Storm::scrollBar()
{
    Form1Controls &ui = *m_form.controls();
    HScrollBar *bars[] = {ui.HScroll(0), ui.HScroll(1), ui.HScroll(2), ui.HScroll1};
    HScrollBar *bar = bars[pick(4)];
    const QPoint at(pick(bar->width()), pick(bar->height()));
    if (pick(3) == 0) {
        // A thumb drag: press, a few moves, release.
        QTest::mousePress(bar, Qt::LeftButton, {}, at);
        for (int i = 0; i < 3; ++i)
            QTest::mouseMove(bar, QPoint(pick(bar->width() * 2) - bar->width() / 2, at.y()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(pick(bar->width()), at.y()));
        return QStringLiteral("drag on scroll bar %1").arg(bar->x());
    }
    QTest::mouseClick(bar, Qt::LeftButton, {}, at);
    return QStringLiteral("click on scroll bar %1 at %2").arg(bar->x()).arg(at.x());
}

QString Storm::reset()
{
    FormWindow *window = m_form.window();
    if (pick(2) == 0) {
        QTest::keyClick(window, Qt::Key_R, Qt::AltModifier);
        return QStringLiteral("Alt+R");
    }
    QMenuBar *bar = window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().at(0)).center());
    return QStringLiteral("Reset from the menu");
}

QString Storm::step()
{
    Form1Controls &ui = *m_form.controls();
    const int choice = pick(1000);
    if (choice < 700)
        return mouse();
    if (choice < 800)
        return key();
    if (choice < 880)
        return scrollBar();
    if (choice < 960) {
        QAbstractButton *buttons[] = {ui.Option1, ui.Option2, ui.Option3, ui.Option4, ui.Check1};
        QAbstractButton *button = buttons[pick(5)];
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        return QStringLiteral("click %1").arg(button->text());
    }
    if (choice < 998) {
        ui.Check1->setChecked(true);
        return QStringLiteral("tick New Shape");
    }
    return reset();
}

} // namespace

class tst_EventStorm : public QObject
{
    Q_OBJECT

private slots:
    void storm_data();
    void storm();
};

void tst_EventStorm::storm_data()
{
    QTest::addColumn<unsigned>("seed");
    bool given = false;
    const unsigned seed = qEnvironmentVariable("QUILLORA_STORM_SEED").toUInt(&given);
    const QList<unsigned> seeds =
        given ? QList<unsigned>{seed} : QList<unsigned>{1, 2026, 31337, 4242};
    for (unsigned seed : seeds)
        QTest::addRow("seed %u", seed) << seed;
}

void tst_EventStorm::storm()
{
    QFETCH(unsigned, seed);
    const int events = qEnvironmentVariableIntValue("QUILLORA_STORM_EVENTS") > 0
        ? qEnvironmentVariableIntValue("QUILLORA_STORM_EVENTS")
        : 25000;

    Form1 form;
    form.Show();
    QVERIFY(QTest::qWaitForWindowActive(form.window()));
    const QImage startPicture = FormDriver(form).screen();
    Storm storm(form, seed);
    std::printf("event storm: seed %u, %d events (QUILLORA_STORM_SEED=%u replays it)\n", seed,
                events, seed);
    QStringList recent;
    int shapes = 1, lines = 1;

    for (int event = 0; event < events; ++event) {
        const QString what = storm.step();
        // The event loop deletes the window that a Reset replaced as soon as the command returns.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        recent.append(what);
        if (recent.size() > 8)
            recent.removeFirst();
        const auto where = [&] {
            return QStringLiteral("seed %1: the first %2 events reproduce it; the last were:\n  %3")
                .arg(seed)
                .arg(event + 1)
                .arg(recent.join(QStringLiteral("\n  ")))
                .toLocal8Bit();
        };
#define STORM_VERIFY(condition)                                                                    \
    if (!(condition))                                                                              \
    QFAIL(where().constData())

        STORM_VERIFY(form.window() && !Form::hasEnded());
        Form1Controls &ui = *form.controls();
        const bool wasReset =
            what == QLatin1String("Alt+R") || what.startsWith(QLatin1String("Reset"));
        if (wasReset) {
            STORM_VERIFY(!form.window()->isHidden());
            verifyStartState(form, startPicture);
            if (QTest::currentTestFailed())
                QFAIL(where().constData());
            shapes = lines = 1;
            storm.forgetButtons();
            continue;
        }
        STORM_VERIFY(ui.Shape1.Count() >= shapes && ui.Shape1.Count() <= 32768);
        STORM_VERIFY(ui.Line1.Count() >= lines && ui.Line1.Count() <= 32768);
        shapes = ui.Shape1.Count();
        lines = ui.Line1.Count();

        // Every figure starts on the canvas. A press keeps the size a reused figure had, so
        // its box may reach past the right or bottom edge until the pointer moves; after a move
        // the whole box of the figure being dragged is on the canvas. Every 500 events, all
        // figures are checked.
        const auto onCanvas = [](float x, float y) {
            return x >= 300 && x <= 5300 && y >= 2000 && y <= 5000;
        };
        const DrawingState &state = form.drawingState();
        const bool sweep = event % 500 == 499;
        const bool moved = state.DragActive && what.startsWith(QLatin1String("move"));
        for (int i = sweep ? 0 : std::min<int>(state.CurrentShape, shapes - 1); i < shapes; ++i) {
            const ShapeControl shape = ui.Shape1(i);
            STORM_VERIFY(onCanvas(shape.Left(), shape.Top()));
            if (sweep)
                continue;
            if (moved && state.DragKind != FigureKind::Line)
                STORM_VERIFY(onCanvas(shape.Left() + shape.Width(), shape.Top() + shape.Height()));
            break;
        }
        for (int i = sweep ? 0 : std::min<int>(state.CurrentLine, lines - 1); i < lines; ++i) {
            const LineControl line = ui.Line1(i);
            STORM_VERIFY(onCanvas(line.X1(), line.Y1()) && onCanvas(line.X2(), line.Y2()));
            if (!sweep)
                break;
        }
        if (event % 64 == 0)
            QCoreApplication::processEvents();
#undef STORM_VERIFY
    }
}

QTEST_MAIN(tst_EventStorm)
#include "tst_eventstorm.moc"
