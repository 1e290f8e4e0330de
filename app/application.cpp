#include "application.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QtEndian>

// The icon as the build drew it from its SVG, at each size the program carries: for each, its side
// length as a 32-bit big-endian number, then rows of premultiplied 8-bit red, green, blue and
// alpha. Drawing the SVG, or decoding PNG pictures, would cost about a millisecond at every start.
QIcon applicationIcon()
{
    const QByteArray pixels =
        QResource(QStringLiteral(":/icons/windowicon.rgba")).uncompressedData();
    QIcon icon;
    qsizetype at = 0;
    while (at + qsizetype(sizeof(quint32)) <= pixels.size()) {
        const int side = int(qFromBigEndian<quint32>(pixels.constData() + at));
        at += sizeof(quint32);
        const qsizetype bytes = qsizetype(side) * side * 4;
        if (side <= 0 || bytes > pixels.size() - at)
            break; // GCOVR_EXCL_LINE: only a damaged build leaves a picture short
        const QImage picture(reinterpret_cast<const uchar *>(pixels.constData() + at), side, side,
                             qsizetype(side) * 4, QImage::Format_RGBA8888_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(picture));
        at += bytes;
    }
    return icon;
}

void describeApplication(QApplication &application)
{
    application.setApplicationName(QStringLiteral("Quillora"));
    application.setApplicationVersion(QStringLiteral(QUILLORA_VERSION));
    application.setOrganizationName(QStringLiteral("Ardelvan"));
    // Matches the installed launcher, so the desktop groups the window under it.
    application.setDesktopFileName(QStringLiteral(QUILLORA_APP_ID));
}
