#include "application.h"
#include "form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    describeApplication(app);

    Form1 form1;
    form1.Show();
    return app.exec();
}
