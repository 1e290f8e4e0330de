// Renders the scalable icon to the PNG sizes the hicolor theme expects.
//
// Usage: quillora-icons <icon.svg> <output folder>   (writes <size>x<size>/apps/org.ardelvan.Quillora.png)

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillora-icons <icon.svg> <output folder>\n");
        return 2;
    }
    const QIcon icon(QString::fromLocal8Bit(argv[1]));
    const QDir output(QString::fromLocal8Bit(argv[2]));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QPixmap pixmap = icon.pixmap(size);
        if (pixmap.size() != QSize(size, size) || !output.mkpath(folder)
            || !pixmap.save(output.filePath(folder + QStringLiteral("/org.ardelvan.Quillora.png")))) {
            std::fprintf(stderr, "quillora-icons: cannot render the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}
