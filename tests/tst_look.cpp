// The window keeps its own colours and shows every caption whole on any desktop: under the
// desktop's own colour scheme, a light one and a dark one, at the pixel ratio QT_SCALE_FACTOR sets
// for the run, and with whichever fonts the run's font configuration offers.

#include "contrast.h"
#include "formdriver.h"

#include <QStyleOptionButton>

namespace {

const QColor white(255, 255, 255);

enum class Scheme { Desktop, Light, Dark };

// A caption as the window shows it, in device pixels of the client area.
struct Caption
{
    QString name;
    // Where the text is drawn; nothing of it shows outside.
    QRect box;
    // The text as laid out in the box, with a pixel around it for the antialiased edge.
    QRect laidOut;
    // The text colour of the window's definition.
    QColor color;
    QString caption;
    QFont font;
    // Pixels kept free of ink at the right of the box and below it. A windowed control's box was
    // sized for its caption with room to spare; a label's box ends below its descenders, and a
    // label that sizes itself to its text may have ink up to its right edge.
    int spareRight = 1;
    int spareBelow = 1;
};

// The device pixels a rectangle of logical pixels covers: its edges round to the nearest pixel
// boundary, as the window's backing store places widgets.
QRect toDevice(const QRect &logical, qreal ratio)
{
    const auto edge = [ratio](int position) { return int(std::lround(position * ratio)); };
    return QRect(QPoint(edge(logical.left()), edge(logical.top())),
                 QPoint(edge(logical.left() + logical.width()) - 1,
                        edge(logical.top() + logical.height()) - 1));
}

bool isInk(QRgb pixel)
{
    return (pixel & RGB_MASK) != (white.rgb() & RGB_MASK);
}

// The text of a caption laid out in its box as the style lays it out.
QRect textIn(const QRect &box, const QFont &font, const QString &text)
{
    const QRect laidOut =
        QFontMetrics(font).boundingRect(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    return laidOut.adjusted(-1, -1, 1, 1);
}

QRect indicatorOf(QAbstractButton *button, QStyle::SubElement element)
{
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(element, &option, button).translated(button->pos());
}

double strongestContrast(const QImage &image, const QRect &area)
{
    double strongest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            strongest = std::max(strongest, Contrast::ratio(image.pixelColor(x, y), white));
    return strongest;
}

// The ink of the area: the smallest rectangle holding every pixel that is not white.
QRect inkIn(const QImage &image, const QRect &area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isInk(image.pixel(x, y)))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The size of the ink of the text drawn whole, with room all round, at the pixel ratio.
QSize wholeInk(const QString &text, const QFont &font, qreal ratio)
{
    QImage image((QSizeF(400, 200) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(20, 20, 360, 160), Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    return inkIn(image, image.rect()).size();
}

} // namespace

class tst_Look : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void captionsReadableAndWhole_data();
    void captionsReadableAndWhole();
    void backgroundsWhite_data();
    void backgroundsWhite();
    void indicatorsStandOut_data();
    void indicatorsStandOut();
    void controlsHideFiguresBeneath();
    void canvasFrameEdgesEven();
    void fontsChosenOnPurpose();
    void controlPaletteSharedAcrossResets();

private:
    void addSchemeRows(bool alsoBehindAnotherWindow = false);
    void show(Scheme scheme);
    // Shows the window in the scheme of the test's data row, with figures when the row asks, and
    // behind another window when the row asks.
    void showRow();
    void activateAnotherWindow();
    QList<Caption> captions() const;
    QRegion background() const;
    qreal ratio() const { return form->window()->surface()->devicePixelRatioF(); }
    QImage grab() const;
    void drawFigures();

    QPalette desktop;
    std::unique_ptr<Form1> form;
    std::unique_ptr<QWidget> otherWindow;
};

void tst_Look::initTestCase()
{
    desktop = QApplication::palette();
    qInfo("desktop palette: text %s on %s", qPrintable(desktop.color(QPalette::WindowText).name()),
          qPrintable(desktop.color(QPalette::Window).name()));
}

void tst_Look::cleanup()
{
    form.reset();
    otherWindow.reset();
    QApplication::setPalette(desktop);
}

// Each scheme at start and with figures drawn, in the active window; and, when asked, each of
// those again while another window is active.
void tst_Look::addSchemeRows(bool alsoBehindAnotherWindow)
{
    QTest::addColumn<Scheme>("scheme");
    QTest::addColumn<bool>("drawing");
    QTest::addColumn<bool>("active");
    for (bool active : {true, false}) {
        if (!active && !alsoBehindAnotherWindow)
            break;
        const char *where = active ? "" : ", behind another window";
        for (bool drawing : {false, true}) {
            const char *state = drawing ? "drawing" : "start";
            QTest::addRow("desktop scheme, %s%s", state, where)
                << Scheme::Desktop << drawing << active;
            QTest::addRow("light scheme, %s%s", state, where) << Scheme::Light << drawing << active;
            QTest::addRow("dark scheme, %s%s", state, where) << Scheme::Dark << drawing << active;
        }
    }
}

void tst_Look::show(Scheme scheme)
{
    if (scheme == Scheme::Light)
        QApplication::setPalette(FormDriver::lightDesktopPalette());
    else if (scheme == Scheme::Dark)
        QApplication::setPalette(FormDriver::darkDesktopPalette());
    form = std::make_unique<Form1>();
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form->window()));
}

