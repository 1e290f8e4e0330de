#include "application.h"
#include "form1.h"
#include "startup.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    std::jthread fontConfiguration = preloadFontConfiguration();
    QApplication app(argc, argv);
    // Qt would read fontconfig's configuration a second time rather than wait for it.
    if (fontConfiguration.joinable())
        fontConfiguration.join();
    describeApplication(app);
    // The icon is the desktop's to show, beside the title and in its list of windows: the
    // window's first frame does not need it.
    runAfterFirstFrame(app, [&app] { app.setWindowIcon(applicationIcon()); });

    Form1 form1;
    form1.Show();
    return app.exec();
}
