// Looks for the drawing window's canvas in a screenshot of a whole screen: the canvas with its
// frame, exactly as the window paints it at the start, rendered here on Qt's offscreen platform.
// Prints where the canvas lies on the screen, or fails when the screenshot does not show it.
//
// Usage: quillora-findcanvas <screenshot.png>

#include "formdriver.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace {

// Colours in screenshots may be rounded slightly differently from the offscreen rendering.
bool similar(QRgb a, QRgb b)
{
    constexpr int tolerance = 8;
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

bool showsAt(const QImage &screen, const QImage &canvas, int left, int top)
{
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (!similar(screen.pixel(left + x, top + y), canvas.pixel(x, y)))
                return false;
        }
    }
    return true;
}

QImage startCanvas()
{
    Form1 form;
    form.Show();
    const FormDriver driver(form);
    return driver.rendered().copy(driver.canvas()).convertToFormat(QImage::Format_RGB32);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_SCALE_FACTOR");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillora-findcanvas <screenshot.png>\n");
        return 2;
    }
    const QImage screen =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (screen.isNull()) {
        std::fprintf(stderr, "quillora-findcanvas: cannot read %s\n", argv[1]);
        return 2;
    }
    const QImage canvas = startCanvas();
    for (int top = 0; top + canvas.height() <= screen.height(); ++top) {
        for (int left = 0; left + canvas.width() <= screen.width(); ++left) {
            if (showsAt(screen, canvas, left, top)) {
                std::printf("%d %d %d %d\n", left, top, canvas.width(), canvas.height());
                return 0;
            }
        }
    }
    std::fprintf(stderr, "quillora-findcanvas: no %d x %d canvas in %s\n", canvas.width(),
                 canvas.height(), argv[1]);
    return 1;
}
