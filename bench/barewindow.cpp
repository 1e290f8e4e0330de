#include "barewindow.h"

#include <QMainWindow>
#include <QMenuBar>

void addMenuBar(QMainWindow &window)
{
    window.menuBar()->addAction(QStringLiteral("&Reset"));
    window.menuBar()->addAction(QStringLiteral("&Exit"));
}

QMainWindow *makeBareWindow()
{
    auto *window = new QMainWindow;
    addMenuBar(*window);
    auto *client = new QWidget;
    client->setFixedSize(BareClientSize);
    window->setCentralWidget(client);
    return window;
}
