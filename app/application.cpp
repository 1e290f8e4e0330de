#include "application.h"

#include <QApplication>
#include <QIcon>

void describeApplication(QApplication &application)
{
    application.setApplicationName(QStringLiteral("Quillora"));
    application.setApplicationVersion(QStringLiteral(QUILLORA_VERSION));
    application.setOrganizationName(QStringLiteral("Ardelvan"));
    // Matches the installed launcher, so the desktop groups the window under it.
    application.setDesktopFileName(QStringLiteral("org.ardelvan.Quillora"));
    application.setWindowIcon(QIcon(QStringLiteral(":/icons/org.ardelvan.Quillora.svg")));
}