// Figures of every kind, among them a thick line along the top edge of the canvas, right beneath
// "New Shape".
void tst_Look::showRow()
{
    QFETCH(Scheme, scheme);
    QFETCH(bool, drawing);
    QFETCH(bool, active);
    show(scheme);
    if (drawing)
        drawFigures();
    if (active)
        QVERIFY(QTest::qWaitForWindowActive(form->window()));
    else
        activateAnotherWindow();
}

// Another window takes the focus, as when the user turns to another program: the window's
// controls are drawn in their inactive colours.
void tst_Look::activateAnotherWindow()
{
    otherWindow = std::make_unique<QWidget>();
    otherWindow->resize(200, 100);
    otherWindow->show();
    otherWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(otherWindow.get()));
    QVERIFY(!form->window()->isActiveWindow());
}

void tst_Look::drawFigures()
{
    FormDriver driver(*form);
    Form1Controls &ui = *form->controls();
    ui.Check1->setChecked(true);
    ui.Option3->setChecked(true);
    ui.HScroll(0)->setValue(255);
    driver.drag({700, 2400}, {2600, 3700});
    ui.Option1->setChecked(true);
    ui.HScroll(2)->setValue(255);
    driver.drag({2200, 3000}, {4900, 4700});
    ui.Option2->setChecked(true);
    ui.HScroll(0)->setValue(0);
    ui.HScroll(2)->setValue(0);
    ui.HScroll1->setValue(10);
    driver.drag({400, 2000}, {5200, 2000});
}

