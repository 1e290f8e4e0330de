#include "form1controls.h"

#include "canvas.h"
#include "clientarea.h"
#include "formaccessibility.h"
#include "formsurface.h"
#include "formwindow.h"
#include "twips.h"

#include <QMenuBar>

namespace {

// The boxes of the controls were sized for a narrow sans-serif face of Arial's width, and these
// faces have its metrics; DejaVu Sans, which every Debian desktop has, is some ten per cent
// wider, and the serif faces likewise run from Times' width to DejaVu Serif.
QStringList sansFaces()
{
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial"),
            QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")};
}

// Every caption and label is plain Latin text that each of these faces covers, so the text is
// neither shaped nor given fallback faces: setting those up for each face and size is the larger
// part of what the window's fonts add to start-up.
QFont fontOf(const QStringList &faces, QFont::StyleHint hint, qreal points, bool bold)
{
    QFont font;
    font.setFamilies(faces);
    font.setStyleHint(hint);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferNoShaping | QFont::NoFontMerging));
    font.setPixelSize(Twips::fontPixelSize(points));
    font.setBold(bold);
    return font;
}

// The window's heading and value fonts; other text uses the system's small default font.
QFont headingFont()
{
    return fontOf({QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                   QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif")},
                  QFont::Serif, 13.5, true);
}

QFont valueFont()
{
    return fontOf(sansFaces(), QFont::SansSerif, 12, true);
}

QFont controlFont()
{
    return fontOf(sansFaces(), QFont::SansSerif, 8.25, false);
}

// The controls' font is made a pixel smaller at a time until every caption fits its box: the two
// lines of "Rounded Rectangle" barely fit even a face of Arial's width, and a wider face needs
// narrower letters still.
void fitControlFont(QWidget *client, const Form1Controls &ui)
{
    const auto fits = [&ui] {
        return ui.Frame1->captionFits() && ui.Option1->captionFits() && ui.Option2->captionFits()
            && ui.Option3->captionFits() && ui.Option4->captionFits() && ui.Check1->captionFits();
    };
    constexpr int smallestReadable = 8;
    QFont font = client->font();
    while (!fits() && font.pixelSize() > smallestReadable) {
        font.setPixelSize(font.pixelSize() - 1);
        client->setFont(font);
    }
}

// The frame, the option buttons and the check box are black on white whatever the desktop's
// colour scheme. One palette serves every window, so the style's cached pictures of these
// controls are shared too, rather than made anew after each Reset.
const QPalette &blackOnWhite()
{
    static const QPalette palette = twoColorPalette(toQColor(vbWhite), toQColor(vbBlack));
    return palette;
}

LabelControl addLabel(WindowlessLayer &layer, const QString &caption, float left, float top,
                      float width, float height, const QFont &font, ColorValue foreColor,
                      bool autoSize)
{
    LabelData data;
    data.caption = caption;
    data.font = font;
    data.left = left;
    data.top = top;
    data.width = width;
    data.height = height;
    data.foreColor = foreColor;
    LabelControl label(&layer, layer.addLabel(data));
    label.setAutoSize(autoSize);
    return label;
}

ShapeControl addShape(WindowlessLayer &layer, float left, float top, float width, float height,
                      ColorValue backColor, bool backOpaque)
{
    ShapeData data;
    data.left = left;
    data.top = top;
    data.width = width;
    data.height = height;
    data.backColor = backColor;
    data.backOpaque = backOpaque;
    return ShapeControl(&layer, layer.addShape(data));
}

template <class Control>
Control *place(Control *control, float left, float top, float width, float height)
{
    placeInTwips(control, left, top, width, height);
    return control;
}

HScrollBar *colorSlider(QWidget *parent, float top, const QString &name)
{
    auto *slider = place(new HScrollBar(parent), 1680, top, 2775, 255);
    slider->setAccessibleName(name);
    slider->setRangeAndSteps(0, 255, 1, 16);
    return slider;
}

} // namespace

