// Renders the scalable icon to the PNG sizes the hicolor theme expects, or to the pictures the
// program carries as its window icon.
//
// Usage: quillora-icons <icon.svg> <output folder> <size>...
//        (writes <size>x<size>/apps/<application id>.png for each size)
//        quillora-icons --pixels <icon.svg> <output file> <size>...
//        (writes, for each size, its side length as a 32-bit big-endian number and then the
//        picture's rows of premultiplied 8-bit red, green, blue and alpha)

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QImage render(const QIcon &icon, int size)
{
    const QImage picture = icon.pixmap(size).toImage();
    if (picture.size() != QSize(size, size))
        std::fprintf(stderr, "quillora-icons: cannot render the %dx%d icon\n", size, size);
    return picture.size() == QSize(size, size) ? picture : QImage();
}

bool writePngs(const QIcon &icon, const QDir &output, const QList<int> &sizes)
{
    for (int size : sizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QImage picture = render(icon, size);
        if (picture.isNull() || !output.mkpath(folder)
            || !picture.save(output.filePath(folder + QStringLiteral("/" QUILLORA_APP_ID ".png"))))
            return false;
    }
    return true;
}

bool writePixels(const QIcon &icon, const QString &path, const QList<int> &sizes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int size : sizes) {
        const QImage picture =
            render(icon, size).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        if (picture.isNull())
            return false;
        const quint32 side = qToBigEndian(quint32(size));
        file.write(reinterpret_cast<const char *>(&side), sizeof side);
        for (int row = 0; row < size; ++row)
            file.write(reinterpret_cast<const char *>(picture.constScanLine(row)),
                       qint64(size) * 4);
    }
    return file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool pixels = argc > 1 && std::strcmp(argv[1], "--pixels") == 0;
    const int first = pixels ? 2 : 1;
    if (argc < first + 3) {
        std::fprintf(stderr, "usage: quillora-icons [--pixels] <icon.svg> <output> <size>...\n");
        return 2;
    }
    const QIcon icon(QString::fromLocal8Bit(argv[first]));
    const QString output = QString::fromLocal8Bit(argv[first + 1]);
    QList<int> sizes;
    for (int argument = first + 2; argument < argc; ++argument)
        sizes.append(std::atoi(argv[argument]));
    const bool written =
        pixels ? writePixels(icon, output, sizes) : writePngs(icon, QDir(output), sizes);
    if (!written)
        std::fprintf(stderr, "quillora-icons: cannot write %s\n", qPrintable(output));
    return written ? 0 : 1;
}
