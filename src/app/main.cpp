// Program start: the input window, and the program ends when it closes.

#include <QApplication>

#include "app/main_window.h"
#include "ui/links.h"
#include "ui/platform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    velmora::ui::QtMessageService messages;
    velmora::ui::DesktopUrlOpener opener;
    velmora::ui::Links links(opener);

    velmora::MainWindow window(messages, links);
    QObject::connect(&window, &velmora::MainWindow::shutDownRequested, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
