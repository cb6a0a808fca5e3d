// Siacci: the desktop program. It reads no command line, no environment and no settings.
#include "app/form4_window.hpp"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Siacci");
    QApplication::setApplicationVersion("1.0.0");
    siacci::Form4Window window;
    window.show();
    return app.exec();
}
