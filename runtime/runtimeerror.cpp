#include "runtimeerror.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <limits>

void raiseRuntimeError(int number, const QString &description)
{
    const QString message =
        QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(description);
    std::fprintf(stderr, "%s\n", qPrintable(message));

    // A headless run has nobody to read a message box, and it would never return.
    const QString platform = QGuiApplication::platformName();
    if (qobject_cast<QApplication *>(QCoreApplication::instance())
        && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QGuiApplication::applicationDisplayName(), message);
    std::exit(EXIT_FAILURE);
}

qint16 toInteger(int value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        raiseRuntimeError(RuntimeError::Overflow, QStringLiteral("Overflow"));
    return qint16(value);
}