// The client area with its controls as it paints itself, in device pixels from its own corner,
// whatever fraction of a device pixel the menu bar above it ends at.
QImage tst_Look::grab() const
{
    QCoreApplication::processEvents();
    return form->window()->surface()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QList<Caption> tst_Look::captions() const
{
    const Form1Controls &ui = *form->controls();
    const qreal r = ratio();
    QList<Caption> captions;
    const QRect title = ui.Frame1->captionBox().translated(ui.Frame1->pos());
    captions.append({QStringLiteral("Frame1"), toDevice(title, r),
                     toDevice(textIn(title, ui.Frame1->font(), ui.Frame1->title()), r), Qt::black,
                     ui.Frame1->title(), ui.Frame1->font()});
    for (OptionButton *option : {ui.Option1, ui.Option2, ui.Option3, ui.Option4}) {
        const QRect box = option->captionBox().translated(option->pos());
        captions.append({option->Caption(), toDevice(box, r),
                         toDevice(textIn(box, option->font(), option->text()), r), Qt::black,
                         option->text(), option->font()});
    }
    const QRect check = ui.Check1->captionBox().translated(ui.Check1->pos());
    captions.append({ui.Check1->text(), toDevice(check, r),
                     toDevice(textIn(check, ui.Check1->font(), ui.Check1->text()), r), Qt::black,
                     ui.Check1->text(), ui.Check1->font()});
    const WindowlessLayer &layer = form->window()->layer();
    for (const LabelControl &label :
         {ui.Label1, ui.Label2, ui.Label3, ui.Label4, ui.Label5, ui.Label6}) {
        QRect box = FigurePainter::bounds(layer, label.id(), r);
        // Where an element above the label covers the end of its box, as the swatch does the boxes
        // of "R", "G" and "B", the box is taken to end there.
        layer.forEachInStackingOrder([&](ElementId above) {
            const QRect cover = FigurePainter::bounds(layer, above, r);
            if (layer.stackingPosition(above) <= layer.stackingPosition(label.id())
                || !cover.intersects(box))
                return;
            if (cover.left() > box.left())
                box.setRight(cover.left() - 1);
            else if (cover.top() > box.top())
                box.setBottom(cover.top() - 1);
        });
        captions.append({label.Caption(), box, box, toQColor(label.ForeColor()), label.Caption(),
                         label.Font(), label.AutoSize() ? 0 : 1, 0});
    }
    return captions;
}

void tst_Look::captionsReadableAndWhole_data()
{
    addSchemeRows();
}

// Every caption shows in its colour, black ones at the enhanced contrast level at least, and
// whole: as large as the text drawn with room all round, and nothing of it on the last column or
// row of the box it is drawn in, where it would be cut off.
void tst_Look::captionsReadableAndWhole()
{
    showRow();
    const QImage screen = grab();
    for (const Caption &caption : captions()) {
        const QByteArray name = caption.name.toUtf8();
        const double contrast = strongestContrast(screen, caption.laidOut & caption.box);
        const QRect ink = inkIn(screen, caption.box);
        const QSize whole = wholeInk(caption.caption, caption.font, ratio());
        qInfo("%-17s contrast %5.2f : 1; its ink ends %d px before the right edge of its box; "
              "%d x %d px of ink, drawn whole %d x %d",
              name.constData(), contrast, caption.box.right() - ink.right(), ink.width(),
              ink.height(), whole.width(), whole.height());
        QVERIFY2(!ink.isEmpty(), name);
        QVERIFY2(ink.right() <= caption.box.right() - caption.spareRight, name);
        QVERIFY2(ink.bottom() <= caption.box.bottom() - caption.spareBelow, name);
        // Where the text on the window lies a fraction of a pixel apart from the text drawn whole,
        // its antialiased edges may fall on a pixel more or less.
        QVERIFY2(ink.width() >= whole.width() - 1 && ink.height() >= whole.height() - 1, name);
        if (caption.color == Qt::black)
            QVERIFY2(contrast >= Contrast::enhancedLevel, name);
        else
            QVERIFY2(qFuzzyCompare(contrast, Contrast::ratio(caption.color, white)), name);
    }
}

// The client area where nothing is drawn: the form's own free area, and the insides of the frame,
// the option buttons and the check box besides their captions and indicators.
QRegion tst_Look::background() const
{
    const Form1Controls &ui = *form->controls();
    const qreal r = ratio();
    QRegion free(toDevice(form->window()->surface()->rect(), r));
    for (QWidget *child :
         form->window()->surface()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        free -= toDevice(child->geometry(), r);
    const WindowlessLayer &layer = form->window()->layer();
    layer.forEachInStackingOrder(
        [&](ElementId id) { free -= FigurePainter::bounds(layer, id, r); });

    const QRect frame = ui.Frame1->geometry();
    const QRect title = ui.Frame1->captionBox().translated(frame.topLeft());
    // Inside the line that runs round the frame from half-way down its caption.
    QRegion inside = toDevice(frame.adjusted(2, title.height() / 2 + 2, -2, -2), r);
    inside -= toDevice(textIn(title, ui.Frame1->font(), ui.Frame1->title()), r);
    for (OptionButton *option : {ui.Option1, ui.Option2, ui.Option3, ui.Option4}) {
        inside -= toDevice(option->geometry(), r);
        QRegion own = toDevice(option->geometry(), r);
        own -= toDevice(indicatorOf(option, QStyle::SE_RadioButtonIndicator).adjusted(-2, -2, 2, 2),
                        r);
        const QRect caption = option->captionBox().translated(option->pos());
        own -= toDevice(textIn(caption, option->font(), option->text()), r);
        free += own;
    }
    free += inside;
    QRegion check = toDevice(ui.Check1->geometry(), r);
    check -=
        toDevice(indicatorOf(ui.Check1, QStyle::SE_CheckBoxIndicator).adjusted(-2, -2, 2, 2), r);
    check -= toDevice(textIn(ui.Check1->captionBox().translated(ui.Check1->pos()),
                             ui.Check1->font(), ui.Check1->text()),
                      r);
    return free + check;
}

void tst_Look::backgroundsWhite_data()
{
    addSchemeRows();
}

void tst_Look::backgroundsWhite()
{
    showRow();
    const QImage screen = grab();
    const QRegion area = background();
    QVERIFY(area.rectCount() > 0);
    for (const QRect &part : area) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            for (int x = part.left(); x <= part.right(); ++x) {
                if (isInk(screen.pixel(x, y)))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, not white")
                                         .arg(x)
                                         .arg(y)
                                         .arg(screen.pixelColor(x, y).name())));
            }
        }
    }
}

