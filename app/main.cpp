#include "form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillora"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLORA_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Ardelvan"));

    Form1 form1;
    form1.Show();
    return app.exec();
}
