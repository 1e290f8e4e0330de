// Renders the pictures of the drawing window that the documentation shows: the start state, and
// the window after a few figures have been dragged with the real mouse handlers, each on a light
// desktop and on a dark one.
//
// Usage: quillora-screenshots <output folder>

#include "form1.h"
#include "formdriver.h"
#include "formsurface.h"
#include "formwindow.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

namespace {

// A figure dragged with the mouse, from and to in twips of the client area.
struct Figure
{
    FigureKind kind;
    int red, green, blue, thickness;
    QPointF from, to;
};

bool save(QWidget *window, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "quillora-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The start window and a drawing, saved as start<suffix>.png and drawing<suffix>.png.
bool renderPictures(const QDir &folder, const QString &suffix)
{
    Form1 form;
    form.Show();
    FormWindow *window = form.window();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    if (!save(window, folder, QStringLiteral("start%1.png").arg(suffix)))
        return false;

    FormDriver driver(form);
    driver.ui().Check1->setChecked(true);
    const Figure figures[] = {
        {FigureKind::Rectangle, 255, 0, 0, 1, {690, 2400}, {2595, 3690}},
        {FigureKind::Circle, 0, 128, 255, 1, {2190, 3000}, {4890, 4695}},
        {FigureKind::RoundedRectangle, 255, 192, 0, 1, {3600, 2250}, {4995, 3300}},
        {FigureKind::Line, 0, 160, 0, 6, {600, 4695}, {3000, 2295}},
        {FigureKind::Line, 128, 0, 128, 2, {795, 4800}, {5100, 4095}},
    };
    for (const Figure &figure : figures) {
        driver.chooseStyle(figure.kind, figure.red, figure.green, figure.blue, figure.thickness);
        driver.drag(figure.from, figure.to, 8);
    }
    QCoreApplication::processEvents();
    return save(window, folder, QStringLiteral("drawing%1.png").arg(suffix));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillora-screenshots <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QApplication::setPalette(FormDriver::lightDesktopPalette());
    if (!renderPictures(folder, QString()))
        return 1;
    QApplication::setPalette(FormDriver::darkDesktopPalette());
    return renderPictures(folder, QStringLiteral("-dark")) ? 0 : 1;
}