void tst_Look::indicatorsStandOut_data()
{
    addSchemeRows(true);
}

// Every indicator shows on the white form, and the chosen option and the ticked box are plain at
// a glance: only their indicators hold a mark as dark as text.
void tst_Look::indicatorsStandOut()
{
    showRow();
    Form1Controls &ui = *form->controls();
    for (bool ticked : {false, true}) {
        ui.Check1->setChecked(ticked);
        const QImage screen = grab();
        const auto contrastOf = [&](QAbstractButton *button, QStyle::SubElement indicator) {
            return strongestContrast(screen, toDevice(indicatorOf(button, indicator), ratio()));
        };
        for (OptionButton *option : {ui.Option1, ui.Option2, ui.Option3, ui.Option4}) {
            const double contrast = contrastOf(option, QStyle::SE_RadioButtonIndicator);
            qInfo("%-17s indicator, %s: strongest contrast %5.2f : 1",
                  qPrintable(option->Caption()), option->isChecked() ? "chosen" : "not chosen",
                  contrast);
            QVERIFY(contrast >= Contrast::nonTextLevel);
            QCOMPARE(contrast >= Contrast::enhancedLevel, option->isChecked());
        }
        const double contrast = contrastOf(ui.Check1, QStyle::SE_CheckBoxIndicator);
        qInfo("New Shape indicator, %s: strongest contrast %5.2f : 1", ticked ? "ticked" : "clear",
              contrast);
        QVERIFY(contrast >= Contrast::nonTextLevel);
        QCOMPARE(contrast >= Contrast::enhancedLevel, ticked);
    }
}

// A line ten pixels wide along the top edge of the canvas reaches up beneath "New Shape", which
// hides it there pixel for pixel, and shows just below it.
void tst_Look::controlsHideFiguresBeneath()
{
    show(Scheme::Desktop);
    FormDriver driver(*form);
    Form1Controls &ui = *form->controls();
    const QRect check = toDevice(ui.Check1->geometry(), ratio());
    const QImage before = grab().copy(check);
    ui.Check1->setChecked(true);
    ui.Option2->setChecked(true);
    ui.HScroll1->setValue(10);
    driver.drag({400, 2000}, {5200, 2000});
    ui.Check1->setChecked(false);
    QCOMPARE(ui.Line1(1).BorderWidth(), 10);
    const QImage after = grab();
    QCOMPARE(after.copy(check), before);
    const QRect lineBounds =
        FigurePainter::bounds(form->window()->layer(), ui.Line1(1).id(), ratio());
    QVERIFY(lineBounds.top() <= check.bottom());
    QCOMPARE(after.pixelColor(check.center().x(), check.bottom() + 1), QColor(Qt::black));
}

