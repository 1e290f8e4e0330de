// Renders the pictures of the drawing window that the documentation shows: the start state, and
// the window after a few figures have been dragged with the real mouse handlers, each on a light
// desktop and on a dark one.
//
// Usage: quillora-screenshots <output folder>

#include "form1.h"
#include "formdriver.h"
#include "formsurface.h"
#include "formwindow.h"
#include "twips.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

namespace {

QPoint logicalPoint(float x, float y)
{
    return QPoint(int(Twips::toLogical(x)), int(Twips::toLogical(y)));
}

void drag(QWidget *surface, QPoint from, QPoint to)
{
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 8; ++step)
        QTest::mouseMove(surface, from + (to - from) * step / 8);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
}

struct Figure
{
    OptionButton *kind;
    int red, green, blue, thickness;
    QPoint from, to;
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

    Form1Controls *ui = form.controls();
    ui->Check1->setChecked(true);
    const Figure figures[] = {
        {ui->Option3, 255, 0, 0, 1, logicalPoint(700, 2400), logicalPoint(2600, 3700)},
        {ui->Option1, 0, 128, 255, 1, logicalPoint(2200, 3000), logicalPoint(4900, 4700)},
        {ui->Option4, 255, 192, 0, 1, logicalPoint(3600, 2250), logicalPoint(5000, 3300)},
        {ui->Option2, 0, 160, 0, 6, logicalPoint(600, 4700), logicalPoint(3000, 2300)},
        {ui->Option2, 128, 0, 128, 2, logicalPoint(800, 4800), logicalPoint(5100, 4100)},
    };
    for (const Figure &figure : figures) {
        figure.kind->setChecked(true);
        ui->HScroll(0)->setValue(figure.red);
        ui->HScroll(1)->setValue(figure.green);
        ui->HScroll(2)->setValue(figure.blue);
        ui->HScroll1->setValue(figure.thickness);
        drag(window->surface(), figure.from, figure.to);
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
