// Prints the colour of screen pixels as #rrggbb, one line for each x y pair given, read from the
// real X server the end-to-end test runs the program on.
//
// Usage: quillora-xpixel x y [x y ...]

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: quillora-xpixel x y [x y ...]\n");
        return 2;
    }
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    for (int i = 1; i + 1 < argc; i += 2) {
        const QColor colour = screen.pixelColor(std::atoi(argv[i]), std::atoi(argv[i + 1]));
        std::printf("%s\n", qPrintable(colour.name()));
    }
    return 0;
}