// Each edge of the canvas frame is as thick as a shape's border of one pixel, and nothing shows
// just outside or inside it: the line along the top edge and the tiny square at the corner lie
// within the frame's own pixels.
void tst_Look::canvasFrameEdgesEven()
{
    show(Scheme::Desktop);
    const QImage screen = grab();
    // The frame in device pixels, worked out by hand from (300, 2000) to (5300, 5000) twips, and
    // the width of its edges, a pixel of the window scaled and rounded.
    struct Frame
    {
        qreal ratio;
        QRect canvas;
        int edge;
    };
    const Frame frames[] = {{1, {20, 133, 333, 200}, 1},
                            {1.25, {25, 167, 417, 250}, 1},
                            {1.5, {30, 200, 500, 300}, 2},
                            {1.75, {35, 233, 583, 350}, 2},
                            {2, {40, 267, 667, 400}, 2}};
    const auto frame = std::find_if(std::begin(frames), std::end(frames), [this](const Frame &f) {
        return qFuzzyCompare(f.ratio, ratio());
    });
    QVERIFY2(frame != std::end(frames), "no expected frame for this QT_SCALE_FACTOR");
    const QRect canvas = frame->canvas;
    const int edge = frame->edge;
    const auto black = [&](int x, int y) { return screen.pixelColor(x, y) == Qt::black; };
    const auto whiteAt = [&](int x, int y) { return screen.pixelColor(x, y) == white; };
    // Three pixels out from each edge and three in from its inner side.
    for (int x = canvas.left() - 3; x <= canvas.right() + 3; ++x) {
        const bool across = x >= canvas.left() && x <= canvas.right();
        for (int step = 1; step <= 3; ++step) {
            QVERIFY2(whiteAt(x, canvas.top() - step) && whiteAt(x, canvas.bottom() + step),
                     qPrintable(QStringLiteral("column %1 outside").arg(x)));
            if (across && x >= canvas.left() + edge && x <= canvas.right() - edge)
                QVERIFY2(whiteAt(x, canvas.top() + edge - 1 + step)
                             && whiteAt(x, canvas.bottom() - edge + 1 - step),
                         qPrintable(QStringLiteral("column %1 inside").arg(x)));
        }
        for (int row = 0; across && row < edge; ++row)
            QVERIFY2(black(x, canvas.top() + row) && black(x, canvas.bottom() - row),
                     qPrintable(QStringLiteral("column %1").arg(x)));
    }
    for (int y = canvas.top() - 3; y <= canvas.bottom() + 3; ++y) {
        const bool down = y >= canvas.top() && y <= canvas.bottom();
        for (int step = 1; step <= 3; ++step) {
            QVERIFY2(whiteAt(canvas.left() - step, y) && whiteAt(canvas.right() + step, y),
                     qPrintable(QStringLiteral("row %1 outside").arg(y)));
            if (down && y >= canvas.top() + edge && y <= canvas.bottom() - edge)
                QVERIFY2(whiteAt(canvas.left() + edge - 1 + step, y)
                             && whiteAt(canvas.right() - edge + 1 - step, y),
                         qPrintable(QStringLiteral("row %1 inside").arg(y)));
        }
        for (int column = 0; down && column < edge; ++column)
            QVERIFY2(black(canvas.left() + column, y) && black(canvas.right() - column, y),
                     qPrintable(QStringLiteral("row %1").arg(y)));
    }
}

// The faces found for the captions, headings and values; a run that names the faces it expects
// checks them, as the run with only the fonts of a stock Debian desktop does.
void tst_Look::fontsChosenOnPurpose()
{
    show(Scheme::Desktop);
    const Form1Controls &ui = *form->controls();
    const QFontInfo control(ui.Option1->font()), heading(ui.Label4.Font()), value(ui.Label5.Font());
    qInfo("controls: %s %d px; headings: %s; values: %s", qPrintable(control.family()),
          control.pixelSize(), qPrintable(heading.family()), qPrintable(value.family()));
    const QString expected = qEnvironmentVariable("QUILLORA_TEST_FACES");
    if (!expected.isEmpty()) {
        QCOMPARE(QStringList({control.family(), heading.family(), value.family()}).join(u','),
                 expected);
    }
    // "Rounded Rectangle" wraps onto two lines; every other caption keeps to one.
    QCOMPARE(ui.Option4->text(), QStringLiteral("Rounded\nRectangle"));
    for (OptionButton *option : {ui.Option1, ui.Option2, ui.Option3})
        QCOMPARE(option->text(), option->Caption());
    QVERIFY(ui.Option1->font().pixelSize() <= 11); // 8.25 points
}

// The controls' palette is made once and shared: a window rebuilt by Reset gets the very same
// one, so the style finds its cached pictures of the controls again instead of making new ones.
void tst_Look::controlPaletteSharedAcrossResets()
{
    show(Scheme::Desktop);
    const auto keys = [this] {
        const Form1Controls &ui = *form->controls();
        QList<qint64> keys;
        const QList<QWidget *> controls = {ui.Frame1, ui.Option1, ui.Option4, ui.Check1};
        for (const QWidget *control : controls)
            keys.append(control->palette().cacheKey());
        return keys;
    };
    const QList<qint64> before = keys();
    form->controls()->mnuReset->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(keys(), before);
    QCOMPARE(before.count(before.first()), before.size());
}

QTEST_MAIN(tst_Look)
#include "tst_look.moc"
