// Reads the screen of the real X server the end-to-end tests run the program on.
//
// Usage: quillora-xpixel x y [x y ...]
//            prints the colour of each pixel as #rrggbb, one line for each x y pair
//        quillora-xpixel --contrast x y width height
//            prints, for that area, the contrast of its darkest pixel against its most common
//            colour, its background, then the two colours: "21.00 #000000 #ffffff"

#include "contrast.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

QImage grab(int x, int y, int width, int height)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, x, y, width, height).toImage();
}

int printContrast(const QImage &area)
{
    QHash<QRgb, int> counts;
    QColor darkest = Qt::white;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            const QColor color = area.pixelColor(x, y);
            ++counts[color.rgb()];
            if (Contrast::relativeLuminance(color) < Contrast::relativeLuminance(darkest))
                darkest = color;
        }
    }
    if (counts.isEmpty())
        return 1;
    const QRgb background = std::max_element(counts.cbegin(), counts.cend()).key();
    std::printf("%.2f %s %s\n", Contrast::ratio(darkest, QColor(background)),
                qPrintable(darkest.name()), qPrintable(QColor(background).name()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc == 6 && std::strcmp(argv[1], "--contrast") == 0) {
        const auto number = [argv](int index) { return std::atoi(argv[index]); };
        return printContrast(grab(number(2), number(3), number(4), number(5)));
    }
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr,
                     "usage: quillora-xpixel x y [x y ...]\n"
                     "       quillora-xpixel --contrast x y width height\n");
        return 2;
    }
    const QImage screen = grab(0, 0, -1, -1);
    for (int i = 1; i + 1 < argc; i += 2) {
        const QColor color = screen.pixelColor(std::atoi(argv[i]), std::atoi(argv[i + 1]));
        std::printf("%s\n", qPrintable(color.name()));
    }
    return 0;
}
