// visual-orvanic: the desktop program.

#include <QApplication>

#include "app/gui/main_window.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Visual Orvanic");
    QApplication::setApplicationVersion(ORVANIC_VERSION);
    orvanic::gui::TfrmMain window;
    window.show();
    return QApplication::exec();
}
