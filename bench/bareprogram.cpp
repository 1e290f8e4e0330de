// A bare Qt Widgets program: the program's window size and menu bar, nothing else. The start-up
// benchmark runs it beside the program as the baseline of a whole process's start-up.

#include "barewindow.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow *window = makeBareWindow();
    window->show();
    const int status = app.exec();
    delete window;
    return status;
}