Form1Controls::Form1Controls(FormWindow &window)
{
    window.setCaption(QStringLiteral("Quillora by Ardelvan"));
    window.setBackColor(vbWhite);
    window.setClientSizeInTwips(ClientArea::Width, ClientArea::Height);
    mnuReset = window.menuBar()->addAction(QStringLiteral("&Reset"));
    mnuExit = window.menuBar()->addAction(QStringLiteral("&Exit"));

    // Windowed controls, created from the bottom of the stack to the top.
    QWidget *client = window.surface();
    client->setFont(controlFont());
    Frame1 = place(new Frame(QStringLiteral("Shape?"), client), 240, 120, 1335, 1455);
    Option1 = place(new OptionButton(QStringLiteral("Circle"), client), 360, 360, 975, 255);
    Option2 = place(new OptionButton(QStringLiteral("Line"), client), 360, 600, 975, 255);
    Option3 = place(new OptionButton(QStringLiteral("Rectangle"), client), 360, 840, 1095, 255);
    Check1 = place(new CheckBox(QStringLiteral("New Shape"), client), 360, 1680, 1215, 255);
    HScroll.assign(0, colorSlider(client, 480, QStringLiteral("Red")));
    HScroll.assign(1, colorSlider(client, 720, QStringLiteral("Green")));
    HScroll.assign(2, colorSlider(client, 960, QStringLiteral("Blue")));
    HScroll1 = place(new HScrollBar(client), 1680, 1680, 2775, 255);
    HScroll1->setRangeAndSteps(1, 10, 1, 1);
    HScroll1->setAccessibleName(QStringLiteral("Border Thickness"));
    Option4 =
        place(new OptionButton(QStringLiteral("Rounded Rectangle"), client), 360, 1080, 1095, 375);
    Option1->setValue(Vb::True);
    const QList<QWidget *> blackOnWhiteControls = {Frame1,  Option1, Option2,
                                                   Option3, Option4, Check1};
    for (QWidget *control : blackOnWhiteControls)
        control->setPalette(blackOnWhite());
    fitControlFont(client, *this);

    // Tab order follows the definition's tab indexes.
    const QList<QWidget *> tabOrder = {Option1,    Option2,    Option3,  Check1, HScroll(0),
                                       HScroll(1), HScroll(2), HScroll1, Option4};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Windowless controls, likewise from the bottom up.
    WindowlessLayer &layer = window.layer();
    Shape2 =
        addShape(layer, Canvas::Left, Canvas::Top, Canvas::Width, Canvas::Height, vbWhite, false);
    window.accessibility().setCanvas(Shape2.id(), QStringLiteral("Canvas"));
    // The first shape and line show at the canvas's top left corner: a tiny black square and a
    // line along the canvas's top edge, which the first drags reshape.
    Shape1.assign(0, addShape(layer, Canvas::Left, Canvas::Top, 15, 15, vbBlack, true));
    Shape1(0).setFillColor(vbWhite);
    LineData line;
    line.x1 = Canvas::Left;
    line.y1 = Canvas::Top;
    line.x2 = Canvas::Right;
    line.y2 = Canvas::Top;
    Line1.assign(0, LineControl(&layer, layer.addLine(line)));
    Label1 = addLabel(layer, QStringLiteral("R"), 4560, 480, 255, 255, valueFont(), RGB(255, 0, 0),
                      false);
    Label2 = addLabel(layer, QStringLiteral("G"), 4560, 720, 255, 255, valueFont(), RGB(0, 192, 0),
                      false);
    Label3 = addLabel(layer, QStringLiteral("B"), 4560, 960, 255, 255, valueFont(), RGB(0, 0, 255),
                      false);
    ColorShape = addShape(layer, 4800, 480, 735, 735, vbBlack, true);
    window.accessibility().setElementName(ColorShape.id(), QStringLiteral("Color preview"));
    Label4 = addLabel(layer, QStringLiteral("Color?"), 2640, 120, 885, 315, headingFont(), vbBlack,
                      true);
    Label5 =
        addLabel(layer, QStringLiteral("1"), 4560, 1680, 375, 255, valueFont(), vbBlack, false);
    Label6 = addLabel(layer, QStringLiteral("Border Thickness"), 2160, 1320, 2265, 315,
                      headingFont(), vbBlack, true);

    // A screen reader hears the option buttons as the group "Shape?", each slider named by the
    // label beside it, and the colour sliders described by the colour they mix. The number beside
    // the thickness slider is the slider's own value, which a screen reader says anyway.
    AccessibleRelations &relations = window.accessibility().relations();
    relations.setGroup(Frame1, {Option1, Option2, Option3, Option4});
    const LabelControl *colorLabels[] = {&Label1, &Label2, &Label3};
    for (int index = 0; index < HScroll.Count(); ++index) {
        relations.setLabel(colorLabels[index]->id(), HScroll(index));
        relations.setDescription(ColorShape.id(), HScroll(index));
    }
    relations.setLabel(Label6.id(), HScroll1);
}

OptionButton *Form1Controls::optionFor(FigureKind kind) const
{
    switch (kind) {
    case FigureKind::Circle:
        return Option1;
    case FigureKind::Line:
        return Option2;
    case FigureKind::Rectangle:
        return Option3;
    case FigureKind::RoundedRectangle:
        return Option4;
    }
    Q_UNREACHABLE();
    return nullptr;
}

// The buttons are exclusive and one of them starts selected, so exactly one is selected. "Line"
// decides between a line and a shape; among the shapes a later button in this order would win.
FigureKind Form1Controls::chosenFigureKind() const
{
    for (FigureKind kind : {FigureKind::Line, FigureKind::Rectangle, FigureKind::Circle})
        if (optionFor(kind)->Value() == Vb::True)
            return kind;
    return FigureKind::RoundedRectangle;
}
